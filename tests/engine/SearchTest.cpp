#include "BoardText.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Plain minimax with no cut-off at all: the value a correct search must reach.
int FullMinimax(const TBoard& board, int depth) {
    if (depth <= 0 || board.IsGameOver()) {
        return EvaluateBoard(board);
    }
    const bool black = board.GetTurn() == cellBlack;
    int best = black ? INT_MIN : INT_MAX;
    bool moved = false;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            TBoard child = board;
            if (child.Place(x, y)) {
                moved = true;
                const int v = FullMinimax(child, depth - 1);
                best = black ? std::max(best, v) : std::min(best, v);
            }
        }
    }
    if (!moved) {
        TBoard child = board;
        child.Pass();
        return FullMinimax(child, depth); // a pass uses no depth
    }
    return best;
}

// The first move in scan order whose full-minimax value is the best one.
void FirstBestMove(const TBoard& board, int depth, int* bestX, int* bestY, int* bestValue) {
    const bool black = board.GetTurn() == cellBlack;
    *bestValue = black ? INT_MIN : INT_MAX;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            TBoard child = board;
            if (!child.Place(x, y)) {
                continue;
            }
            const int v = FullMinimax(child, depth - 1);
            if (black ? v > *bestValue : v < *bestValue) {
                *bestValue = v;
                *bestX = x;
                *bestY = y;
            }
        }
    }
}

// Positions from a pseudo-random game, every `every` moves, while the side to move can move.
std::vector<TBoard> SamplePositions(uint32_t seed, int every) {
    std::vector<TBoard> positions;
    TBoard board;
    int ply = 0;
    while (!board.IsGameOver()) {
        std::vector<std::pair<int, int>> moves;
        for (int y = 0; y < kBoardSize; ++y) {
            for (int x = 0; x < kBoardSize; ++x) {
                if (board.CanPlace(x, y)) {
                    moves.emplace_back(x, y);
                }
            }
        }
        if (moves.empty()) {
            board.Pass();
            continue;
        }
        if (ply++ % every == 0) {
            positions.push_back(board);
        }
        seed = seed * 1664525u + 1013904223u;
        const auto [x, y] = moves[(seed >> 8) % moves.size()];
        board.Place(x, y);
    }
    return positions;
}

} // namespace

// --- The opening ----------------------------------------------------------------------------

TEST(SearchOpening, EveryDepthChoosesTheFirstOfTheFourEqualMoves) {
    const TBoard start;
    for (int depth = 1; depth <= 9; ++depth) {
        const TPhase root = SearchRoot(start, depth);
        EXPECT_EQ(root.x, 3) << "depth " << depth;
        EXPECT_EQ(root.y, 2) << "depth " << depth;
    }
    EXPECT_EQ(SearchRoot(start, 1).value, 20);
}

TEST(SearchOpening, LeavesTheCallersBoardAlone) {
    const TBoard start;
    TBoard board = start;
    TPhase root(phaseRoot, phaseRoot);
    root.Search(board, 0, 4);
    EXPECT_TRUE(SameBoard(board, start));
}

// --- Agreement with plain minimax -----------------------------------------------------------

TEST(SearchMinimax, CutOffsNeverChangeTheValueOrTheChoice) {
    for (const TBoard& board : SamplePositions(31337, 5)) {
        for (int depth = 1; depth <= 4; ++depth) {
            int x = -9;
            int y = -9;
            int value = 0;
            FirstBestMove(board, depth, &x, &y, &value);
            const TPhase root = SearchRoot(board, depth);
            ASSERT_EQ(root.value, value) << RowsOf(board) << "depth " << depth;
            ASSERT_EQ(root.x, x) << RowsOf(board) << "depth " << depth;
            ASSERT_EQ(root.y, y) << RowsOf(board) << "depth " << depth;
        }
    }
}

TEST(SearchMinimax, EqualValuesKeepTheEarliestMoveInScanOrder) {
    // A mirror-symmetric position: Black's four moves on row 2 come in mirror pairs that score
    // alike, so the choice must be the left one of its pair.
    const TBoard board = BoardFromRows({"........", "........", "........", "...OO...", "...XX...",
                                        "........", "........", "........"});
    for (int depth = 1; depth <= 5; ++depth) {
        const TPhase root = SearchRoot(board, depth);
        EXPECT_EQ(root.y, 2) << "depth " << depth;
        EXPECT_LT(root.x, 4) << "depth " << depth;
        TBoard mirrored = board;
        ASSERT_TRUE(mirrored.Place(7 - root.x, root.y));
        EXPECT_EQ(FullMinimax(mirrored, depth - 1), root.value);
    }
}

