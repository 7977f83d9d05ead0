#include "ComparePositions.h"
#include "engine/EndgameSolver.h"
#include "engine/PositionText.h"
#include "engine/SearchRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The straightforward search the solver is measured against: alpha-beta over the rules' own
// board, in scan order, to the end of the game. Scores are from the side to move, the empty
// squares of a game that ends early going to the winner.
int PlainFinalScore(const TBoard& board) {
    const int own = board.GetCount(board.GetTurn());
    const int opp = board.GetCount(board.GetOpponent());
    const int empties = board.GetCount(cellEmpty);
    return own > opp ? own - opp + empties : own < opp ? own - opp - empties : 0;
}

// The value of `board` within (alpha, beta); at the root `move` receives the first move in scan
// order with the best value (a later move that only equals it cannot beat the window it sets),
// kSolvePass, or kSolveNoMove for a finished game or one where neither side can move.
int PlainValue(const TBoard& board, int alpha, int beta, int* move = nullptr) {
    if (board.IsGameOver()) {
        return PlainFinalScore(board);
    }
    if (board.MustPass()) {
        TBoard passed = board;
        passed.Pass();
        if (move != nullptr) {
            *move = passed.MustPass() ? kSolveNoMove : kSolvePass;
        }
        return passed.MustPass() ? PlainFinalScore(board) : -PlainValue(passed, -beta, -alpha);
    }
    int best = -65;
    for (int square = 0; square < kFastSquareCount && best < beta; ++square) {
        if (TBoard child = board; child.Place(square % 8, square / 8)) {
            if (const int value = -PlainValue(child, -beta, -std::max(alpha, best)); value > best) {
                best = value;
                if (move != nullptr) {
                    *move = square;
                }
            }
        }
    }
    return best;
}

// The solver's and the plain search's answers, and every move's value, or a description of the
// first difference.
std::string CompareWithPlain(TEndgameSolver& solver, const TBoard& board, bool everyMove) {
    const auto [own, opp] = SidesOf(MakeSearchRequest(board, TSearchKind::Exact, 0));
    int best = kSolveNoMove;
    const int value = PlainValue(board, -65, 65, &best);
    const TSolveResult found = solver.Solve(own, opp);
    std::ostringstream text;
    if (!found.Solved || found.Square != best || found.Score != value) {
        text << "solved " << found.Square << " " << found.Score << ", plain " << best << " "
             << value;
    }
    for (int square = 0; everyMove && square < kFastSquareCount && text.str().empty(); ++square) {
        if (TBoard child = board; child.Place(square % 8, square / 8)) {
            const int plain = -PlainValue(child, -65, 65);
            const TSolveResult move = solver.SolveMove(own, opp, square);
            if (!move.Solved || move.Score != plain || move.Square != square) {
                text << "move " << SquareName(square) << ": solved " << move.Score << ", plain "
                     << plain;
            }
        }
    }
    return text.str().empty() ? "" : text.str() + "\n" + BoardText(board);
}

// One solver serves every position, so what its table kept from one must not mislead it on the
// next. (A game that ends early, its empty squares to the winner, is the solve command's test.)
TEST(EndgameSolver, AgreesWithThePlainSearchToTheEnd) {
    TEndgameSolver solver(12);
    TRandom random(28);
    for (int empties = 1; empties <= 12; ++empties) {
        for (int sample = 0; sample < (empties <= 9 ? 16 : 4); ++sample) {
            TBoard board;
            if (PlayoutTo(random, empties, board)) {
                ASSERT_EQ(CompareWithPlain(solver, board, empties <= 9), "");
            }
        }
    }
}

// One position of the public endgame test set, with its exact score and its best moves.
struct TSetPosition {
    std::string Line;
    int Score;
    std::vector<int> BestMoves;
};

std::vector<TSetPosition> ReadTestSet() {
    std::vector<TSetPosition> set;
    std::ifstream file(OCTAVANE_ENGINE_TEST_DATA "/ffo-40-44.txt");
    for (std::string line; std::getline(file, line);) {
        if (const std::size_t notes = line.find(';'); notes != 0 && notes != std::string::npos) {
            TSetPosition& position = set.emplace_back(TSetPosition{line, 0, {}});
            std::string moves;
            std::istringstream(line.substr(notes + 1)) >> position.Score >> moves;
            for (std::size_t at = 0; at + 1 < moves.size(); at += 3) {
                position.BestMoves.push_back((moves[at] - 'A') + 8 * (moves[at + 1] - '1'));
            }
        }
    }
    return set;
}

// Nodes each position of the set may take: half as many again as the solver needs, on every
// build (the count does not depend on the instruction set). A move ordering gone wrong costs
// several times more.
constexpr std::uint64_t kTestSetNodeBudgets[] = {26'000'000, 33'000'000, 41'000'000, 82'000'000,
                                                 27'000'000};

class TTestSet : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(TTestSet, StopsWhenAskedAndThenSolvesExactlyWithinTheNodeBudget) {
    const std::vector<TSetPosition> set = ReadTestSet();
    ASSERT_EQ(set.size(), 5u) << "the test set is missing";
    const TSetPosition& position = set[static_cast<std::size_t>(GetParam())];
    const auto [own, opp] = SidesOf(RequestOfText(position.Line));
    // A stop raised ends a solve with no answer and leaves the solver's table fit for the next.
    TEndgameSolver solver;
    const std::atomic<bool> stop{true};
    ASSERT_FALSE(solver.Solve(own, opp, &stop).Solved);
    ASSERT_FALSE(solver.SolveMove(own, opp, position.BestMoves[0], &stop).Solved);
    const TSolveResult found = solver.Solve(own, opp);
    ASSERT_TRUE(found.Solved);
    EXPECT_EQ(found.Score, position.Score) << position.Line;
    EXPECT_NE(std::find(position.BestMoves.begin(), position.BestMoves.end(), found.Square),
              position.BestMoves.end())
        << SquareName(found.Square) << " is not a best move of " << position.Line;
    EXPECT_LE(found.Nodes, kTestSetNodeBudgets[GetParam()]);
    RecordProperty("Nodes", std::to_string(found.Nodes));
}

INSTANTIATE_TEST_SUITE_P(EndgameSolver, TTestSet, ::testing::Range(0, 5));
