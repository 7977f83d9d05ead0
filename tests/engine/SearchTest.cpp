#include "ComparePositions.h"
#include "engine/FastBridge.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <vector>

// The deepest search the reference finishes in a few milliseconds with `empties` squares left
// on a position from a random game (random games keep many moves open): up to 9 empty squares,
// a whole-game solve.
static int CheapDepth(int empties) {
    return empties <= 9 ? empties + 1 : empties <= 14 || empties >= 50 ? 5 : 3;
}

static std::vector<TBoard> AroundPasses(TRandom& random, int count) {
    std::vector<TBoard> boards;
    for (const TPassSpot spot : {kMustPass, kAfterPass, kDeadlock}) {
        const std::vector<TBoard> found = PassPositions(random, spot, count);
        EXPECT_EQ(found.size(), static_cast<size_t>(count)) << "pass spot " << spot;
        boards.insert(boards.end(), found.begin(), found.end());
    }
    return boards;
}

TEST(FastSearch, AgreesWithTheReferenceFromTheOpeningToTheEnd) {
    for (int depth = 0; depth <= 6; ++depth) {
        ASSERT_EQ(CompareSearch(TBoard(), depth), "");
    }
    TRandom random(1);
    int compared = 0;
    for (int empties = 0; empties <= 59; ++empties) {
        for (int sample = 0; sample < 3 + 20 * (empties <= 2); ++sample) {
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

// A side to move that must pass, one that has just been passed to, and neither side able to
// move (scored as a finished game, also when no pass has been made yet).
TEST(FastSearch, AgreesWithTheReferenceAroundPasses) {
    TRandom random(4);
    for (TBoard board : AroundPasses(random, 20)) {
        for (int depth = 0; depth <= CheapDepth(board.GetCount(cellEmpty)); ++depth) {
            ASSERT_EQ(CompareSearch(board, depth), "");
        }
        if (board.MustPass()) {
            board.passes = 0;
            ASSERT_EQ(CompareSearch(board, 1), "");
        }
    }
    // Two passes recorded finish the game even with a move left: a leaf, and Think has no move.
    TBoard finished;
    finished.passes = 2;
    ASSERT_EQ(CompareLevel(finished, 5), "");
}

// Through the computer player: Think answers the reference's move at every level's depth, and
// no move at all where the side to move must pass.
TEST(FastSearch, EveryLevelAgreesWithTheReference) {
    TRandom random(9);
    for (int level = 1; level <= 9; ++level) {
        for (int empties = 1; empties <= 10; ++empties) {
            TBoard board;
            if (PlayoutTo(random, empties, board)) {
                ASSERT_EQ(CompareLevel(board, level), "");
            }
        }
        TBoard opening;
        ASSERT_TRUE(PlayoutTo(random, level >= 7 ? 59 : 52, opening));
        ASSERT_EQ(CompareLevel(opening, level), "");
    }
    for (const TBoard& board : AroundPasses(random, 4)) {
        for (int level = 1; level <= 9; ++level) {
            const int empties = board.GetCount(cellEmpty);
            if (ChooseDepth(level, empties) <= 5 || empties <= 9) {
                ASSERT_EQ(CompareLevel(board, level), "");
            }
        }
    }
}
