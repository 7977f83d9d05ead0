// Test main of the engine's test programs: every test runs on the instruction set that
// OCTAVANE_FAST_ISA names ("plain", "popcnt", "avx2" or "avx512"), so that each build of the fast
// engine meets the same tests. Unset, the engine's own choice stands. On a processor without the
// named set the tests are skipped, not failed.

#include "engine/FastIsa.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class TIsaEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const char* name = std::getenv("OCTAVANE_FAST_ISA");
        if (name == nullptr) {
            return;
        }
        const std::string isa = name;
        const TFastIsa chosen = isa == "avx512"   ? TFastIsa::Avx512
                                : isa == "avx2"   ? TFastIsa::Avx2
                                : isa == "popcnt" ? TFastIsa::Popcnt
                                                  : TFastIsa::Plain;
        if (isa != "plain" && isa != "popcnt" && isa != "avx2" && isa != "avx512") {
            FAIL() << "OCTAVANE_FAST_ISA names no instruction set: " << isa;
        }
        if (!FastSelectIsa(chosen)) {
            GTEST_SKIP() << "this processor or build has no " << isa;
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TIsaEnvironment);
    return RUN_ALL_TESTS();
}
