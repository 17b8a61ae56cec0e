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

// The golden-image tolerance: a pixel counts as different when a channel differs by more than
// GoldenChannelThreshold; a picture matches when no more than GoldenMaxDifferingShare of its
// pixels differ and the mean difference is no more than GoldenMaxMeanDifference. Mesa's
// rasteriser gives the same bytes run after run on one machine; the margin is for other CPUs.
constexpr int GoldenChannelThreshold = 24;
constexpr double GoldenMaxDifferingShare = 0.002;
constexpr double GoldenMaxMeanDifference = 0.5;
inline bool WithinGoldenTolerance(const ImageDifference& d) {
    return d.sameSize && d.differingShare <= GoldenMaxDifferingShare &&
           d.meanAbsolute <= GoldenMaxMeanDifference;
}
