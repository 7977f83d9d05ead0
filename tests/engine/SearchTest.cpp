#include "ComparePositions.h"
#include "engine/FastBridge.h"
#include "engine/FastEval.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <vector>

// The deepest search the reference finishes in a few milliseconds with `empties` squares left
// on a position from a random game (random games keep many moves open): up to 9 empty squares,
// a whole-game solve.
static int CheapDepth(int empties) {
    return empties <= 9 ? empties + 1 : empties <= 14 || empties >= 50 ? 5 : 3;
}

// Positions from random games where the side to move must pass and the game goes on
// (kMustPass), where a pass was just made and the side to move can move (kAfterPass), or where
// neither side can move although squares are empty (kDeadlock).
enum TPassSpot { kMustPass, kAfterPass, kDeadlock };
static std::vector<TBoard> PassPositions(TRandom& random, TPassSpot spot, int count) {
    std::vector<TBoard> found;
    for (int game = 0; game < 200 * count && static_cast<int>(found.size()) < count; ++game) {
        for (const TBoard& board : RandomGame(random)) {
            if (!board.IsGameOver() && board.passes == (spot == kMustPass ? 0 : 1) &&
                board.MustPass() != (spot == kAfterPass)) {
                found.push_back(board);
                break;
            }
        }
    }
    return found;
}

// The fast search and the computer player's search node agree with the reference at every depth
// from the opening to the end, and around passes; Think answers its move at every level's depth.
TEST(FastSearch, AgreesWithTheReferenceFromTheOpeningToTheEndAndAroundPasses) {
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
    // Around passes; a deadlock is scored as a finished game, also when no pass has been made yet.
    for (const TPassSpot spot : {kMustPass, kAfterPass, kDeadlock}) {
        const std::vector<TBoard> found = PassPositions(random, spot, 20);
        EXPECT_EQ(found.size(), 20u) << "pass spot " << spot;
        for (TBoard board : found) {
            for (int depth = 0; depth <= CheapDepth(board.GetCount(cellEmpty)); ++depth) {
                ASSERT_EQ(CompareSearch(board, depth), "");
            }
            if (board.MustPass()) {
                board.passes = 0;
                ASSERT_EQ(CompareSearch(board, 1), "");
            }
        }
    }
    // Two passes recorded finish the game even with a move left: a leaf, and Think has no move.
    TBoard finished;
    finished.passes = 2;
    ASSERT_EQ(CompareLevel(finished, 5), "");
}

// The bitboard rules and evaluation against the board's own, over the positions of random games
// and boards of discs scattered at random (edges and corners taken in ways play rarely reaches):
// the same legal moves, discs turned, end of the game and score as EvaluateBoard; and the scores
// the search works out from the position before a move are those of the position after it.
TEST(FastEvaluation, MatchesThePlainBoardAndEvaluation) {
    TRandom random(3);
    std::vector<TBoard> boards;
    for (int game = 0; game < 200; ++game) {
        const std::vector<TBoard> positions = RandomGame(random);
        boards.insert(boards.end(), positions.begin(), positions.end());
    }
    for (int trial = 0; trial < 10000; ++trial) {
        TBoard board = BoardFromRows("", random() % 2 ? cellBlack : cellWhite);
        const int density = static_cast<int>(random() % 100);
        for (int square = 0; square < 64; ++square) {
            if (static_cast<int>(random() % 100) < density) {
                board.SetCell(square % 8, square / 8, random() % 2 ? cellBlack : cellWhite);
            }
        }
        boards.push_back(board);
    }
    for (const TBoard& board : boards) {
        SCOPED_TRACE(BoardText(board));
        const TFastPosition position = ToFastPosition(board);
        ASSERT_EQ(FastLeafScore(position.Black, position.White, board.passes),
                  EvaluateBoard(board));
        ASSERT_EQ(FastEvaluate(position.White, position.Black),
                  -FastEvaluate(position.Black, position.White));
        const auto [own, opp] = SidesOf(position);
        ASSERT_EQ(FastIsOver(own, opp, board.passes), board.IsGameOver());
        const TBitboard moves = FastMoves(own, opp);
        int scores[kFastSquareCount];
        TBitboard listed[kFastSquareCount];
        FastScoreMoves(own, opp, scores);
        FastFlipsOfMoves(own, opp, listed);
        for (int square = 0; square < kFastSquareCount; ++square) {
            TBoard child = board;
            const bool legal = child.Place(square % 8, square / 8);
            ASSERT_EQ((moves & FastBit(square)) != 0, legal) << "square " << square;
            if (!legal) {
                continue;
            }
            const TBitboard flips = FastFlips(square, own, opp);
            const TBitboard after = own | flips | FastBit(square);
            ASSERT_EQ(SidesOf(ToFastPosition(child)).second, after) << "square " << square;
            ASSERT_EQ(listed[square], flips) << "square " << square;
            ASSERT_EQ(FastEvaluateAfter(own, opp, square), FastEvaluate(after, opp & ~flips));
            ASSERT_EQ(scores[square], FastLeafScore(after, opp & ~flips, 0)) << "square " << square;
        }
    }
}
