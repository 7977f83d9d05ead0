#include "ComparePositions.h"
#include "engine/EndgameSolver.h"
#include "engine/FastBridge.h"
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

int PlainValue(const TBoard& board, int alpha, int beta) {
    if (board.IsGameOver()) {
        return PlainFinalScore(board);
    }
    if (board.MustPass()) {
        TBoard passed = board;
        passed.Pass();
        return -PlainValue(passed, -beta, -alpha);
    }
    int best = -65;
    for (int square = 0; square < kFastSquareCount && best < beta; ++square) {
        if (TBoard child = board; child.Place(square % 8, square / 8)) {
            best = std::max(best, -PlainValue(child, -beta, -std::max(alpha, best)));
        }
    }
    return best;
}

// The plain search's answer at the root: the first move in scan order with the best value.
TSolveResult PlainSolve(const TBoard& board) {
    TSolveResult answer{true, kSolveNoMove, PlainFinalScore(board), 0};
    if (board.IsGameOver()) {
        return answer;
    }
    if (board.MustPass()) {
        TBoard passed = board;
        passed.Pass();
        // Neither side can move: the game is over, whatever the passes made so far.
        return passed.MustPass() ? answer
                                 : TSolveResult{true, kSolvePass, -PlainValue(passed, -65, 65), 0};
    }
    answer.Score = -65;
    for (int square = 0; square < kFastSquareCount; ++square) {
        // A move that only equals the best cannot beat it: the window starts at the best.
        if (TBoard child = board; child.Place(square % 8, square / 8)) {
            if (const int value = -PlainValue(child, -65, -answer.Score); value > answer.Score) {
                answer = {true, square, value, 0};
            }
        }
    }
    return answer;
}

struct TSides {
    TBitboard Own;
    TBitboard Opp;
};

TSides SidesOf(const TSearchRequest& request) {
    return request.BlackToMove ? TSides{request.Black, request.White}
                               : TSides{request.White, request.Black};
}

// The solver's and the plain search's answers, and every move's value, or a description of the
// first difference.
std::string CompareWithPlain(TEndgameSolver& solver, const TBoard& board, bool everyMove) {
    const TSides sides = SidesOf(MakeSearchRequest(board, TSearchKind::Exact, 0));
    const TSolveResult expected = PlainSolve(board);
    const TSolveResult found = solver.Solve(sides.Own, sides.Opp);
    std::ostringstream text;
    if (!found.Solved || found.Square != expected.Square || found.Score != expected.Score) {
        text << "solved " << found.Square << " " << found.Score << ", plain " << expected.Square
             << " " << expected.Score;
    }
    for (int square = 0; everyMove && square < kFastSquareCount && text.str().empty(); ++square) {
        if (TBoard child = board; child.Place(square % 8, square / 8)) {
            const int plain = -PlainValue(child, -65, 65);
            const TSolveResult move = solver.SolveMove(sides.Own, sides.Opp, square);
            if (!move.Solved || move.Score != plain || move.Square != square) {
                text << "move " << SquareName(square) << ": solved " << move.Score << ", plain "
                     << plain;
            }
        }
    }
    return text.str().empty() ? "" : text.str() + "\n" + BoardText(board);
}

} // namespace

// Positions of random games from one to twelve empty squares: the score and the move, and at up
// to nine empty squares the value of every move. One solver serves them all, so what its table
// kept from one position must not mislead it on the next. (A game that ends early, its empty
// squares to the winner, is the solve command's test.)
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

namespace {

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
constexpr std::uint64_t kTestSetNodeBudgets[] = {26'000'000, 88'000'000, 75'000'000, 195'000'000,
                                                 101'000'000};

class TTestSet : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(TTestSet, SolvedExactlyWithinTheNodeBudget) {
    const std::vector<TSetPosition> set = ReadTestSet();
    ASSERT_EQ(set.size(), 5u) << "the test set is missing";
    const TSetPosition& position = set[static_cast<std::size_t>(GetParam())];
    const TSides sides = SidesOf(RequestOfText(position.Line));
    TEndgameSolver solver;
    const TSolveResult found = solver.Solve(sides.Own, sides.Opp);
    ASSERT_TRUE(found.Solved);
    EXPECT_EQ(found.Score, position.Score) << position.Line;
    EXPECT_NE(std::find(position.BestMoves.begin(), position.BestMoves.end(), found.Square),
              position.BestMoves.end())
        << SquareName(found.Square) << " is not a best move of " << position.Line;
    EXPECT_LE(found.Nodes, kTestSetNodeBudgets[GetParam()]);
    RecordProperty("Nodes", std::to_string(found.Nodes));
}

INSTANTIATE_TEST_SUITE_P(EndgameSolver, TTestSet, ::testing::Range(0, 5));

// A stop raised ends a solve with no answer; the solver then answers the next position rightly,
// its table unharmed by the stop.
TEST(EndgameSolver, StopsWhenAskedAndStaysRight) {
    const std::vector<TSetPosition> set = ReadTestSet();
    ASSERT_EQ(set.size(), 5u) << "the test set is missing";
    // Some seconds of work when it runs to its end.
    const TSides deep = SidesOf(RequestOfText(set[3].Line));
    TEndgameSolver solver(14);
    std::atomic<bool> stop{true};
    ASSERT_FALSE(solver.Solve(deep.Own, deep.Opp, &stop).Solved);
    ASSERT_FALSE(solver.SolveMove(deep.Own, deep.Opp, set[3].BestMoves[0], &stop).Solved);
    const TSides first = SidesOf(RequestOfText(set[0].Line));
    stop = false;
    const TSolveResult after = solver.Solve(first.Own, first.Opp, &stop);
    EXPECT_TRUE(after.Solved);
    EXPECT_EQ(after.Score, set[0].Score);
    EXPECT_EQ(after.Square, set[0].BestMoves[0]);
}
