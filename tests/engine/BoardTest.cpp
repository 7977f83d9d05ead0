#include "BoardText.h"
#include "engine/Reversiutil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> LegalMoves(const TBoard& board) {
    std::vector<std::pair<int, int>> moves;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            if (board.CanPlace(x, y)) {
                moves.emplace_back(x, y);
            }
        }
    }
    return moves;
}

int Tally(const TBoard& board, int value) {
    int n = 0;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            n += board.cells[y][x] == value;
        }
    }
    return n;
}

} // namespace

// --- The starting position ------------------------------------------------------------------

TEST(BoardStart, HoldsTheFourCentreDiscsWithBlackToMove) {
    const TBoard board;
    EXPECT_EQ(RowsOf(board), "........\n"
                             "........\n"
                             "........\n"
                             "...OX...\n"
                             "...XO...\n"
                             "........\n"
                             "........\n"
                             "........\n");
    EXPECT_EQ(board.GetTurn(), cellBlack);
    EXPECT_EQ(board.GetOpponent(), cellWhite);
    EXPECT_EQ(board.GetCount(cellEmpty), 60);
    EXPECT_EQ(board.GetCount(cellBlack), 2);
    EXPECT_EQ(board.GetCount(cellWhite), 2);
    EXPECT_EQ(board.passes, 0);
    EXPECT_FALSE(board.IsGameOver());
}

TEST(BoardStart, BlackHasExactlyTheFourOpeningMoves) {
    const TBoard board;
    const std::vector<std::pair<int, int>> expected{{3, 2}, {2, 3}, {5, 4}, {4, 5}};
    EXPECT_EQ(LegalMoves(board), expected);
    EXPECT_FALSE(board.MustPass());
}

TEST(BoardStart, IsAFlatValueTypeThatCopiesInOnePiece) {
    static_assert(std::is_trivially_copyable_v<TBoard>);
    static_assert(std::is_standard_layout_v<TBoard>);
    static_assert(sizeof(TBoard) == (64 + 1 + 3 + 1) * sizeof(std::int32_t));
    const TBoard original;
    TBoard copy = original;
    ASSERT_TRUE(copy.Place(3, 2));
    EXPECT_TRUE(SameBoard(original, TBoard()));
    EXPECT_FALSE(SameBoard(original, copy));
}

// --- Reading cells --------------------------------------------------------------------------

TEST(BoardCells, OffBoardReadsAnswerOutside) {
    const TBoard board;
    EXPECT_EQ(board.GetCell(-1, 0), cellOutside);
    EXPECT_EQ(board.GetCell(8, 3), cellOutside);
    EXPECT_EQ(board.GetCell(0, 8), cellOutside);
    EXPECT_EQ(board.GetCell(3, -1), cellOutside);
    EXPECT_EQ(board.GetCell(0, 0), cellEmpty);
    EXPECT_EQ(board.GetCell(7, 7), cellEmpty);
    EXPECT_EQ(board.GetCell(4, 3), cellBlack);
    EXPECT_EQ(board.GetCell(3, 3), cellWhite);
}

TEST(BoardCells, SetCellMovesOneSquareBetweenCounters) {
    TBoard board;
    board.SetCell(0, 0, cellWhite);
    EXPECT_EQ(board.GetCount(cellEmpty), 59);
    EXPECT_EQ(board.GetCount(cellWhite), 3);
    board.SetCell(0, 0, cellBlack);
    EXPECT_EQ(board.GetCount(cellWhite), 2);
    EXPECT_EQ(board.GetCount(cellBlack), 3);
    board.SetCell(0, 0, cellEmpty);
    EXPECT_TRUE(SameBoard(board, TBoard()));
}

// --- Moves and flips ------------------------------------------------------------------------

