#include "ComparePositions.h"
#include "engine/EndgameSolver.h"
#include "engine/SearchRequest.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

namespace {

// The weight of the disc on (x, y): half the change in score when it changes colour.
int WeightOf(TBoard board, int x, int y) {
    board.SetCell(x, y, cellBlack);
    const int asBlack = EvaluateBoard(board);
    board.SetCell(x, y, cellWhite);
    return (asBlack - EvaluateBoard(board)) / 2;
}

} // namespace

// {position, square whose weight is meant or (-1, -1) for the whole score, expected}
struct TScoreCase {
    const char* rows;
    int x, y;
    int expected;
};

TEST(Evaluation, WorkedExamples) {
    const TScoreCase cases[] = {
        {"......../......../......../...OX.../...XO...", -1, -1, 0},
        {"......../......../...X..../...XX.../...XO...", -1, -1, 20},
        // Corners: lone opposing corners cancel; a run along the top edge with a White disc
        // after it (three off-board neighbours and (2, 0): weight 4); an opposing neighbour or an
        // empty square ends a run; a full edge reaches the far corner.
        {"X......./......../......../......../......../......../......../.......O", -1, -1, 0},
        {"X......./......../......../......../...O....", -1, -1, 128 - 8},
        {"XXXO..../......../......../...OX...", -1, -1, 3 * 128 - 4},
        {"XO....../O.......", -1, -1, 128 - 1 - 1},
        {"XX.X..../......../......../...O....", -1, -1, 128 + 128 + 4 - 8},
        {"XXXXXXXX/......../......../...O....", -1, -1, 8 * 128 - 8},
        // Runs of different lengths from each corner, along both edges.
        {"OO....OO/O......O/O......O/.......O/...X..../.......O/X......O/XXX...OO", -1, -1,
         4 * 128 + 8 - 13 * 128},
        // A 3 x 3 block in the corner: the runs weigh 128, (1, 1) has eight occupied
        // neighbours (32), (2, 1) and (1, 2) five (table weight 1), (2, 2) three (8).
        {"XXX...../XXX...../XXX...../......../....O...", -1, -1, 5 * 128 + 32 + 1 + 1 + 8 - 8},
        // Crowded discs: off the board counts as occupied.
        {"......../......../X......./X......./X......./......../......../...O....", 0, 3, 4},
        {"......../......../X......./XX....../X......./......../......../...O....", 0, 3, 8},
        {"......../......../XX....../XX....../X......./......../......../...O....", 0, 3, 16},
        {"......../......../XX....../XX....../XX....../......../......../...O....", 0, 3, 32},
        // Finished games count the disc difference only.
        {"XXXXXXXX/XXXXXXXX/XXXXXXXX/XXXXXXXX/XXXXXXXX/OOOOOOOO/OOOOOOOO/OOOOOOOO", -1, -1, 1600},
        {"XXXXXXXX/XXXXX...", -1, -1, 1300},
    };
    for (const TScoreCase& c : cases) {
        const TBoard board = BoardFromRows(c.rows);
        EXPECT_EQ(c.x < 0 ? EvaluateBoard(board) : WeightOf(board, c.x, c.y), c.expected)
            << BoardText(board);
    }
    TBoard stuck =
        BoardFromRows("X......./X......./......../......../......../......../......../.......O");
    EXPECT_EQ(EvaluateBoard(stuck), 128 + 128 - 128);
    ASSERT_TRUE(stuck.Pass() && stuck.Pass());
    EXPECT_EQ(EvaluateBoard(stuck), 100);
}

// The depth table as the level screen's designer wrote it: one row per level, one column per
// band of empty squares (>= 18, 16..17, 14..15, 12..13, 10..11, 8..9, <= 7).
TEST(SageDepth, MatchesTheTableForEveryLevelAndEveryCountOfEmptySquares) {
    constexpr int kTable[9][7] = {
        {1, 1, 1, 1, 1, 1, 3},    {3, 3, 3, 3, 3, 5, 5},     {5, 5, 5, 5, 5, 7, 7},
        {5, 5, 5, 5, 5, 9, 9},    {5, 5, 5, 7, 7, 9, 9},     {5, 5, 7, 7, 9, 9, 9},
        {7, 7, 9, 9, 11, 11, 11}, {7, 9, 9, 11, 11, 11, 11}, {9, 11, 11, 13, 13, 13, 13},
    };
    for (int empties = 0; empties <= 64; ++empties) {
        const int band = empties >= 18 ? 0 : empties <= 7 ? 6 : 1 + (17 - empties) / 2;
        for (int level = 1; level <= 9; ++level) {
            EXPECT_EQ(ChooseDepth(level, empties), kTable[level - 1][band])
                << "level " << level << ", " << empties << " empty";
        }
        EXPECT_EQ(ChooseDepth(kLevelMaster, empties), kTable[8][band]) << "as Extreme+";
    }
}

// Master plays Extreme+'s move while more than kExactEmpties squares are empty, and from there a
// move that reaches the exact best score. Both positions come from Extreme+ self-play, where its
// own move would lose discs against perfect play.
TEST(SageLevel, MasterPlaysAsExtremePlusUntilTheExactPointAndPerfectlyFromIt) {
    const TBoard open = RequestBoard(
        RequestOfText("X-OO-X---XOOXX-XXOXXXOX-OOOXOOOO-OXXOXO-OXOXXOXXO--X-X-XO----X-- O"));
    const TSearchRequest late =
        RequestOfText("X-OO-X---XOOXX-XXOXXXOX-OOOXOOOO-OXXOXO-OXOOXOXXO-OX-X-XO----X-- X");
    ASSERT_EQ(open.GetCount(cellEmpty), kExactEmpties + 1) << "pick positions for this point";
    ASSERT_EQ(RequestBoard(late).GetCount(cellEmpty), kExactEmpties);
    TSage extremePlus, master;
    extremePlus.SetLevel(kLevelExtremePlus);
    master.SetLevel(kLevelMaster);
    int x = -1, y = -1, mx = -1, my = -1;
    ASSERT_TRUE(extremePlus.Think(open, &x, &y) && master.Think(open, &mx, &my));
    EXPECT_EQ(std::pair(mx, my), std::pair(x, y)) << "Master before the point";
    ASSERT_TRUE(extremePlus.Think(RequestBoard(late), &x, &y) &&
                master.Think(RequestBoard(late), &mx, &my));
    TEndgameSolver solver; // Black to move
    const int best = solver.Solve(late.Black, late.White).Score;
    EXPECT_LT(solver.SolveMove(late.Black, late.White, y * 8 + x).Score, best)
        << "Extreme+ would have played perfectly here";
    EXPECT_EQ(solver.SolveMove(late.Black, late.White, my * 8 + mx).Score, best)
        << "Master at the point";
}