TEST(SearchMinimax, AWhiteRootMinimises) {
    TBoard board;
    ASSERT_TRUE(board.Place(3, 2));
    int x = -9;
    int y = -9;
    int value = 0;
    FirstBestMove(board, 3, &x, &y, &value);
    const TPhase root = SearchRoot(board, 3);
    EXPECT_EQ(root.value, value);
    EXPECT_EQ(root.x, x);
    EXPECT_EQ(root.y, y);
    // White's best is never worse for White than any single reply at this depth.
    for (int cy = 0; cy < kBoardSize; ++cy) {
        for (int cx = 0; cx < kBoardSize; ++cx) {
            TBoard child = board;
            if (child.Place(cx, cy)) {
                EXPECT_LE(root.value, FullMinimax(child, 2));
            }
        }
    }
}

// --- Passes ---------------------------------------------------------------------------------

TEST(SearchPass, ASideWithoutMovesGetsOnePassThatUsesNoDepth) {
    // White cannot take a corner disc, its only target; Black has three moves after the pass.
    const TBoard board = BoardFromRows({"XOO.....", "OO......", "........", "........", "........",
                                        "........", "........", "........"},
                                       cellWhite);
    ASSERT_TRUE(board.MustPass());
    ASSERT_FALSE(board.IsGameOver());
    TBoard passed = board;
    ASSERT_TRUE(passed.Pass());
    for (int depth = 1; depth <= 3; ++depth) {
        TPhase root(phaseRoot, phaseRoot);
        root.Search(board, 0, depth);
        EXPECT_EQ(root.x, phasePass);
        EXPECT_EQ(root.y, phasePass);
        EXPECT_EQ(root.value, SearchRoot(passed, depth).value) << "depth " << depth;
        EXPECT_EQ(root.value, FullMinimax(board, depth)) << "depth " << depth;
    }
}

TEST(SearchPass, NeitherSideMovingIsScoredAsAFinishedGame) {
    const TBoard board = BoardFromRows({"XX......", "........", "........", "........", "........",
                                        "........", "........", ".......O"});
    ASSERT_TRUE(board.MustPass());
    // Unfinished, the position would score 128 + 128 - 128; finished it is one disc ahead.
    ASSERT_EQ(EvaluateBoard(board), 128);
    TPhase root(phaseRoot, phaseRoot);
    EXPECT_EQ(root.Search(board, 0, 1), 100);
    EXPECT_EQ(root.value, 100);
}

TEST(SearchPass, AnIllegalMoveAnswersTheWorstValueForItsMover) {
    TPhase blackTries(0, 0);
    EXPECT_EQ(blackTries.Search(TBoard(), 0, 3), INT_MIN);
    EXPECT_EQ(blackTries.value, 0); // nothing stored
    TBoard whiteToMove;
    ASSERT_TRUE(whiteToMove.Place(3, 2));
    TPhase whiteTries(7, 7);
    EXPECT_EQ(whiteTries.Search(whiteToMove, 0, 3), INT_MAX);
}

// --- The endgame ----------------------------------------------------------------------------

TEST(SearchEndgame, DepthAtLeastTheEmptySquaresGivesTheExactFinalDifference) {
    // Late positions from a random game, searched to the end: the value is 100 times the
    // final disc difference under best play, whatever extra depth is given.
    int checked = 0;
    for (const TBoard& board : SamplePositions(4242, 1)) {
        const int empties = board.GetCount(cellEmpty);
        if (empties > 7) {
            continue;
        }
        const int exact = FullMinimax(board, 64);
        EXPECT_EQ(exact % 100, 0);
        EXPECT_EQ(SearchRoot(board, empties).value, exact) << RowsOf(board);
        EXPECT_EQ(SearchRoot(board, empties + 2).value, exact) << RowsOf(board);
        ++checked;
    }
    EXPECT_GE(checked, 5);
}
