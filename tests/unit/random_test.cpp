// The random source against numbers worked out apart from the program: the first ten values of the
// classic runtime generator (x = x * 214013 + 2531011, value (x >> 16) & 0x7FFF) from its unseeded
// state. Every record the scene fills at start follows from this sequence.
#include <gtest/gtest.h>

#include <vector>

#include "scene/random.h"

namespace {

TEST(RandomSource, StartsWithTheRuntimesUnseededSequence) {
    ResetRandom();
    std::vector<int> first;
    for (int i = 0; i < 10; ++i) first.push_back(NextRandom());
    EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));
    EXPECT_EQ(RandomDrawCount(), 10u);
    ResetRandom();
    EXPECT_EQ(NextRandom(), 41);
}

} // namespace
