// The golden runs of tests/golden/runs.txt and their reference pictures, shared by every tier that
// holds frames against them: the program's own and the GL layer's.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "common/png_file.h"

struct GoldenRun {
    std::string name;
    int frames = 0;
    std::vector<int> shots;
    std::string base;  // "" for none
    std::string input; // the base's input, then this run's own
};

void PrintTo(const GoldenRun& run, std::ostream* out);
// The name as a test name: letters, digits and underscores.
std::string GoldenTestName(const GoldenRun& run);

// The runs of runs.txt in order; `error` tells what is wrong with the table, if anything.
std::vector<GoldenRun> ReadGoldenRuns(std::string& error);
// The table as the tests are made from it; what is wrong with it is reported by the table's own test.
const std::vector<GoldenRun>& GoldenRuns();

std::string GoldenFolder();
std::string GoldenReferencePath(const std::string& run, int shot);

// Frames `shots` of a run of `capture` (a capture program of this build, by file name) with
// `input`, read back. The capture gets 90 s, enough for 150 frames in the sanitizer build on a
// loaded machine.
std::vector<RgbPicture> CaptureFrames(const std::string& capture, int frames, const std::vector<int>& shots,
                                      const std::string& input);

// The help panel, shown from frame 51 to frame 70 of a run of `capture`, shows, and the frames
// after it are those of a run without it, bit for bit.
void ExpectHelpPanelLeavesNoTrace(const std::string& capture);
