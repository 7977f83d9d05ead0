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
#include <tuple>
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

TSides SidesOf(const TBoard& board) {
    const TFastPosition position = ToFastPosition(board);
    return position.BlackToMove ? TSides{position.Black, position.White}
                                : TSides{position.White, position.Black};
}

// A position's line as `octavane --solve` reads it.
TSides SidesOf(const std::string& line) {
    const TSearchRequest request = RequestOfText(line);
    return request.BlackToMove ? TSides{request.Black, request.White}
                               : TSides{request.White, request.Black};
}

// The solver's and the plain search's answers, and every move's value, or a description of the
// first difference.
std::string CompareWithPlain(TEndgameSolver& solver, const TBoard& board, bool everyMove) {
    const TSides sides = SidesOf(board);
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

// Positions of random games from one to twelve empty squares, at up to nine with the value of
// every move; then positions where the side to move must pass, has just been passed to, or the
// game is stuck or wiped out with squares empty (those go to the winner). One solver serves
// them all, so what its table kept from one position must not mislead it on the next.
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
    int seen[3] = {0, 0, 0};
    for (int game = 0; game < 4000 && (seen[0] < 8 || seen[1] < 8 || seen[2] < 4); ++game) {
        for (const TBoard& board : RandomGame(random)) {
            const int spot = board.IsGameOver()  ? 2
                             : board.MustPass()  ? 0
                             : board.passes == 1 ? 1
                                                 : -1;
            if (spot >= 0 && board.GetCount(cellEmpty) > 0 && board.GetCount(cellEmpty) <= 11) {
                ++seen[spot];
                ASSERT_EQ(CompareWithPlain(solver, board, true), "") << "spot " << spot;
            }
        }
    }
    EXPECT_TRUE(seen[0] >= 8 && seen[1] >= 8 && seen[2] >= 4);
    // Black takes the last white disc on c1, 3 to 0 with 61 empty: +64; White to move there
    // passes and loses the same way; two lone discs far apart: a finished draw.
    const std::tuple<const char*, const char*, int, int> ends[] = {
        {"XO", " X", 2, 64}, {"XO", " O", kSolvePass, -64}, {"X", "O X", kSolveNoMove, 0}};
    for (const auto& [head, tail, square, score] : ends) {
        const std::string line = head + std::string(62, '-') + tail;
        const TSides sides = SidesOf(line);
        const TSolveResult found = solver.Solve(sides.Own, sides.Opp);
        EXPECT_EQ(std::pair(found.Square, found.Score), std::pair(square, score)) << line;
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
        const std::size_t comment = line.find(';');
        if (comment == 0 || comment == std::string::npos) {
            continue;
        }
        std::istringstream notes(line.substr(comment + 1));
        TSetPosition position{line, 0, {}};
        std::string moves;
        notes >> position.Score >> moves;
        for (std::size_t at = 0; at + 1 < moves.size(); at += 3) {
            position.BestMoves.push_back((moves[at] - 'A') + 8 * (moves[at + 1] - '1'));
        }
        set.push_back(position);
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
    const TSides sides = SidesOf(position.Line);
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
    const TSides deep = SidesOf(set[3].Line);
    TEndgameSolver solver(14);
    std::atomic<bool> stop{true};
    ASSERT_FALSE(solver.Solve(deep.Own, deep.Opp, &stop).Solved);
    ASSERT_FALSE(solver.SolveMove(deep.Own, deep.Opp, set[3].BestMoves[0], &stop).Solved);
    const TSides first = SidesOf(set[0].Line);
    stop = false;
    const TSolveResult after = solver.Solve(first.Own, first.Opp, &stop);
    EXPECT_TRUE(after.Solved);
    EXPECT_EQ(after.Score, set[0].Score);
    EXPECT_EQ(after.Square, set[0].BestMoves[0]);
}
