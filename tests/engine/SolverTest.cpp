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

#if defined(OCTAVANE_THREADS)
#include <thread>
#endif

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
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            TBoard child = board;
            if (board.GetCell(x, y) != cellEmpty || !child.Place(x, y)) {
                continue;
            }
            best = std::max(best, -PlainValue(child, -beta, -std::max(alpha, best)));
            if (best >= beta) {
                return best;
            }
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
        TBoard child = board;
        if (board.GetCell(square % 8, square / 8) == cellEmpty &&
            child.Place(square % 8, square / 8)) {
            // A move that only equals the best cannot beat it: the window starts at the best.
            const int value = -PlainValue(child, -65, -answer.Score);
            if (value > answer.Score) {
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
        TBoard child = board;
        if (board.GetCell(square % 8, square / 8) == cellEmpty &&
            child.Place(square % 8, square / 8)) {
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

// A position's line: `head`, then `empties` empty squares, then `tail`.
TBoard BoardOfText(const std::string& line) {
    return RequestBoard(RequestOfText(line));
}

std::string Spaced(const char* head, int empties, const char* tail) {
    std::string line(head);
    line.append(static_cast<std::size_t>(empties), '-');
    line.append(tail);
    return line;
}

} // namespace

// Positions of random games from one to twelve empty squares: the score and the move, and at
// up to nine empty squares the value of every move, all as the plain search finds them. One
// solver serves them all, so what its table kept from one position must not mislead it on the
// next.
TEST(EndgameSolver, AgreesWithThePlainSearchToTheEnd) {
    TEndgameSolver solver(12);
    TRandom random(28);
    for (int empties = 1; empties <= 12; ++empties) {
        const int samples = empties <= 9 ? 16 : 4;
        for (int sample = 0; sample < samples; ++sample) {
            TBoard board;
            if (PlayoutTo(random, empties, board)) {
                ASSERT_EQ(CompareWithPlain(solver, board, empties <= 9), "");
            }
        }
    }
}

// The side to move must pass, has just been passed to, or the game is stuck with squares empty;
// then games where one side is wiped out, the empty squares going to the winner.
TEST(EndgameSolver, PassesAndWipeoutsCountAsTournamentsDo) {
    TEndgameSolver solver(12);
    TRandom random(5);
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
    EXPECT_GE(seen[0], 8);
    EXPECT_GE(seen[1], 8);
    EXPECT_GE(seen[2], 4);

    // Black takes the last white disc at c1: 3 to 0 with 61 empty squares is +64.
    const TBoard wipeout = BoardOfText(Spaced("XO", 62, " X"));
    EXPECT_EQ(CompareWithPlain(solver, wipeout, true), "");
    const TSolveResult won = solver.Solve(SidesOf(wipeout).Own, SidesOf(wipeout).Opp);
    EXPECT_EQ(won.Square, 2);
    EXPECT_EQ(won.Score, 64);
    // White to move there cannot: it passes, and loses the same way.
    const TBoard passing = BoardOfText(Spaced("XO", 62, " O"));
    const TSolveResult lost = solver.Solve(SidesOf(passing).Own, SidesOf(passing).Opp);
    EXPECT_EQ(lost.Square, kSolvePass);
    EXPECT_EQ(lost.Score, -64);
    // Two lone discs far apart: neither side can ever move, a finished draw.
    const TBoard stuck = BoardOfText(Spaced("X", 62, "O X"));
    const TSolveResult drawn = solver.Solve(SidesOf(stuck).Own, SidesOf(stuck).Opp);
    EXPECT_EQ(drawn.Square, kSolveNoMove);
    EXPECT_EQ(drawn.Score, 0);
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
    const TSides sides = SidesOf(BoardOfText(position.Line));
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

// A stop raised before the solve, or by another thread while it runs, ends it with no answer;
// the solver then answers the next position rightly, its table unharmed by the stop.
TEST(EndgameSolver, StopsWhenAskedAndStaysRight) {
    const std::vector<TSetPosition> set = ReadTestSet();
    ASSERT_EQ(set.size(), 5u) << "the test set is missing";
    // Some seconds of work when it runs to its end.
    const TSides deep = SidesOf(BoardOfText(set[3].Line));
    TEndgameSolver solver(14);
    std::atomic<bool> stop{true};
    ASSERT_FALSE(solver.Solve(deep.Own, deep.Opp, &stop).Solved);
    ASSERT_FALSE(solver.SolveMove(deep.Own, deep.Opp, set[3].BestMoves[0], &stop).Solved);
#if defined(OCTAVANE_THREADS)
    stop = false;
    std::thread raise([&stop] { stop = true; });
    const TSolveResult stopped = solver.Solve(deep.Own, deep.Opp, &stop);
    raise.join();
    EXPECT_FALSE(stopped.Solved);
#endif
    const TSides first = SidesOf(BoardOfText(set[0].Line));
    stop = false;
    const TSolveResult after = solver.Solve(first.Own, first.Opp, &stop);
    EXPECT_TRUE(after.Solved);
    EXPECT_EQ(after.Score, set[0].Score);
    EXPECT_EQ(after.Square, set[0].BestMoves[0]);
}

// The request and reply the game's workers pass on: the best move with its score, one move's
// score, and no answer once stopped.
TEST(EndgameSolver, AnswersTheExactKindsOfSearchRequest) {
    TRandom random(11);
    TBoard board;
    ASSERT_TRUE(PlayoutTo(random, 10, board) && !board.MustPass());
    const TSolveResult plain = PlainSolve(board);
    const std::atomic<bool> go{false};
    const TSearchReply best = AnswerSearch(MakeSearchRequest(board, TSearchKind::Exact, 0), go);
    EXPECT_TRUE(best.Answered && best.Move);
    EXPECT_EQ(best.Y * 8 + best.X, plain.Square);
    EXPECT_EQ(best.Score, plain.Score);

    TSearchRequest one = MakeSearchRequest(board, TSearchKind::ExactMove, 0);
    one.Square = plain.Square;
    const TSearchReply move = AnswerSearch(one, go);
    EXPECT_TRUE(move.Answered);
    EXPECT_EQ(move.Score, plain.Score);
    const std::atomic<bool> stop{true};
    EXPECT_FALSE(AnswerSearch(one, stop).Answered);
}
