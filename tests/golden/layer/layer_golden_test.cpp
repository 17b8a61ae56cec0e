// The golden runs drawn through the GL layer (quorvane-capture-layer, on OpenGL ES 3.0) and held
// against the same references as the program's own frames. Each run prints one line of the table:
// the share of pixels within 2, 6 and 16 levels of the reference, and the largest difference.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/golden_runs.h"
#include "support/image_compare.h"

namespace {

double ShareWithin(const RgbPicture& actual, const RgbPicture& expected, int levels) {
    return 100.0 * (1.0 - CompareImages(actual, expected, levels).differingShare);
}

class LayerGoldenTest : public ::testing::TestWithParam<GoldenRun> {};

// The layer repeats the fixed-function pipeline's arithmetic, so it is held to the program's own
// golden tolerance, lit frames included.
TEST_P(LayerGoldenTest, MatchesTheFixedFunctionReference) {
    const GoldenRun& run = GetParam();
    std::vector<RgbPicture> pictures =
        CaptureFrames("quorvane-capture-layer", run.frames, run.shots, run.input);
    if (HasFailure()) return;
    for (size_t i = 0; i < run.shots.size(); ++i) {
        const std::string shot = run.name + "-" + std::to_string(run.shots[i]);
        RgbPicture expected;
        std::string error;
        ASSERT_TRUE(ReadPng(GoldenReferencePath(run.name, run.shots[i]), expected, error)) << error;
        ImageDifference d = CompareImages(pictures[i], expected, GoldenChannelThreshold);
        std::printf(
            "layer-golden %-18s within 2: %8.4f%%  within 6: %8.4f%%  within 16: %8.4f%%  largest %3d\n",
            shot.c_str(), ShareWithin(pictures[i], expected, 2), ShareWithin(pictures[i], expected, 6),
            ShareWithin(pictures[i], expected, 16), d.largest);
        EXPECT_TRUE(WithinGoldenTolerance(d)) << shot << ": mean difference " << d.meanAbsolute;
    }
}

// What the panel pushes it pops: the layer's state after it is the state before it.
TEST(LayerHelpPanel, OnceHiddenAgainTheFramesAreThoseOfARunWithoutIt) {
    ExpectHelpPanelLeavesNoTrace("quorvane-capture-layer");
}

INSTANTIATE_TEST_SUITE_P(Runs, LayerGoldenTest, ::testing::ValuesIn(GoldenRuns()),
                         [](const ::testing::TestParamInfo<GoldenRun>& info) {
                             return GoldenTestName(info.param);
                         });

} // namespace
