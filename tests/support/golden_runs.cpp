#include "support/golden_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "support/test_support.h"

void PrintTo(const GoldenRun& run, std::ostream* out) {
    *out << run.name;
}

std::string GoldenTestName(const GoldenRun& run) {
    std::string name = run.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

std::string GoldenFolder() {
    return std::string(QUORVANE_SOURCE_DIR) + "/tests/golden/";
}

std::vector<GoldenRun> ReadGoldenRuns(std::string& error) {
    std::ifstream file(GoldenFolder() + "runs.txt");
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

const std::vector<GoldenRun>& GoldenRuns() {
    static std::string ignored;
    static const std::vector<GoldenRun> runs = ReadGoldenRuns(ignored);
    return runs;
}

std::string GoldenReferencePath(const std::string& run, int shot) {
    return GoldenFolder() + "reference/" + run + "-" + std::to_string(shot) + ".png";
}

std::vector<RgbPicture> CaptureFrames(const std::string& capture, int frames, const std::vector<int>& shots,
                                      const std::string& input) {
    TempDir out;
    std::string list, output, error;
    for (int shot : shots) list += (list.empty() ? "" : ",") + std::to_string(shot);
    EXPECT_EQ(RunProgram({std::string(QUORVANE_BINARY_DIR) + "/" + capture, "--frames",
                          std::to_string(frames), "--shots", list, "--out", out.Path(), "--input", input},
                         QUORVANE_SOURCE_DIR, &output, 90.0),
              0)
        << output;
    // The GL layer's own lines say what it was asked and did not do as GL would.
    EXPECT_EQ(output.find("GL layer:"), std::string::npos) << output;
    std::vector<RgbPicture> pictures(shots.size());
    for (size_t i = 0; i < shots.size(); i++)
        EXPECT_TRUE(ReadPng(out.File("frame-" + std::to_string(shots[i]) + ".png"), pictures[i], error))
            << error;
    return pictures;
}

void ExpectHelpPanelLeavesNoTrace(const std::string& capture) {
    const std::vector<int> shots = {60, 72, 100};
    std::vector<RgbPicture> with = CaptureFrames(capture, 100, shots, "50:down:H 51:up:H 70:down:H 71:up:H");
    std::vector<RgbPicture> without = CaptureFrames(capture, 100, shots, "");
    ASSERT_EQ(with.size(), 3u);
    EXPECT_NE(with[0].pixels, without[0].pixels) << "the panel did not show";
    EXPECT_EQ(with[1].pixels, without[1].pixels);
    EXPECT_EQ(with[2].pixels, without[2].pixels);
}
