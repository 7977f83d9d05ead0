// Test main of the engine's test programs: every test runs on the instruction set that
// OCTAVANE_FAST_ISA names ("plain", "popcnt", "avx2" or "avx512"), so that each build of the fast
// engine meets the same tests. Unset, the engine's own choice stands. On a processor without the
// named set the tests are skipped, not failed.

#include "engine/FastIsa.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class TIsaEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const char* name = std::getenv("OCTAVANE_FAST_ISA");
        if (name == nullptr) {
            return;
        }
        TFastIsa chosen = TFastIsa::Plain;
        if (!FastIsaFromName(name, &chosen)) {
            FAIL() << "OCTAVANE_FAST_ISA names no instruction set: " << name;
        }
        if (!FastSelectIsa(chosen)) {
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
