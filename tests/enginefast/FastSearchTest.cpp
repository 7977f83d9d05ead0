#include "engine/FastSearch.h"
#include "ComparePositions.h"
#include "Reference.h"
#include "engine/FastBridge.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The deepest search the reference finishes in a few milliseconds with `empties` squares left
// on a position from a random game (random games keep many moves open).
int CheapDepth(int empties) {
    if (empties <= 9) {
        return empties + 1; // a whole-game solve
    }
    return empties <= 14 || empties >= 50 ? 5 : 3;
}

TEST(FastSearch, OpeningChoosesTheFirstOfFourEqualMoves) {
    for (int depth = 1; depth <= 9; ++depth) {
        const TFastAnswer answer = FastSearch(TFastPosition{}, depth);
        EXPECT_EQ(answer.X, 3) << "depth " << depth;
        EXPECT_EQ(answer.Y, 2) << "depth " << depth;
    }
    EXPECT_EQ(FastSearch(TFastPosition{}, 1).Value, 20);
    for (int depth = 1; depth <= 6; ++depth) {
        EXPECT_EQ(CompareSearch(TBoard(), depth), "");
    }
}

TEST(FastSearch, RootThatIsALeafReportsNoMove) {
    TRandom random(21);
    TBoard board;
    ASSERT_TRUE(PlayoutTo(random, 30, board));
    EXPECT_EQ(CompareSearch(board, 0), "");
    while (PlayRandomMove(random, board)) {
    }
    ASSERT_TRUE(board.IsGameOver());
    EXPECT_EQ(CompareSearch(board, 3), "");
    const TFastAnswer answer = FastSearch(ToFastPosition(board), 3);
    EXPECT_EQ(answer.X, kFastNoMove);
    EXPECT_EQ(answer.Value, 100 * (board.GetCount(cellBlack) - board.GetCount(cellWhite)));
}

