// Test main of the engine's searches: every test runs on the instruction set OCTAVANE_FAST_ISA
// names ("plain", "popcnt", "avx2" or "avx512"), or the engine's own choice when it is unset;
// on a processor without that set the tests are skipped.

#include "engine/FastIsa.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct TIsaEnvironment : ::testing::Environment {
    void SetUp() override {
        TFastIsa isa = TFastIsa::Plain;
        if (const char* name = std::getenv("OCTAVANE_FAST_ISA"); name == nullptr) {
            return;
        } else if (!FastIsaFromName(name, &isa)) {
            FAIL() << "OCTAVANE_FAST_ISA names no instruction set: " << name;
        } else if (!FastSelectIsa(isa)) {
            GTEST_SKIP() << "this processor or build has no " << name;
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TIsaEnvironment);
    return RUN_ALL_TESTS();
}
