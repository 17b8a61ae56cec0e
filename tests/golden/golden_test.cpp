// Golden images: chosen frames of scripted runs of the real program (through quorvane-capture),
// compared with reference pictures that a person has looked at. The runs are listed in runs.txt;
// scripts/update-golden.sh makes the pictures. These tests only read them.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <set>

#include "support/golden_runs.h"
#include "support/image_compare.h"

namespace {

// A run differs clearly from its base when at least 1 % of the pixels are more than the tolerated
// difference apart: a patch of about 55 x 55 pixels.
constexpr double MinChangedShare = 0.01;

TEST(GoldenRuns, TheTableIsSoundAndEveryReferenceBelongsToARun) {
    std::string error;
    std::vector<GoldenRun> runs = ReadGoldenRuns(error);
    EXPECT_EQ(error, "");
    EXPECT_FALSE(runs.empty());
    std::set<std::string> expected, present;
    for (const GoldenRun& run : runs)
        for (int shot : run.shots) expected.insert(GoldenReferencePath(run.name, shot));
    for (const auto& entry : std::filesystem::directory_iterator(GoldenFolder() + "reference"))
        present.insert(entry.path().string());
    EXPECT_EQ(present, expected) << "scripts/update-golden.sh writes exactly the pictures of the table";
}

std::vector<RgbPicture> CaptureFrames(int frames, const std::vector<int>& shots, const std::string& input) {
    return ::CaptureFrames("quorvane-capture", frames, shots, input);
}

class GoldenTest : public ::testing::TestWithParam<GoldenRun> {};

TEST_P(GoldenTest, MatchesTheReferenceAndDiffersFromItsBase) {
    const GoldenRun& run = GetParam();
    std::vector<RgbPicture> pictures = CaptureFrames(run.frames, run.shots, run.input);
    if (HasFailure()) return;

    for (size_t i = 0; i < run.shots.size(); ++i) {
        const int shot = run.shots[i];
        const RgbPicture& actual = pictures[i];
        SCOPED_TRACE(run.name + " frame " + std::to_string(shot));
        RgbPicture expected;
        std::string error;
        ASSERT_TRUE(ReadPng(GoldenReferencePath(run.name, shot), expected, error)) << error;
        ImageDifference d = CompareImages(actual, expected, GoldenChannelThreshold);
        bool same = WithinGoldenTolerance(d);
        if (!same) {
            // Keep the picture for whoever has to look at the difference.
            std::string kept = std::string(QUORVANE_BINARY_DIR) + "/golden-failures";
            std::filesystem::create_directories(kept);
            WritePng(kept + "/" + run.name + "-" + std::to_string(shot) + ".png", actual, error);
        }
        EXPECT_TRUE(same) << d.differingShare * 100 << "% of pixels differ by more than "
                          << GoldenChannelThreshold << ", mean difference " << d.meanAbsolute << ", largest "
                          << d.largest << " (picture kept in build/golden-failures/)";
        if (run.base.empty()) continue;

        RgbPicture base;
        ASSERT_TRUE(ReadPng(GoldenReferencePath(run.base, shot), base, error)) << error;
        ImageDifference fromBase = CompareImages(actual, base, GoldenChannelThreshold);
        std::cout << run.name << " frame " << shot << " differs from " << run.base << " on "
                  << fromBase.differingShare * 100 << "% of pixels, mean difference " << fromBase.meanAbsolute
                  << "\n";
        EXPECT_GE(fromBase.differingShare, MinChangedShare)
            << "hardly different from " << run.base << ": what this run adds does not show";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenTest, ::testing::ValuesIn(GoldenRuns()),
                         [](const ::testing::TestParamInfo<GoldenRun>& info) {
                             return GoldenTestName(info.param);
                         });

TEST(HelpPanel, OnceHiddenAgainTheFramesAreThoseOfARunWithoutIt) {
    ExpectHelpPanelLeavesNoTrace("quorvane-capture");
}

} // namespace
