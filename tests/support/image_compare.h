// Comparison of a rendered picture with a reference, with a tolerance for the small differences
// that another CPU's rasteriser may give.
#pragma once

#include <string>
#include <vector>

#include "common/png_file.h"

struct ImageDifference {
    bool sameSize = false;
    double differingShare = 0.0; // share of pixels whose largest channel difference exceeds the threshold
    double meanAbsolute = 0.0;   // mean absolute difference over every channel of every pixel
    int largest = 0;             // largest channel difference anywhere
};

ImageDifference CompareImages(const RgbPicture& actual, const RgbPicture& expected, int channelThreshold);

// Runs a program (argv[0] is its path) in `directory` and returns its exit code, or -1 when it
// could not be started, did not exit normally or was still running after `seconds` (then it is
// killed). Standard output and error go to `output`.
int RunProgram(const std::vector<std::string>& argv, const std::string& directory,
               std::string* output = nullptr, double seconds = 30.0);
