#include "engine/FastEval.h"
#include "engine/FastIsa.h"
#include "engine/FastIsaEntry.h"
#include "engine/FastSearch.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#if defined(OCTAVANE_THREADS)
#include <mutex>
#endif
#include <new>

namespace {

bool ProcessorRuns(TFastIsa isa) {
    if (isa == TFastIsa::Plain) {
        return true;
    }
#if defined(OCTAVANE_FAST_HAS_X86_ISAS)
    __builtin_cpu_init();
    const bool popcnt = __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("sse4.2");
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
                      __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
    // The library also checks that the system saves the AVX and AVX-512 registers.
    const bool avx512 = avx2 && __builtin_cpu_supports("avx512f") &&
                        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
                        __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512cd") &&
                        __builtin_cpu_supports("avx512vpopcntdq");
    return isa == TFastIsa::Popcnt ? popcnt : isa == TFastIsa::Avx2 ? avx2 : avx512;
#else
    return false;
#endif
}

const TFastIsaEntry& EntryOf(TFastIsa isa) {
#if defined(OCTAVANE_FAST_HAS_X86_ISAS)
    if (isa == TFastIsa::Avx512) {
        return fast_avx512::isaEntry;
    }
    if (isa == TFastIsa::Avx2) {
        return fast_avx2::isaEntry;
    }
    if (isa == TFastIsa::Popcnt) {
        return fast_popcnt::isaEntry;
    }
#endif
    (void)isa;
    return fast_plain::isaEntry;
}

struct TSelection {
    TFastIsa Isa;
    const TFastIsaEntry* Entry;
};

TSelection BestAvailable() {
    for (TFastIsa isa : {TFastIsa::Avx512, TFastIsa::Avx2, TFastIsa::Popcnt}) {
        if (ProcessorRuns(isa)) {
            return {isa, &EntryOf(isa)};
        }
    }
    return {TFastIsa::Plain, &EntryOf(TFastIsa::Plain)};
}

// Chosen on first use, so that no start-up order can reach an unset choice.
TSelection& Selection() {
    static TSelection selection = BestAvailable();
    return selection;
}

const TFastIsaEntry& Isa() {
    return *Selection().Entry;
}

#if defined(OCTAVANE_THREADS)
std::mutex& SearchMutex() {
    static std::mutex mutex;
    return mutex;
}
#endif

} // namespace

void* FastAllocateZeroed(std::size_t bytes) {
    void* memory = std::calloc(bytes, 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

bool FastIsaAvailable(TFastIsa isa) {
    return ProcessorRuns(isa);
}

bool FastSelectIsa(TFastIsa isa) {
    if (!FastIsaAvailable(isa)) {
        return false;
    }
    Selection() = {isa, &EntryOf(isa)};
    return true;
}

TFastIsa FastSelectedIsa() {
    return Selection().Isa;
}

const char* FastIsaName(TFastIsa isa) {
    switch (isa) {
    case TFastIsa::Plain:
        break;
    case TFastIsa::Popcnt:
        return "popcnt";
    case TFastIsa::Avx2:
        return "avx2";
    case TFastIsa::Avx512:
        return "avx512";
    }
    return "plain";
}

bool FastIsaFromName(const char* name, TFastIsa* isa) {
    for (TFastIsa candidate :
         {TFastIsa::Plain, TFastIsa::Popcnt, TFastIsa::Avx2, TFastIsa::Avx512}) {
        if (std::strcmp(name, FastIsaName(candidate)) == 0) {
            *isa = candidate;
            return true;
        }
    }
    return false;
}

int FastCount(TBitboard bits) {
    return Isa().Count(bits);
}

TBitboard FastMoves(TBitboard own, TBitboard opp) {
    return Isa().Moves(own, opp);
}

TBitboard FastFlips(int square, TBitboard own, TBitboard opp) {
    return Isa().Flips(square, own, opp);
}

std::uint64_t FastPerft(TBitboard own, TBitboard opp, int depth, int passes) {
    return Isa().Perft(own, opp, depth, passes);
}

int FastEvaluate(TBitboard own, TBitboard opp) {
    return Isa().Evaluate(own, opp);
}

int FastEvaluateAfter(TBitboard own, TBitboard opp, int square) {
    return Isa().EvaluateAfter(own, opp, square);
}

void FastFlipsOfMoves(TBitboard own, TBitboard opp, TBitboard flips[kFastSquareCount]) {
    Isa().FlipsOfMoves(own, opp, flips);
}

void FastScoreMoves(TBitboard own, TBitboard opp, int scores[kFastSquareCount]) {
    Isa().ScoreMoves(own, opp, scores);
}

TSolveResult FastSolveExact(TSolverTable& table, TBitboard own, TBitboard opp, int square,
                            const std::atomic<bool>* stop) {
    return Isa().Solve(table, own, opp, square, stop);
}

TFastAnswer FastSearch(const TFastPosition& position, int depth) {
#if defined(OCTAVANE_THREADS)
    // One searcher serves the whole program: a hint and the computer may ask at once.
    const std::lock_guard<std::mutex> lock(SearchMutex());
#endif
    const TFastIsaAnswer found = Isa().Search(position, depth);
    TFastAnswer answer;
    answer.X = found.X;
    answer.Y = found.Y;
    answer.Value = found.Value;
    return answer;
}

void FastSearchForget() {
#if defined(OCTAVANE_THREADS)
    const std::lock_guard<std::mutex> lock(SearchMutex());
#endif
    Isa().Forget();
}

std::uint64_t FastSearchNodes() {
#if defined(OCTAVANE_THREADS)
    const std::lock_guard<std::mutex> lock(SearchMutex());
#endif
    return Isa().Nodes();
}
