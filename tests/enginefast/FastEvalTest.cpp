#include "engine/FastEval.h"
#include "ComparePositions.h"
#include "Reference.h"
#include "engine/FastBridge.h"

#include <gtest/gtest.h>

namespace {

// The fast evaluation seen from Black, as the board evaluation reports it.
int FastBlackScore(const TBoard& board) {
    const TFastPosition position = ToFastPosition(board);
    return FastLeafScore(position.Black, position.White, position.Passes);
}

TBoard Empty() {
    TBoard board;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            board.SetCell(x, y, cellEmpty);
        }
    }
    return board;
}

TEST(FastEvaluation, WorkedExamples) {
    TBoard board;
    EXPECT_EQ(FastBlackScore(board), 0);
    board.Place(3, 2);
    EXPECT_EQ(FastBlackScore(board), 20);

    TBoard corners = Empty();
    corners.SetCell(0, 0, cellBlack);
    corners.SetCell(7, 7, cellWhite);
    EXPECT_EQ(FastBlackScore(corners), 0);

    TBoard edge = Empty();
    edge.SetCell(0, 0, cellBlack);
    edge.SetCell(1, 0, cellBlack);
    edge.SetCell(2, 0, cellBlack);
    edge.SetCell(3, 0, cellWhite);
    edge.SetCell(3, 3, cellWhite);
    edge.SetCell(4, 3, cellBlack);
    EXPECT_EQ(FastBlackScore(edge), 380);
}

TEST(FastEvaluation, FinishedGamesScoreTheDiscDifference) {
    TBoard full = Empty();
    for (int square = 0; square < 64; ++square) {
        full.SetCell(square % 8, square / 8, square < 40 ? cellBlack : cellWhite);
    }
    EXPECT_EQ(FastBlackScore(full), 1600);

    TBoard wiped = Empty();
    for (int square = 0; square < 13; ++square) {
        wiped.SetCell(square % 8, square / 8, cellBlack);
    }
    EXPECT_EQ(FastBlackScore(wiped), 1300);
}

TEST(FastEvaluation, CrowdedDiscsAndRunsCoveringWholeEdges) {
    // A full top edge in Black from (0, 0) reaches (7, 0); the filled 3x3 block around (5, 5)
    // gives its centre eight occupied neighbours.
    TBoard board = Empty();
    for (int x = 0; x < 8; ++x) {
        board.SetCell(x, 0, cellBlack);
    }
    for (int y = 4; y <= 6; ++y) {
        for (int x = 4; x <= 6; ++x) {
            board.SetCell(x, y, (x + y) % 2 == 0 ? cellWhite : cellBlack);
        }
    }
    EXPECT_EQ(FastBlackScore(board), EvaluateBoard(board));
    EXPECT_EQ(FastBlackScore(board), 8 * 128 + (4 + 4 + 1 + 1) - (8 + 2 + 2 + 1 + 32));
}

// Random positions at every stage, with colours swapped too: the bitboard evaluation gives the
// plain evaluation's number exactly.
TEST(FastEvaluation, MatchesThePlainEvaluationOnRandomPositions) {
    TRandom random(3);
    int compared = 0;
    for (int game = 0; game < 400; ++game) {
        TBoard board;
        do {
            ASSERT_EQ(FastBlackScore(board), EvaluateBoard(board)) << BoardText(board);
            const TFastPosition position = ToFastPosition(board);
            ASSERT_EQ(FastEvaluate(position.White, position.Black),
                      -FastEvaluate(position.Black, position.White));
            ++compared;
        } while (PlayRandomMove(random, board));
    }
    EXPECT_GT(compared, 20000);
}

// Random scatterings of discs, not reachable in play, exercise corners and edges more.
TEST(FastEvaluation, MatchesThePlainEvaluationOnScatteredDiscs) {
    TRandom random(5);
    for (int trial = 0; trial < 20000; ++trial) {
        TBoard board = Empty();
        const int density = static_cast<int>(random() % 100);
        for (int square = 0; square < 64; ++square) {
            if (static_cast<int>(random() % 100) < density) {
                board.SetCell(square % 8, square / 8, random() % 2 ? cellBlack : cellWhite);
            }
        }
        ASSERT_EQ(FastBlackScore(board), EvaluateBoard(board)) << BoardText(board);
    }
}

// Calls `check(own, opp)` with the side to move of every position of `games` random games, and
// then of `scatterings` random scatterings of discs, which put discs on every edge and corner.
template <typename TCheck>
void ForEachPosition(int seed, int games, int scatterings, TCheck check) {
    TRandom random(seed);
    for (int game = 0; game < games; ++game) {
        TBoard board;
        do {
            const TFastPosition position = ToFastPosition(board);
            const TBitboard own = position.BlackToMove ? position.Black : position.White;
            const TBitboard opp = position.BlackToMove ? position.White : position.Black;
            check(own, opp);
        } while (PlayRandomMove(random, board));
    }
    for (int trial = 0; trial < scatterings; ++trial) {
        const TScattering scattering = ScatterDiscs(random);
        check(scattering.Own, scattering.Opp);
    }
}

// The score of a position one move on, worked out from what it shares with the position before
// the move, equals the full evaluation of that position for every legal move.
TEST(FastEvaluation, ScoreAfterAMoveMatchesTheFullEvaluation) {
    ForEachPosition(9, 300, 20000, [](TBitboard own, TBitboard opp) {
        for (TBitboard moves = FastMoves(own, opp); moves != 0; moves &= moves - 1) {
            int square = 0;
            while ((moves & FastBit(square)) == 0) {
                ++square;
            }
            const TBitboard flips = FastFlips(square, own, opp);
            ASSERT_EQ(FastEvaluateAfter(own, opp, square),
                      FastEvaluate(own | flips | FastBit(square), opp & ~flips))
                << "move " << square << " own " << own << " opp " << opp;
        }
    });
}

// The scores of all the moves of a position, worked out together, are each move's leaf score:
// the final score for the moves that end the game (every random game ends in one), else the
// evaluation. Squares that are no move keep what they held.
TEST(FastEvaluation, ScoresOfAllMovesMatchEachMoveAlone) {
    static constexpr int untouched = 123456;
    ForEachPosition(13, 300, 20000, [](TBitboard own, TBitboard opp) {
        int scores[kFastSquareCount];
        for (int& score : scores) {
            score = untouched;
        }
        FastScoreMoves(own, opp, scores);
        const TBitboard moves = FastMoves(own, opp);
        for (int square = 0; square < kFastSquareCount; ++square) {
            if ((moves & FastBit(square)) == 0) {
                ASSERT_EQ(scores[square], untouched) << "square " << square;
                continue;
            }
            const TBitboard flips = FastFlips(square, own, opp);
            ASSERT_EQ(scores[square], FastLeafScore(own | flips | FastBit(square), opp & ~flips, 0))
                << "move " << square << " own " << own << " opp " << opp;
        }
    });
}

} // namespace
