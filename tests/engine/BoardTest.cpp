#include "ComparePositions.h"

#include <gtest/gtest.h>

// {position, side to move, square, position after it or nullptr for a refused move}
struct TPlaceCase {
    const char* before;
    int turn;
    int x, y;
    const char* after;
};

TEST(BoardPlace, TurnsExactlyTheClosedRunsAndRefusesTheRest) {
    const char* const start = "......../......../......../...OX.../...XO...";
    const TPlaceCase cases[] = {
        {start, cellBlack, 3, 2, "......../......../...X..../...XX.../...XO..."},
        {start, cellWhite, 4, 2, "......../......../....O.../...OO.../...XO..."},
        // Every direction closes at once: north-west, north, east, south and south-west.
        {"X..X..../.O.O..../..OO..../....OOX./..OO..../.X.O..../...X....", cellBlack, 3, 3,
         "X..X..../.X.X..../..XX..../...XXXX./..XX..../.X.X..../...X...."},
        // West closed by (0, 3); east runs into the edge; south stops at an empty square.
        {"......../......../......../OXX.XXXX/...X..../...X....", cellWhite, 3, 3,
         "......../......../......../OOOOXXXX/...X..../...X...."},
        // A run to the edge, a run to an empty square, an own disc right next to the square.
        {"OOO.OO.X", cellBlack, 3, 0, nullptr},
        {".X....../......../......../...OX.../...XO...", cellBlack, 0, 0, nullptr},
        {start, cellBlack, 3, 3, nullptr},
        {start, cellBlack, 2, 2, nullptr},
        {start, cellBlack, -1, 0, nullptr},
        {start, cellBlack, 8, 3, nullptr},
        {start, cellBlack, 0, 8, nullptr},
    };
    for (const TPlaceCase& c : cases) {
        const TBoard before = BoardFromRows(c.before, c.turn);
        SCOPED_TRACE(BoardText(before) + "move " + std::to_string(c.x) + "," + std::to_string(c.y));
        TBoard board = before;
        EXPECT_EQ(board.CanPlace(c.x, c.y), c.after != nullptr);
        ASSERT_EQ(board.Place(c.x, c.y), c.after != nullptr);
        TBoard expected =
            c.after ? BoardFromRows(c.after, c.turn == cellBlack ? cellWhite : cellBlack) : before;
        EXPECT_EQ(BoardText(board), BoardText(expected));
    }
}

TEST(BoardPass, OnlyASideWithoutMovesPassesAndTwoPassesEndTheGame) {
    TBoard start;
    EXPECT_FALSE(start.Pass());
    // Black has no move; White then closes (0, 1) by playing (0, 2), which resets the count.
    TBoard board =
        BoardFromRows("O......./X......./......../......../......../......../......../.......O");
    ASSERT_TRUE(board.Pass());
    EXPECT_EQ(board.GetTurn(), cellWhite);
    EXPECT_EQ(board.passes, 1);
    ASSERT_TRUE(board.Place(0, 2));
    EXPECT_EQ(board.passes, 0);
    EXPECT_EQ(board.GetTurn(), cellBlack);
    // Neither side can move, yet squares remain and both colours have discs.
    TBoard stuck =
        BoardFromRows("X......./......../......../......../......../......../......../.......O");
    ASSERT_TRUE(stuck.Pass());
    EXPECT_FALSE(stuck.IsGameOver());
    ASSERT_TRUE(stuck.Pass());
    EXPECT_TRUE(stuck.IsGameOver());
    // One square short of full is not over; full, or a colour without discs, is.
    TBoard full =
        BoardFromRows("XOXOXOXO/OXOXOXOX/XOXOXOXO/OXOXOXOX/XOXOXOXO/OXOXOXOX/XOXOXOXO/OXOXOXO.");
    EXPECT_FALSE(full.IsGameOver());
    full.SetCell(7, 7, cellBlack);
    EXPECT_TRUE(full.IsGameOver());
    EXPECT_TRUE(BoardFromRows("XX").IsGameOver());
}