TEST(BoardPlace, FirstMoveTurnsOneDiscAndHandsOverTheTurn) {
    TBoard board;
    ASSERT_TRUE(board.Place(3, 2));
    EXPECT_EQ(board.GetCell(3, 2), cellBlack);
    EXPECT_EQ(board.GetCell(3, 3), cellBlack);
    EXPECT_EQ(board.GetCount(cellEmpty), 59);
    EXPECT_EQ(board.GetCount(cellBlack), 4);
    EXPECT_EQ(board.GetCount(cellWhite), 1);
    EXPECT_EQ(board.GetTurn(), cellWhite);
    EXPECT_EQ(board.passes, 0);
}

TEST(BoardPlace, IllegalMovesChangeNothingTurnIncluded) {
    const TBoard start;
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {3, 3}, {4, 3}, {-1, 0}, {8, 3}, {0, 8}, {0, 0}, {2, 2}, {5, 5}, {3, 5}}) {
        TBoard board = start;
        EXPECT_FALSE(board.Place(x, y)) << x << "," << y;
        EXPECT_TRUE(SameBoard(board, start)) << x << "," << y;
    }
}

TEST(BoardPlace, ClosesEveryDirectionAtOnce) {
    // Black at (3, 3) closes runs to the north-west, north, east, south and south-west.
    TBoard board = BoardFromRows({"X..X....", ".O.O....", "..OO....", "...OOOX.", "..OO....",
                                  ".X.O....", "...X....", "........"});
    board.SetCell(3, 3, cellEmpty);
    ASSERT_TRUE(board.CanPlace(3, 3));
    ASSERT_TRUE(board.Place(3, 3));
    EXPECT_EQ(RowsOf(board), "X..X....\n"
                             ".X.X....\n"
                             "..XX....\n"
                             "...XXXX.\n"
                             "..XX....\n"
                             ".X.X....\n"
                             "...X....\n"
                             "........\n");
    EXPECT_EQ(board.GetCount(cellWhite), 0);
    EXPECT_EQ(board.GetCount(cellBlack), 15);
    EXPECT_EQ(board.GetCount(cellEmpty), 49);
}

TEST(BoardPlace, RunsEndedByTheEdgeOrAnEmptySquareFlipNothing) {
    // From (3, 0) the run west reaches the edge; the run east stops at an empty square.
    TBoard board = BoardFromRows({"OOO.OO.X", "........", "........", "........", "........",
                                  "........", "........", "........"});
    const TBoard before = board;
    EXPECT_FALSE(board.CanPlace(3, 0));
    EXPECT_FALSE(board.Place(3, 0));
    EXPECT_TRUE(SameBoard(board, before));
}

TEST(BoardPlace, OnlyClosedRunsTurnWhenOthersStayOpen) {
    // White at (3, 3): the run west is closed by (0, 3), the run east runs into the edge,
    // the run south stops at an empty square.
    TBoard board = BoardFromRows({"........", "........", "........", "OXX.XXXX", "...X....",
                                  "...X....", "........", "........"},
                                 cellWhite);
    ASSERT_TRUE(board.Place(3, 3));
    EXPECT_EQ(RowsOf(board), "........\n"
                             "........\n"
                             "........\n"
                             "OOOOXXXX\n"
                             "...X....\n"
                             "...X....\n"
                             "........\n"
                             "........\n");
    EXPECT_EQ(board.GetTurn(), cellBlack);
}

TEST(BoardPlace, AdjacentOwnDiscClosesNothing) {
    // A disc of the mover right next to the square is not a run.
    TBoard board = BoardFromRows({"XX......", "........", "........", "...OX...", "...XO...",
                                  "........", "........", "........"});
    board.SetCell(0, 0, cellEmpty);
    EXPECT_FALSE(board.CanPlace(0, 0));
}

