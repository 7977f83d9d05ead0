#include "device/StepSine.h"

#include <cmath>
#include <cstdint>

double g_sinTable[32];

namespace {

constexpr double kStepRadians = 0.19634954084936207; // pi / 16

// sin for a step count of any size; 64-bit so that neither -n nor n + 8 can overflow.
double TableSin(int64_t n) {
    if (n >= 0) {
        return g_sinTable[n % 32];
    }
    return -g_sinTable[(-n) % 32];
}

} // namespace

void FillSinTable() {
    for (int i = 0; i < 32; ++i) {
        g_sinTable[i] = std::sin(i * kStepRadians);
    }
}

double StepSin(int n) {
    return TableSin(n);
}

double StepCos(int n) {
    return TableSin(int64_t{n} + 8);
}
