// Golden images: chosen frames of scripted runs of the real program (through quorvane-capture),
// compared with reference pictures that a person has looked at.
//
// To make new references after a deliberate change of the picture:
//   QUORVANE_UPDATE_GOLDEN=1 ./build/tests/golden_tests
// then look at every changed file in tests/golden/reference/ before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/image_compare.h"
#include "support/test_support.h"

namespace {

struct GoldenRun {
    const char* name;
    int frames;
    std::vector<int> shots;
    const char* input;
};

// The backdrop slides in front of the triangle, quad, stars and particles until it jumps back
// after frame 600, so runs about those start their input after that.
const GoldenRun Runs[] = {
    {"default", 620, {1, 100, 600, 620}, ""},
    {"drag", 40, {40}, "2:drag:40,-25"},
    {"camera", 40, {40}, "2:down:W 2:down:A 2:down:Q 30:up:W 30:up:A 30:up:Q"},
    {"tab", 640, {640}, "602:down:TAB"},
    {"shift", 640, {640}, "602:down:SHIFT"},
    {"lighting", 620, {620}, "602:down:L 603:up:L"},
    {"blend", 606, {606}, "605:down:B 606:up:B"},
    {"twinkle", 620, {620}, "602:down:T 603:up:T"},
    {"filter_linear", 620, {620}, "602:down:F 603:up:F"},
    {"filter_mipmap", 620, {620}, "602:down:F 603:up:F 604:down:F 605:up:F"},
    {"tilt", 670, {670}, "602:down:UP 662:up:UP"},
    {"rainbow", 700, {700}, "602:down:RETURN 603:up:RETURN"},
    {"palette", 660, {660}, "602:down:SPACE 603:up:SPACE 620:down:SPACE 621:up:SPACE"},
    {"help", 101, {101}, "70:down:H 71:up:H"},
};

std::string ReferencePath(const GoldenRun& run, int shot) {
    return std::string(QUORVANE_SOURCE_DIR) + "/tests/golden/reference/" + run.name + "-" +
           std::to_string(shot) + ".png";
}

class GoldenTest : public ::testing::TestWithParam<GoldenRun> {};

TEST_P(GoldenTest, MatchesTheReference) {
    const GoldenRun& run = GetParam();
    TempDir out;
    std::string shots;
    for (int shot : run.shots) shots += (shots.empty() ? "" : ",") + std::to_string(shot);
    std::vector<std::string> argv = {std::string(QUORVANE_BINARY_DIR) + "/quorvane-capture",
                                     "--frames",
                                     std::to_string(run.frames),
                                     "--shots",
                                     shots,
                                     "--out",
                                     out.Path()};
    if (*run.input) {
        argv.push_back("--input");
        argv.push_back(run.input);
    }
    std::string output;
    ASSERT_EQ(RunProgram(argv, QUORVANE_SOURCE_DIR, &output), 0) << output;

    bool update = std::getenv("QUORVANE_UPDATE_GOLDEN") != nullptr;
    for (int shot : run.shots) {
        std::string actualPath = out.File("frame-" + std::to_string(shot) + ".png");
        std::string expectedPath = ReferencePath(run, shot);
        if (update) {
            std::filesystem::copy_file(actualPath, expectedPath,
                                       std::filesystem::copy_options::overwrite_existing);
            continue;
        }
        RgbPicture actual, expected;
        std::string error;
        ASSERT_TRUE(ReadPng(actualPath, actual, error)) << error;
        ASSERT_TRUE(ReadPng(expectedPath, expected, error)) << error;
        ImageDifference d = CompareImages(actual, expected, GoldenChannelThreshold);
        bool ok = WithinGoldenTolerance(d);
        if (!ok) {
            // Keep the picture for whoever has to look at the difference.
            std::string kept = std::string(QUORVANE_BINARY_DIR) + "/golden-failures";
            std::filesystem::create_directories(kept);
            std::filesystem::copy_file(actualPath,
                                       kept + "/" + run.name + "-" + std::to_string(shot) + ".png",
                                       std::filesystem::copy_options::overwrite_existing);
        }
        EXPECT_TRUE(ok) << run.name << " frame " << shot << ": " << d.differingShare * 100
                        << "% of pixels differ, mean difference " << d.meanAbsolute << ", largest "
                        << d.largest << " (picture kept in build/golden-failures/)";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenTest, ::testing::ValuesIn(Runs),
                         [](const ::testing::TestParamInfo<GoldenRun>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// Frames `shots` of a capture run with `input`, read back.
std::vector<RgbPicture> CaptureFrames(int frames, const std::vector<int>& shots, const std::string& input) {
    TempDir out;
    std::string list, output, error;
    for (int shot : shots) list += (list.empty() ? "" : ",") + std::to_string(shot);
    EXPECT_EQ(RunProgram({std::string(QUORVANE_BINARY_DIR) + "/quorvane-capture", "--frames",
                          std::to_string(frames), "--shots", list, "--out", out.Path(), "--input", input},
                         QUORVANE_SOURCE_DIR, &output),
              0)
        << output;
    std::vector<RgbPicture> pictures(shots.size());
    for (size_t i = 0; i < shots.size(); i++)
        EXPECT_TRUE(ReadPng(out.File("frame-" + std::to_string(shots[i]) + ".png"), pictures[i], error))
            << error;
    return pictures;
}

TEST(HelpPanel, OnceHiddenAgainTheFramesAreThoseOfARunWithoutIt) {
    // Shown from frame 51 to frame 70; the frames after that must not differ in a single bit.
    const std::vector<int> shots = {60, 72, 100};
    std::vector<RgbPicture> with = CaptureFrames(100, shots, "50:down:H 51:up:H 70:down:H 71:up:H");
    std::vector<RgbPicture> without = CaptureFrames(100, shots, "");
    ASSERT_EQ(with.size(), 3u);
    EXPECT_NE(with[0].pixels, without[0].pixels) << "the panel did not show";
    EXPECT_EQ(with[1].pixels, without[1].pixels);
    EXPECT_EQ(with[2].pixels, without[2].pixels);
}

} // namespace
