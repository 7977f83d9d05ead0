#include "engine/FastIsa.h"
#include "ComparePositions.h"
#include "engine/FastBridge.h"
#include "engine/FastEval.h"
#include "engine/FastSearch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Puts back the instruction set the test program chose when a test ends.
class TIsaGuard {
  public:
    TIsaGuard() : m_saved(FastSelectedIsa()) {}
    ~TIsaGuard() { FastSelectIsa(m_saved); }
    TIsaGuard(const TIsaGuard&) = delete;
    TIsaGuard& operator=(const TIsaGuard&) = delete;

  private:
    TFastIsa m_saved;
};

std::vector<TFastIsa> AvailableIsas() {
    std::vector<TFastIsa> isas;
    for (TFastIsa isa : {TFastIsa::Plain, TFastIsa::Popcnt, TFastIsa::Avx2, TFastIsa::Avx512}) {
        if (FastIsaAvailable(isa)) {
            isas.push_back(isa);
        }
    }
    return isas;
}

struct TSearchRecord {
    TFastAnswer Answer;
    std::uint64_t Nodes;
};

TSearchRecord SearchFresh(const TBoard& board, int depth) {
    FastSearchForget();
    const std::uint64_t before = FastSearchNodes();
    const TFastAnswer answer = FastSearch(ToFastPosition(board), depth);
    return {answer, FastSearchNodes() - before};
}

TEST(FastIsa, PlainAlwaysRunsAndAMissingSetChangesNothing) {
    const TIsaGuard guard;
    EXPECT_TRUE(FastIsaAvailable(TFastIsa::Plain));
    ASSERT_TRUE(FastSelectIsa(TFastIsa::Plain));
    EXPECT_EQ(FastSelectedIsa(), TFastIsa::Plain);
    if (!FastIsaAvailable(TFastIsa::Avx2)) {
        EXPECT_FALSE(FastSelectIsa(TFastIsa::Avx2));
        EXPECT_EQ(FastSelectedIsa(), TFastIsa::Plain);
    }
}

TEST(FastIsa, NamesAndBuildsMatchBothWays) {
    for (TFastIsa isa : {TFastIsa::Plain, TFastIsa::Popcnt, TFastIsa::Avx2, TFastIsa::Avx512}) {
        TFastIsa read = isa == TFastIsa::Plain ? TFastIsa::Avx2 : TFastIsa::Plain;
        ASSERT_TRUE(FastIsaFromName(FastIsaName(isa), &read)) << FastIsaName(isa);
        EXPECT_EQ(read, isa);
    }
    TFastIsa untouched = TFastIsa::Popcnt;
    EXPECT_FALSE(FastIsaFromName("avx", &untouched));
    EXPECT_FALSE(FastIsaFromName("", &untouched));
    EXPECT_EQ(untouched, TFastIsa::Popcnt);
}

// Every build runs the same search: the same answers and even the same number of nodes, from
// an empty table, on positions from random games at every stage.
TEST(FastIsa, EveryBuildSearchesTheSameTree) {
    const std::vector<TFastIsa> isas = AvailableIsas();
    if (isas.size() < 2) {
        GTEST_SKIP() << "only one instruction set runs here";
    }
    const TIsaGuard guard;
    TRandom random(17);
    int compared = 0;
    for (int empties = 56; empties >= 4; empties -= 4) {
        for (int game = 0; game < 6; ++game) {
            TBoard board;
            if (!PlayoutTo(random, empties, board)) {
                continue;
            }
            const int depth = empties <= 12 ? empties : 7;
            FastSelectIsa(isas[0]);
            const TSearchRecord first = SearchFresh(board, depth);
            const TFastPosition position = ToFastPosition(board);
            const TBitboard moves = FastMoves(position.Black, position.White);
            const int score = FastEvaluate(position.Black, position.White);
            for (std::size_t i = 1; i < isas.size(); ++i) {
                FastSelectIsa(isas[i]);
                const TSearchRecord other = SearchFresh(board, depth);
                EXPECT_EQ(other.Answer.X, first.Answer.X) << BoardText(board);
                EXPECT_EQ(other.Answer.Y, first.Answer.Y) << BoardText(board);
                EXPECT_EQ(other.Answer.Value, first.Answer.Value) << BoardText(board);
                EXPECT_EQ(other.Nodes, first.Nodes) << BoardText(board);
                EXPECT_EQ(FastMoves(position.Black, position.White), moves);
                EXPECT_EQ(FastEvaluate(position.Black, position.White), score);
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 60);
}

} // namespace
