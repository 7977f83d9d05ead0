#include "BoardText.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The depth table as the level screen's designer wrote it: one row per level, one column per
// band of empty squares (>= 18, 16..17, 14..15, 12..13, 10..11, 8..9, <= 7).
constexpr int depthTable[9][7] = {
    {1, 1, 1, 1, 1, 1, 3},    {3, 3, 3, 3, 3, 5, 5},     {5, 5, 5, 5, 5, 7, 7},
    {5, 5, 5, 5, 5, 9, 9},    {5, 5, 5, 7, 7, 9, 9},     {5, 5, 7, 7, 9, 9, 9},
    {7, 7, 9, 9, 11, 11, 11}, {7, 9, 9, 11, 11, 11, 11}, {9, 11, 11, 13, 13, 13, 13},
};

// The position of a pseudo-random game once `empties` squares are left (or its end).
TBoard RandomGamePosition(uint32_t seed, int empties) {
    TBoard board;
    while (!board.IsGameOver() && board.GetCount(cellEmpty) > empties) {
        PlayRandomMove(board, seed);
    }
    return board;
}

int Band(int empties) {
    if (empties >= 18) {
        return 0;
    }
    if (empties <= 7) {
        return 6;
    }
    return 1 + (17 - empties) / 2;
}

} // namespace

// --- Levels ---------------------------------------------------------------------------------

TEST(SageLevel, StartsAtHardAndRefusesLevelsOutsideOneToNine) {
    TSage sage;
    EXPECT_EQ(sage.GetLevel(), 5);
    EXPECT_FALSE(sage.SetLevel(0));
    EXPECT_EQ(sage.GetLevel(), 5);
    EXPECT_FALSE(sage.SetLevel(10));
    EXPECT_FALSE(sage.SetLevel(-3));
    EXPECT_EQ(sage.GetLevel(), 5);
    EXPECT_TRUE(sage.SetLevel(9));
    EXPECT_EQ(sage.GetLevel(), 9);
    EXPECT_TRUE(sage.SetLevel(1));
    EXPECT_EQ(sage.GetLevel(), 1);
    EXPECT_FALSE(sage.SetLevel(10));
    EXPECT_EQ(sage.GetLevel(), 1);
}

TEST(SageLevel, NamesRunFromPoorToExtremePlus) {
    EXPECT_STREQ(LevelName(1), "Poor");
    EXPECT_STREQ(LevelName(2), "Very Easy");
    EXPECT_STREQ(LevelName(3), "Easy");
    EXPECT_STREQ(LevelName(4), "Normal");
    EXPECT_STREQ(LevelName(5), "Hard");
    EXPECT_STREQ(LevelName(6), "Very Hard");
    EXPECT_STREQ(LevelName(7), "Expert");
    EXPECT_STREQ(LevelName(8), "Extreme");
    EXPECT_STREQ(LevelName(9), "Extreme+");
    EXPECT_EQ(LevelName(0), nullptr);
    EXPECT_EQ(LevelName(10), nullptr);
}

// --- Depth table ----------------------------------------------------------------------------

TEST(SageDepth, MatchesTheTableForEveryLevelAndEveryCountOfEmptySquares) {
    for (int level = 1; level <= 9; ++level) {
        for (int empties = 0; empties <= 64; ++empties) {
            EXPECT_EQ(ChooseDepth(level, empties), depthTable[level - 1][Band(empties)])
                << "level " << level << ", " << empties << " empty";
        }
    }
}

TEST(SageDepth, ChangesExactlyAtEachBoundary) {
    // {level, last count of empty squares with the shallower depth, shallower, deeper}
    const int boundaries[][4] = {
        {1, 8, 1, 3},  {2, 10, 3, 5},  {3, 10, 5, 7},  {4, 10, 5, 9},   {5, 14, 5, 7},
        {5, 10, 7, 9}, {6, 16, 5, 7},  {6, 12, 7, 9},  {7, 16, 7, 9},   {7, 12, 9, 11},
        {8, 18, 7, 9}, {8, 14, 9, 11}, {9, 18, 9, 11}, {9, 14, 11, 13},
    };
    for (const auto& b : boundaries) {
        EXPECT_EQ(ChooseDepth(b[0], b[1]), b[2]) << "level " << b[0] << " at " << b[1];
        EXPECT_EQ(ChooseDepth(b[0], b[1] - 1), b[3]) << "level " << b[0] << " at " << b[1] - 1;
    }
}

TEST(SageDepth, IsAlwaysOddAndReachesTheEndFromTheLevelsSolvingPoint) {
    const int solvedFrom[9] = {3, 5, 7, 9, 9, 9, 11, 11, 13};
    for (int level = 1; level <= 9; ++level) {
        for (int empties = 0; empties <= 60; ++empties) {
            EXPECT_EQ(ChooseDepth(level, empties) % 2, 1);
        }
        const int e = solvedFrom[level - 1];
        EXPECT_GE(ChooseDepth(level, e), e) << "level " << level;
        EXPECT_LT(ChooseDepth(level, e + 1), e + 1) << "level " << level;
    }
}

