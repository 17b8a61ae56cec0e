// Golden images: chosen frames of scripted runs of the real program (through quorvane-capture),
// compared with reference pictures that a person has looked at. The runs are listed in runs.txt;
// scripts/update-golden.sh makes the pictures. These tests only read them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "support/image_compare.h"
#include "support/test_support.h"

namespace {

const std::string GoldenFolder = std::string(QUORVANE_SOURCE_DIR) + "/tests/golden/";

// A run differs clearly from its base when at least 1 % of the pixels are more than the tolerated
// difference apart: a patch of about 55 x 55 pixels.
constexpr double MinChangedShare = 0.01;

struct GoldenRun {
    std::string name;
    int frames = 0;
    std::vector<int> shots;
    std::string base;  // "" for none
    std::string input; // the base's input, then this run's own
};

void PrintTo(const GoldenRun& run, std::ostream* out) {
    *out << run.name;
}

// The runs of runs.txt in order; `error` tells what is wrong with the table, if anything.
std::vector<GoldenRun> ReadRuns(std::string& error) {
    std::ifstream file(GoldenFolder + "runs.txt");
    if (!file) error = "cannot read runs.txt";
    std::vector<GoldenRun> runs;
    std::map<std::string, GoldenRun> byName;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GoldenRun run;
        std::string shots, own;
        fields >> run.name >> run.frames >> shots >> run.base;
        std::getline(fields >> std::ws, own);
        std::istringstream shotList(shots);
        for (std::string shot; std::getline(shotList, shot, ',');)
            run.shots.push_back(std::atoi(shot.c_str()));
        if (run.base == "-") run.base.clear();
        if (!run.base.empty()) {
            if (!byName.count(run.base)) {
                error += run.name + ": no earlier run named " + run.base + "; ";
                continue;
            }
            const GoldenRun& base = byName[run.base];
            for (int shot : run.shots)
                if (std::find(base.shots.begin(), base.shots.end(), shot) == base.shots.end())
                    error += run.name + ": " + run.base + " takes no shot " + std::to_string(shot) + "; ";
            run.input = base.input;
        }
        run.input += (run.input.empty() || own.empty() ? "" : " ") + own;
        for (int shot : run.shots)
            if (shot < 1 || shot > run.frames) error += run.name + ": shot " + std::to_string(shot) + "; ";
        if (run.name.empty() || run.shots.empty()) error += "unreadable line: " + line + "; ";
        byName[run.name] = run;
        runs.push_back(run);
    }
    return runs;
}

// The table as the tests are made from it; what is wrong with it is reported by the test below.
const std::vector<GoldenRun>& Runs() {
    static std::string ignored;
    static const std::vector<GoldenRun> runs = ReadRuns(ignored);
    return runs;
}

std::string ReferencePath(const std::string& run, int shot) {
    return GoldenFolder + "reference/" + run + "-" + std::to_string(shot) + ".png";
}

TEST(GoldenRuns, TheTableIsSoundAndEveryReferenceBelongsToARun) {
    std::string error;
    std::vector<GoldenRun> runs = ReadRuns(error);
    EXPECT_EQ(error, "");
    EXPECT_FALSE(runs.empty());
    std::set<std::string> expected, present;
    for (const GoldenRun& run : runs)
        for (int shot : run.shots) expected.insert(ReferencePath(run.name, shot));
    for (const auto& entry : std::filesystem::directory_iterator(GoldenFolder + "reference"))
        present.insert(entry.path().string());
    EXPECT_EQ(present, expected) << "scripts/update-golden.sh writes exactly the pictures of the table";
}

// Frames `shots` of a capture run with `input`, read back. The capture gets 90 s, enough for 150
// frames in the sanitizer build on a loaded machine.
std::vector<RgbPicture> CaptureFrames(int frames, const std::vector<int>& shots, const std::string& input) {
    TempDir out;
    std::string list, output, error;
    for (int shot : shots) list += (list.empty() ? "" : ",") + std::to_string(shot);
    EXPECT_EQ(RunProgram({std::string(QUORVANE_BINARY_DIR) + "/quorvane-capture", "--frames",
                          std::to_string(frames), "--shots", list, "--out", out.Path(), "--input", input},
                         QUORVANE_SOURCE_DIR, &output, 90.0),
              0)
        << output;
    std::vector<RgbPicture> pictures(shots.size());
    for (size_t i = 0; i < shots.size(); i++)
        EXPECT_TRUE(ReadPng(out.File("frame-" + std::to_string(shots[i]) + ".png"), pictures[i], error))
            << error;
    return pictures;
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
        ASSERT_TRUE(ReadPng(ReferencePath(run.name, shot), expected, error)) << error;
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
        ASSERT_TRUE(ReadPng(ReferencePath(run.base, shot), base, error)) << error;
        ImageDifference fromBase = CompareImages(actual, base, GoldenChannelThreshold);
        std::cout << run.name << " frame " << shot << " differs from " << run.base << " on "
                  << fromBase.differingShare * 100 << "% of pixels, mean difference " << fromBase.meanAbsolute
                  << "\n";
        EXPECT_GE(fromBase.differingShare, MinChangedShare)
            << "hardly different from " << run.base << ": what this run adds does not show";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenTest, ::testing::ValuesIn(Runs()),
                         [](const ::testing::TestParamInfo<GoldenRun>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

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
