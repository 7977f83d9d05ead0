#include "engine/FastEval.h"
#include "ComparePositions.h"
#include "engine/FastBridge.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <vector>

// The positions of `games` random games, then `scatterings` boards of discs scattered at random
// with a density drawn anew each time: edges and corners are often taken, in ways play rarely
// reaches.
static std::vector<TBoard> Positions(int seed, int games, int scatterings) {
    TRandom random(seed);
    std::vector<TBoard> boards;
    for (int game = 0; game < games; ++game) {
        const std::vector<TBoard> positions = RandomGame(random);
        boards.insert(boards.end(), positions.begin(), positions.end());
    }
    for (int trial = 0; trial < scatterings; ++trial) {
        TBoard board = BoardFromRows("", random() % 2 ? cellBlack : cellWhite);
        const int density = static_cast<int>(random() % 100);
        for (int square = 0; square < 64; ++square) {
            if (static_cast<int>(random() % 100) < density) {
                board.SetCell(square % 8, square / 8, random() % 2 ? cellBlack : cellWhite);
            }
        }
        boards.push_back(board);
    }
    return boards;
}

// The bitboard rules and evaluation against the board's own: the same legal moves, the same
// discs turned, the same end of the game and the same score as EvaluateBoard; and the scores
// the search works out from the position before a move are those of the position after it.
TEST(FastEvaluation, MatchesThePlainBoardAndEvaluation) {
    for (const TBoard& board : Positions(3, 200, 10000)) {
        SCOPED_TRACE(BoardText(board));
        const TFastPosition position = ToFastPosition(board);
        ASSERT_EQ(FastLeafScore(position.Black, position.White, board.passes),
                  EvaluateBoard(board));
        ASSERT_EQ(FastEvaluate(position.White, position.Black),
                  -FastEvaluate(position.Black, position.White));
        const TBitboard own = position.BlackToMove ? position.Black : position.White;
        const TBitboard opp = position.BlackToMove ? position.White : position.Black;
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
            const TFastPosition played = ToFastPosition(child);
            ASSERT_EQ(played.BlackToMove ? played.White : played.Black, after)
                << "square " << square;
            ASSERT_EQ(listed[square], flips) << "square " << square;
            ASSERT_EQ(FastEvaluateAfter(own, opp, square), FastEvaluate(after, opp & ~flips));
            ASSERT_EQ(scores[square], FastLeafScore(after, opp & ~flips, 0)) << "square " << square;
        }
    }
}
