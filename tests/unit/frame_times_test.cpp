// The frame-time summary that quorvane-capture --bench prints.
#include <gtest/gtest.h>

#include "common/frame_times.h"

namespace {

TEST(FrameTimes, PercentilesAndTheFiveSlowestFrames) {
    // 100 frames of 1..100 ms, shuffled so that order and size differ: frame k takes
    // (k * 37) % 100 + 1 ms.
    std::vector<double> ms;
    for (int k = 1; k <= 100; ++k) ms.push_back((k * 37) % 100 + 1);
    FrameTimeSummary summary = SummariseFrameTimes(ms);
    EXPECT_DOUBLE_EQ(summary.totalMs, 5050);
    EXPECT_DOUBLE_EQ(summary.meanMs, 50.5);
    EXPECT_DOUBLE_EQ(summary.medianMs, 50); // nearest rank: the 50th of 100
    EXPECT_DOUBLE_EQ(summary.p95Ms, 95);
    EXPECT_DOUBLE_EQ(summary.p99Ms, 99);
    ASSERT_EQ(summary.slowest.size(), 5u);
    const int expectedFrames[] = {27, 54, 81, 8, 35}; // (k * 37) % 100 = 99, 98, 97, 96, 95
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(summary.slowest[i].number, expectedFrames[i]) << i;
        EXPECT_DOUBLE_EQ(summary.slowest[i].ms, 100 - i) << i;
    }

    // Fewer than five frames, and none.
    summary = SummariseFrameTimes({3.0, 7.0});
    EXPECT_DOUBLE_EQ(summary.medianMs, 3.0);
    EXPECT_DOUBLE_EQ(summary.p99Ms, 7.0);
    ASSERT_EQ(summary.slowest.size(), 2u);
    EXPECT_EQ(summary.slowest[0].number, 2);
    EXPECT_TRUE(SummariseFrameTimes({}).slowest.empty());
}

} // namespace
