#pragma once

#include "engine/EndgameSolver.h"
#include "engine/FastBoard.h"
#include "engine/FastSearch.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

// What each instruction set build of the engine offers, as plain function pointers, so that the
// rest of the program reaches it without sharing any of its inline code.
struct TFastIsaAnswer {
    int X;
    int Y;
    int Value;
};

struct TFastIsaEntry {
    TBitboard (*Moves)(TBitboard own, TBitboard opp);
    TBitboard (*Flips)(int square, TBitboard own, TBitboard opp);
    std::uint64_t (*Perft)(TBitboard own, TBitboard opp, int depth, int passes);
    int (*Count)(TBitboard bits);
    int (*Evaluate)(TBitboard own, TBitboard opp);
    int (*EvaluateAfter)(TBitboard own, TBitboard opp, int square);
    void (*FlipsOfMoves)(TBitboard own, TBitboard opp, TBitboard* flips);
    void (*ScoreMoves)(TBitboard own, TBitboard opp, int* scores);
    TFastIsaAnswer (*Search)(const TFastPosition& position, int depth);
    void (*Forget)();
    std::uint64_t (*Nodes)();
    // The exact solver: the whole position when `square` is negative, else that move.
    TSolveResult (*Solve)(TSolverTable& table, TBitboard own, TBitboard opp, int square,
                          const std::atomic<bool>* stop);
};

// Zeroed memory of `bytes` bytes from the system, for the transposition tables; a failure
// throws std::bad_alloc. Release with std::free.
void* FastAllocateZeroed(std::size_t bytes);

// The solver of the instruction set chosen, on `table`.
TSolveResult FastSolveExact(TSolverTable& table, TBitboard own, TBitboard opp, int square,
                            const std::atomic<bool>* stop);

namespace fast_plain {
extern const TFastIsaEntry isaEntry;
}
#if defined(OCTAVANE_FAST_HAS_X86_ISAS)
namespace fast_popcnt {
extern const TFastIsaEntry isaEntry;
}
namespace fast_avx2 {
extern const TFastIsaEntry isaEntry;
}
namespace fast_avx512 {
extern const TFastIsaEntry isaEntry;
}
#endif
