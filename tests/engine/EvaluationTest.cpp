#include "BoardText.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <utility>

namespace {

TBoard Empty() {
    return BoardFromRows({"........", "........", "........", "........", "........", "........",
                          "........", "........"});
}

// The board seen in a mirror or rotated: (x, y) -> transform of it.
template <typename F> TBoard Transformed(const TBoard& board, F transform) {
    TBoard result = Empty();
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const auto [tx, ty] = transform(x, y);
            result.SetCell(tx, ty, board.GetCell(x, y));
        }
    }
    result.turn = board.turn;
    result.passes = board.passes;
    return result;
}

TBoard ColoursSwapped(const TBoard& board) {
    TBoard result = Empty();
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const int c = board.GetCell(x, y);
            result.SetCell(x, y, c == cellBlack ? cellWhite : c == cellWhite ? cellBlack : c);
        }
    }
    result.turn = board.GetOpponent();
    return result;
}

// Positions of a pseudo-random game, one per move, for the property tests.
template <typename F> void ForEachPositionOfARandomGame(uint32_t seed, F visit) {
    TBoard board;
    while (!board.IsGameOver()) {
        visit(board);
        PlayRandomMove(board, seed);
    }
    visit(board);
}

} // namespace

// --- Worked examples ------------------------------------------------------------------------

TEST(Evaluation, InitialPositionIsLevel) {
    EXPECT_EQ(EvaluateBoard(TBoard()), 0);
}

TEST(Evaluation, AfterTheFirstMoveBlackLeadsByTwenty) {
    TBoard board;
    ASSERT_TRUE(board.Place(3, 2));
    EXPECT_EQ(EvaluateBoard(board), 20);
    // The virtual slot of a search node gives the same score.
    EXPECT_EQ(TPhase(phaseRoot, phaseRoot).Evaluate(board), 20);
}

TEST(Evaluation, DoesNotDependOnTheSideToMove) {
    TBoard board;
    ASSERT_TRUE(board.Place(3, 2));
    ASSERT_TRUE(board.Place(2, 2));
    const int score = EvaluateBoard(board);
    board.turn = board.GetOpponent();
    EXPECT_EQ(EvaluateBoard(board), score);
}

// --- Corner runs ----------------------------------------------------------------------------

TEST(EvaluationCorners, OpposingLoneCornersCancel) {
    const TBoard board = BoardFromRows({"X.......", "........", "........", "........", "........",
                                        "........", "........", ".......O"});
    EXPECT_EQ(EvaluateBoard(board), 0);
    const TBoard blackOnly = BoardFromRows({"X.......", "........", "........", "........",
                                            "...O....", "........", "........", "........"});
    EXPECT_EQ(EvaluateBoard(blackOnly), 128 - 8);
}

TEST(EvaluationCorners, RunAlongTheTopEdgeWithAnOpposingDiscAfterIt) {
    // 3 x 128 for the run, -4 for the white disc at its end (four occupied neighbours: three
    // off the board and (2, 0)), +8 and -8 for the centre pair.
    const TBoard board = BoardFromRows({"XXXO....", "........", "........", "...OX...", "........",
                                        "........", "........", "........"});
    EXPECT_EQ(EvaluateBoard(board), 380);
}

TEST(EvaluationCorners, AnOpposingNeighbourStopsTheRunAtTheCorner) {
    // The corner weighs 128, (1, 0) keeps its table weight 1 and (0, 1) its weight 1.
    const TBoard board = BoardFromRows({"XO......", "O.......", "........", "........", "........",
                                        "........", "........", "........"});
    EXPECT_EQ(EvaluateBoard(board), 128 - 1 - 1);
}

TEST(EvaluationCorners, AnEmptySquareStopsTheRun) {
    // (3, 0) is cut off from the corner by the empty (2, 0): table weight 4.
    const TBoard board = BoardFromRows({"XX.X....", "........", "........", "...O....", "........",
                                        "........", "........", "........"});
    EXPECT_EQ(EvaluateBoard(board), 128 + 128 + 4 - 8);
}

TEST(EvaluationCorners, AFullEdgeReachesTheOppositeCorner) {
    const TBoard board = BoardFromRows({"XXXXXXXX", "........", "........", "...O....", "........",
                                        "........", "........", "........"});
    EXPECT_EQ(EvaluateBoard(board), 8 * 128 - 8);
}

TEST(EvaluationCorners, RunsFromEveryCornerFollowBothEdges) {
    // Runs of different lengths from each corner, so that a walk in a wrong direction cannot
    // cancel out: 13 white discs in runs, 4 black ones, and a lone black disc of weight 8.
    const TBoard board = BoardFromRows({"OO....OO", "O......O", "O......O", ".......O", "...X....",
                                        ".......O", "X......O", "XXX...OO"});
    EXPECT_EQ(EvaluateBoard(board), 4 * 128 + 8 - 13 * 128);
}

TEST(EvaluationCorners, OverrideTheCrowdedWeight) {
    // Every disc of the 3 x 3 block in the corner has six or more occupied neighbours; the
    // corner and the edge squares in its runs still weigh 128.
    const TBoard board = BoardFromRows({"XXX.....", "XXX.....", "XXX.....", "........", "....O...",
                                        "........", "........", "........"});
    // Runs: (0, 0), (1, 0), (2, 0), (0, 1), (0, 2). (1, 1) has eight occupied neighbours: 32.
    // (2, 1) and (1, 2) have five each and keep their table weight 1; (2, 2) has three: 8.
    EXPECT_EQ(EvaluateBoard(board), 5 * 128 + 32 + 1 + 1 + 8 - 8);
}