TEST(BoardPlace, CanPlaceAgreesWithPlaceThroughAWholeGame) {
    TBoard board;
    uint32_t seed = 12345;
    while (!board.IsGameOver()) {
        for (int y = -1; y <= kBoardSize; ++y) {
            for (int x = -1; x <= kBoardSize; ++x) {
                TBoard trial = board;
                ASSERT_EQ(trial.Place(x, y), board.CanPlace(x, y)) << x << "," << y;
            }
        }
        const auto moves = LegalMoves(board);
        if (moves.empty()) {
            ASSERT_TRUE(board.Pass());
            continue;
        }
        seed = seed * 1103515245u + 12345u;
        const auto [x, y] = moves[(seed >> 16) % moves.size()];
        const int mover = board.GetTurn();
        const int before = board.GetCount(mover);
        ASSERT_TRUE(board.Place(x, y));
        EXPECT_GE(board.GetCount(mover), before + 2); // the new disc and at least one turned
        EXPECT_EQ(board.GetCount(cellEmpty), Tally(board, cellEmpty));
        EXPECT_EQ(board.GetCount(cellBlack), Tally(board, cellBlack));
        EXPECT_EQ(board.GetCount(cellWhite), Tally(board, cellWhite));
    }
}

// --- Passes and the end of the game ---------------------------------------------------------

TEST(BoardPass, RefusedWhileAMoveExists) {
    TBoard board;
    EXPECT_FALSE(board.Pass());
    EXPECT_TRUE(SameBoard(board, TBoard()));
}

TEST(BoardPass, HandsOverWhenNoMoveExistsAndAMoveResetsTheCount) {
    // Black has no move; White can then close (0, 1) by playing (0, 2).
    TBoard board = BoardFromRows({"O.......", "X.......", "........", "........", "........",
                                  "........", "........", ".......O"});
    ASSERT_TRUE(board.MustPass());
    ASSERT_TRUE(board.Pass());
    EXPECT_EQ(board.GetTurn(), cellWhite);
    EXPECT_EQ(board.passes, 1);
    EXPECT_FALSE(board.IsGameOver());
    EXPECT_FALSE(board.MustPass());
    ASSERT_TRUE(board.Place(0, 2));
    EXPECT_EQ(board.passes, 0);
    EXPECT_EQ(board.GetTurn(), cellBlack);
}

TEST(BoardPass, TwoPassesInARowEndTheGame) {
    // Neither side can move, yet squares remain and both colours have discs.
    TBoard board = BoardFromRows({"X.......", "........", "........", "........", "........",
                                  "........", "........", ".......O"});
    ASSERT_TRUE(board.Pass());
    EXPECT_FALSE(board.IsGameOver());
    ASSERT_TRUE(board.Pass());
    EXPECT_EQ(board.passes, 2);
    EXPECT_TRUE(board.IsGameOver());
    EXPECT_EQ(board.GetTurn(), cellBlack);
}

TEST(BoardGameOver, OneColourWithoutDiscsEndsTheGameWithSquaresLeft) {
    TBoard board;
    board.SetCell(3, 3, cellBlack);
    board.SetCell(4, 4, cellBlack);
    EXPECT_EQ(board.GetCount(cellWhite), 0);
    EXPECT_EQ(board.GetCount(cellEmpty), 60);
    EXPECT_TRUE(board.IsGameOver());
    EXPECT_TRUE(board.MustPass());
}

TEST(BoardGameOver, AFullBoardIsOver) {
    TBoard board;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            board.SetCell(x, y, (x + y) % 2 ? cellBlack : cellWhite);
        }
    }
    EXPECT_EQ(board.GetCount(cellEmpty), 0);
    EXPECT_TRUE(board.IsGameOver());
    EXPECT_TRUE(board.MustPass());
}

TEST(BoardGameOver, OneSquareShortOfFullIsNotOver) {
    TBoard board;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            board.SetCell(x, y, (x + y) % 2 ? cellBlack : cellWhite);
        }
    }
    board.SetCell(7, 7, cellEmpty);
    EXPECT_FALSE(board.IsGameOver());
}
