// Comparison of a rendered picture with a reference, with a tolerance for the small differences
// that another CPU's rasteriser may give.
#pragma once

#include "common/png_file.h"

struct ImageDifference {
    bool sameSize = false;
    double differingShare = 0.0; // share of pixels whose largest channel difference exceeds the threshold
    double meanAbsolute = 0.0;   // mean absolute difference over every channel of every pixel
    int largest = 0;             // largest channel difference anywhere
};

ImageDifference CompareImages(const RgbPicture& actual, const RgbPicture& expected, int channelThreshold);

// The golden-image tolerance. Mesa's rasteriser gives the same bytes run after run on one machine,
// in the normal and the sanitizer build alike: a picture matches when no channel is more than
// GoldenChannelThreshold off and the mean difference stays below GoldenMaxMeanDifference (one
// channel value in a hundred off by one).
constexpr int GoldenChannelThreshold = 2;
constexpr double GoldenMaxMeanDifference = 0.01;
inline bool WithinGoldenTolerance(const ImageDifference& d) {
    return d.sameSize && d.largest <= GoldenChannelThreshold && d.meanAbsolute <= GoldenMaxMeanDifference;
}