TEST(FastSearch, AgreesWithTheReferenceAtEveryNumberOfEmptySquares) {
    TRandom random(1);
    int compared = 0;
    for (int empties = 1; empties <= 59; ++empties) {
        for (int sample = 0; sample < 3; ++sample) {
            TBoard board;
            if (!PlayoutTo(random, empties, board)) {
                continue;
            }
            // Every depth up to 3 on each sample, the deepest cheap one on the first.
            const int deepest = sample == 0 ? CheapDepth(empties) : 3;
            for (int depth = 1; depth <= deepest; ++depth) {
                ASSERT_EQ(CompareSearch(board, depth), "");
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 500);
}

TEST(FastSearch, AgreesOneAndTwoMovesFromTheEnd) {
    TRandom random(2);
    for (int sample = 0; sample < 40; ++sample) {
        TBoard board;
        if (!PlayoutTo(random, 1 + sample % 2, board)) {
            continue;
        }
        for (int depth = 1; depth <= 3; ++depth) {
            ASSERT_EQ(CompareSearch(board, depth), "");
        }
    }
}

TEST(FastSearch, AgreesWhenTheSideToMoveMustPass) {
    TRandom random(4);
    const std::vector<TBoard> boards = PassPositions(random, 30);
    ASSERT_EQ(boards.size(), 30u);
    for (const TBoard& board : boards) {
        for (int depth = 1; depth <= CheapDepth(board.GetCount(cellEmpty)); depth += 2) {
            ASSERT_EQ(CompareSearch(board, depth), "");
        }
        EXPECT_EQ(FastSearch(ToFastPosition(board), 1).X, kFastPass);
    }
}

TEST(FastSearch, AgreesJustAfterAPass) {
    TRandom random(6);
    const std::vector<TBoard> boards = AfterPassPositions(random, 30);
    ASSERT_EQ(boards.size(), 30u);
    for (const TBoard& board : boards) {
        ASSERT_EQ(board.passes, 1);
        for (int depth = 1; depth <= CheapDepth(board.GetCount(cellEmpty)); depth += 2) {
            ASSERT_EQ(CompareSearch(board, depth), "");
        }
    }
}

TEST(FastSearch, NeitherSideCanMoveScoresTheFinishedGame) {
    TRandom random(8);
    const std::vector<TBoard> boards = DeadlockPositions(random, 10);
    ASSERT_FALSE(boards.empty());
    for (const TBoard& board : boards) {
        for (int depth = 0; depth <= 3; ++depth) {
            ASSERT_EQ(CompareSearch(board, depth), "");
        }
        const int final = 100 * (board.GetCount(cellBlack) - board.GetCount(cellWhite));
        EXPECT_EQ(FastSearch(ToFastPosition(board), 1).Value, final);
        // The same discs with no pass made yet: the side to move passes, the other side
        // passes too, and the game is scored as finished all the same.
        TBoard fresh = board;
        fresh.passes = 0;
        ASSERT_EQ(CompareSearch(fresh, 1), "");
        EXPECT_EQ(FastSearch(ToFastPosition(fresh), 1).Value, final);
    }
}

// Through the computer player: Think answers the reference's move or pass at every level, and
// the fast search reports the reference's value at that level's depth.
TEST(FastSearch, EveryLevelAgreesNearTheEnd) {
    TRandom random(9);
    for (int level = 1; level <= 9; ++level) {
        for (int empties = 1; empties <= 10; ++empties) {
            TBoard board;
            if (!PlayoutTo(random, empties, board)) {
                continue;
            }
            ASSERT_EQ(CompareLevel(board, level), "");
        }
    }
}

TEST(FastSearch, EveryLevelAgreesInTheOpening) {
    TRandom random(10);
    for (int level = 1; level <= 9; ++level) {
        TBoard board;
        ASSERT_TRUE(PlayoutTo(random, level >= 7 ? 59 : 52, board));
        ASSERT_EQ(CompareLevel(board, level), "");
    }
}

TEST(FastSearch, EveryLevelAgreesAroundPasses) {
    TRandom random(12);
    std::vector<TBoard> boards = PassPositions(random, 6);
    const std::vector<TBoard> after = AfterPassPositions(random, 6);
    boards.insert(boards.end(), after.begin(), after.end());
    for (const TBoard& board : boards) {
        for (int level = 1; level <= 9; ++level) {
            const int empties = board.GetCount(cellEmpty);
            if (ChooseDepth(level, empties) <= 5 || empties <= 9) {
                ASSERT_EQ(CompareLevel(board, level), "");
            }
        }
    }
}

// The transposition table lives from one search to the next. What it holds must never change
// an answer: the same positions searched in another order, at other depths in between, or
// after the table is emptied, give the same moves and values.
TEST(FastSearch, AnswersDoNotDependOnWhatTheTableHolds) {
    TRandom random(13);
    std::vector<TBoard> boards;
    for (int empties : {50, 40, 30, 20, 14, 10}) {
        TBoard board;
        ASSERT_TRUE(PlayoutTo(random, empties, board));
        boards.push_back(board);
    }
    auto searchAll = [&](int depth) {
        std::vector<TFastAnswer> answers;
        for (const TBoard& board : boards) {
            answers.push_back(FastSearch(ToFastPosition(board), depth));
        }
        return answers;
    };
    auto same = [](const std::vector<TFastAnswer>& a, const std::vector<TFastAnswer>& b) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i].X != b[i].X || a[i].Y != b[i].Y || a[i].Value != b[i].Value) {
                return false;
            }
        }
        return true;
    };
    FastSearchForget();
    const std::vector<TFastAnswer> fresh = searchAll(5);
    for (const TBoard& board : boards) {
        // The same position searched one and two moves shallower and deeper just before,
        // with nothing else in the table.
        for (int depth : {4, 3, 6, 7}) {
            FastSearchForget();
            FastSearch(ToFastPosition(board), depth);
            const TFastAnswer again = FastSearch(ToFastPosition(board), 5);
            EXPECT_TRUE(same({again}, {fresh[&board - boards.data()]})) << depth;
        }
    }
    EXPECT_TRUE(same(searchAll(5), fresh));
    std::reverse(boards.begin(), boards.end());
    std::vector<TFastAnswer> reversed = searchAll(5);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_TRUE(same(reversed, fresh));
    std::reverse(boards.begin(), boards.end());
    FastSearchForget();
    EXPECT_TRUE(same(searchAll(5), fresh));
    for (std::size_t i = 0; i < boards.size(); ++i) {
        EXPECT_EQ(CompareSearch(boards[i], 5), "") << i;
    }
}

// A board that records two passes in a row is finished even though a move is left on it:
// Think answers "no move" and leaves the caller's square alone instead of handing back the
// root's own (-1, -1) as a square.
TEST(FastThink, AFinishedGameWithAMoveLeftGetsNoMove) {
    TBoard board;
    board.passes = 2;
    ASSERT_TRUE(board.IsGameOver());
    ASSERT_FALSE(board.MustPass());
    TSage sage;
    int x = 5;
    int y = 6;
    EXPECT_FALSE(sage.Think(board, &x, &y));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    board.passes = 1;
    EXPECT_TRUE(sage.Think(board, &x, &y));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 2);
}

} // namespace
