#include "engine/EndgameSolver.h"

#include <cstdlib>

#include "engine/FastIsaEntry.h"

void TEndgameSolver::TFree::operator()(TSolverEntry* entries) const {
    std::free(entries);
}

TEndgameSolver::TEndgameSolver(int log2Buckets)
    : m_entries(static_cast<TSolverEntry*>(
          FastAllocateZeroed((std::size_t{kSolverWays} << log2Buckets) * sizeof(TSolverEntry)))) {
    m_table.Entries = m_entries.get();
    m_table.BucketMask = (std::size_t{1} << log2Buckets) - 1;
}

TEndgameSolver::~TEndgameSolver() = default;

TSolveResult TEndgameSolver::Solve(TBitboard own, TBitboard opp, const std::atomic<bool>* stop) {
    ++m_table.Age;
    return FastSolveExact(m_table, own, opp, -1, stop);
}

TSolveResult TEndgameSolver::SolveMove(TBitboard own, TBitboard opp, int square,
                                       const std::atomic<bool>* stop) {
    if (square < 0 || square >= kFastSquareCount) {
        return TSolveResult{false, square, 0, 0};
    }
    ++m_table.Age;
    return FastSolveExact(m_table, own, opp, square, stop);
}

void TEndgameSolver::Clear() {
    for (std::size_t i = 0; i < (m_table.BucketMask + 1) * kSolverWays; ++i) {
        m_entries[i] = TSolverEntry{};
    }
}

int SolverFinalScore(TBitboard own, TBitboard opp) {
    const int ownCount = FastCount(own);
    const int oppCount = FastCount(opp);
    const int difference = ownCount - oppCount;
    const int empties = kFastSquareCount - ownCount - oppCount;
    return difference > 0 ? difference + empties : difference < 0 ? difference - empties : 0;
}