// --- Crowded discs --------------------------------------------------------------------------

TEST(EvaluationCrowding, AFullySurroundedDiscWeighsThirtyTwo) {
    // Changing the colour of the centre disc moves the score by twice its weight; its
    // neighbours' weights do not depend on colours.
    const std::array<const char*, 8> rows{"........", "........", "..XXX...", "..X.X...",
                                          "..XXX...", "........", "........", "O......."};
    TBoard black = BoardFromRows(rows);
    TBoard white = BoardFromRows(rows);
    black.SetCell(3, 3, cellBlack);
    white.SetCell(3, 3, cellWhite);
    EXPECT_EQ(EvaluateBoard(black) - EvaluateBoard(white), 2 * 32);
}

TEST(EvaluationCrowding, TheEdgeCountsAsOccupied) {
    // The disc on (0, 3) has three neighbours off the board. Each added neighbour is checked
    // by the change in score it causes to (0, 3) alone, by toggling that disc's colour.
    auto weightOf03 = [](const std::array<const char*, 8>& rows) {
        TBoard black = BoardFromRows(rows);
        TBoard white = BoardFromRows(rows);
        black.SetCell(0, 3, cellBlack);
        white.SetCell(0, 3, cellWhite);
        return (EvaluateBoard(black) - EvaluateBoard(white)) / 2;
    };
    EXPECT_EQ(weightOf03({"........", "........", "X.......", "X.......", "X.......", "........",
                          "........", "...O...."}),
              4); // five occupied: table weight
    EXPECT_EQ(weightOf03({"........", "........", "X.......", "XX......", "X.......", "........",
                          "........", "...O...."}),
              8);
    EXPECT_EQ(weightOf03({"........", "........", "XX......", "XX......", "X.......", "........",
                          "........", "...O...."}),
              16);
    EXPECT_EQ(weightOf03({"........", "........", "XX......", "XX......", "XX......", "........",
                          "........", "...O...."}),
              32);
}

// --- Finished games -------------------------------------------------------------------------

TEST(EvaluationFinished, AFullBoardCountsOnlyTheDiscDifference) {
    TBoard board = Empty();
    int placed = 0;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            board.SetCell(x, y, placed++ < 40 ? cellBlack : cellWhite);
        }
    }
    ASSERT_EQ(board.GetCount(cellBlack), 40);
    ASSERT_EQ(board.GetCount(cellWhite), 24);
    EXPECT_EQ(EvaluateBoard(board), 1600);
}

TEST(EvaluationFinished, AColourWithoutDiscsLosesByItsOpponentsCount) {
    TBoard board = Empty();
    for (int i = 0; i < 13; ++i) {
        board.SetCell(i % 8, i / 8, cellBlack);
    }
    EXPECT_EQ(EvaluateBoard(board), 1300);
    EXPECT_EQ(EvaluateBoard(ColoursSwapped(board)), -1300);
}

TEST(EvaluationFinished, TwoPassesEndTheGameWithSquaresLeft) {
    TBoard board = BoardFromRows({"X.......", "X.......", "........", "........", "........",
                                  "........", "........", ".......O"});
    EXPECT_EQ(EvaluateBoard(board), 128 + 128 - 128); // still open
    ASSERT_TRUE(board.Pass());
    ASSERT_TRUE(board.Pass());
    EXPECT_EQ(EvaluateBoard(board), 100);
}

// --- Properties over real positions ---------------------------------------------------------

TEST(EvaluationProperties, SameUnderEverySymmetryOfTheBoard) {
    ForEachPositionOfARandomGame(7, [](const TBoard& board) {
        const int score = EvaluateBoard(board);
        EXPECT_EQ(EvaluateBoard(Transformed(board,
                                            [](int x, int y) {
                                                return std::pair{7 - x, y};
                                            })),
                  score);
        EXPECT_EQ(EvaluateBoard(Transformed(board,
                                            [](int x, int y) {
                                                return std::pair{x, 7 - y};
                                            })),
                  score);
        EXPECT_EQ(EvaluateBoard(Transformed(board,
                                            [](int x, int y) {
                                                return std::pair{y, x};
                                            })),
                  score);
        EXPECT_EQ(EvaluateBoard(Transformed(board,
                                            [](int x, int y) {
                                                return std::pair{7 - y, 7 - x};
                                            })),
                  score);
    });
}

TEST(EvaluationProperties, SwappingTheColoursNegatesTheScore) {
    ForEachPositionOfARandomGame(99, [](const TBoard& board) {
        EXPECT_EQ(EvaluateBoard(ColoursSwapped(board)), -EvaluateBoard(board));
    });
}

TEST(EvaluationProperties, UnfinishedScoresStayWithinTheWeightRange) {
    ForEachPositionOfARandomGame(2024, [](const TBoard& board) {
        const int score = EvaluateBoard(board);
        const int discs = board.GetCount(cellBlack) + board.GetCount(cellWhite);
        if (board.IsGameOver()) {
            EXPECT_EQ(score, (board.GetCount(cellBlack) - board.GetCount(cellWhite)) * 100);
        } else {
            EXPECT_LE(score, 128 * board.GetCount(cellBlack) - board.GetCount(cellWhite));
            EXPECT_GE(score, board.GetCount(cellBlack) - 128 * board.GetCount(cellWhite));
            EXPECT_GT(discs, 0);
        }
    });
}