TEST(SageDepth, OutOfRangeLevelsSearchFiveDeep) {
    for (const int level : {0, 10, -1, 100}) {
        EXPECT_EQ(ChooseDepth(level, 60), 5);
        EXPECT_EQ(ChooseDepth(level, 5), 5);
    }
}

// --- Thinking -------------------------------------------------------------------------------

TEST(SageThink, EveryLevelOpensOnTheFirstOfTheFourMoves) {
    for (int level = 1; level <= 9; ++level) {
        TSage sage;
        ASSERT_TRUE(sage.SetLevel(level));
        int x = -9;
        int y = -9;
        ASSERT_TRUE(sage.Think(TBoard(), &x, &y)) << "level " << level;
        EXPECT_EQ(x, 3) << "level " << level;
        EXPECT_EQ(y, 2) << "level " << level;
    }
}

TEST(SageThink, APassLeavesTheAnswerAlone) {
    const TBoard mustPass = BoardFromRows({"XOO.....", "OO......", "........", "........",
                                           "........", "........", "........", "........"},
                                          cellWhite);
    const TBoard over = BoardFromRows({"X.......", "........", "........", "........", "........",
                                       "........", "........", "XXX....."});
    ASSERT_TRUE(over.IsGameOver());
    TSage sage;
    for (const TBoard& board : {mustPass, over}) {
        int x = 41;
        int y = 42;
        EXPECT_FALSE(sage.Think(board, &x, &y));
        EXPECT_EQ(x, 41);
        EXPECT_EQ(y, 42);
    }
}

TEST(SageThink, SearchesAsDeepAsTheTableSays) {
    // Positions with 9 empty squares where a 5-move and a 9-move search disagree: level 4 must
    // answer the 9-move choice and level 2 the 5-move one.
    int checked = 0;
    for (uint32_t seed = 1; seed <= 40 && checked < 3; ++seed) {
        const TBoard board = RandomGamePosition(seed, 9);
        if (board.IsGameOver() || board.MustPass()) {
            continue;
        }
        const TPhase shallow = SearchRoot(board, 5);
        const TPhase deep = SearchRoot(board, 9);
        if (shallow.x == deep.x && shallow.y == deep.y) {
            continue;
        }
        TSage sage;
        sage.SetLevel(4);
        int x = -1;
        int y = -1;
        ASSERT_TRUE(sage.Think(board, &x, &y));
        EXPECT_EQ(x, deep.x);
        EXPECT_EQ(y, deep.y);
        sage.SetLevel(2);
        ASSERT_TRUE(sage.Think(board, &x, &y));
        EXPECT_EQ(x, shallow.x);
        EXPECT_EQ(y, shallow.y);
        ++checked;
    }
    EXPECT_EQ(checked, 3) << "too few positions where the two depths disagree";
}

TEST(SageThink, DependsOnlyOnTheNumberOfEmptySquaresNotOnColours) {
    // The same discs with the colours swapped and the other side to move: the choice is the
    // same square, since the search is symmetric in colour and the depth is the same.
    TBoard board;
    const int opening[][2] = {{3, 2}, {2, 2}, {2, 3}, {4, 2}, {5, 2}, {2, 4}};
    for (const auto& m : opening) {
        ASSERT_TRUE(board.Place(m[0], m[1]));
    }
    TBoard swapped = board;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const int c = board.GetCell(x, y);
            if (c != cellEmpty) {
                swapped.SetCell(x, y, c == cellBlack ? cellWhite : cellBlack);
            }
        }
    }
    swapped.turn = board.GetOpponent();
    for (int level = 1; level <= 6; ++level) {
        TSage sage;
        sage.SetLevel(level);
        int x = -1;
        int y = -1;
        int sx = -2;
        int sy = -2;
        ASSERT_TRUE(sage.Think(board, &x, &y));
        ASSERT_TRUE(sage.Think(swapped, &sx, &sy));
        EXPECT_EQ(x, sx) << "level " << level;
        EXPECT_EQ(y, sy) << "level " << level;
    }
}

TEST(SageThink, LeavesTheCallersBoardAlone) {
    TBoard board;
    ASSERT_TRUE(board.Place(3, 2));
    const TBoard before = board;
    TSage sage;
    int x = 0;
    int y = 0;
    ASSERT_TRUE(sage.Think(board, &x, &y));
    EXPECT_TRUE(SameBoard(board, before));
    EXPECT_TRUE(board.CanPlace(x, y));
}
