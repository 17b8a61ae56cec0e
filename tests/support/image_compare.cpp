#include "support/image_compare.h"

#include <cstdlib>

ImageDifference CompareImages(const RgbPicture& actual, const RgbPicture& expected, int channelThreshold) {
    ImageDifference result;
    result.sameSize = actual.width == expected.width && actual.height == expected.height &&
                      actual.pixels.size() == expected.pixels.size();
    if (!result.sameSize || actual.pixels.empty()) return result;
    size_t differing = 0;
    double total = 0.0;
    for (size_t i = 0; i < actual.pixels.size(); i += 3) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c) {
            int d =
                std::abs(static_cast<int>(actual.pixels[i + c]) - static_cast<int>(expected.pixels[i + c]));
            total += d;
            if (d > worst) worst = d;
        }
        if (worst > channelThreshold) ++differing;
        if (worst > result.largest) result.largest = worst;
    }
    size_t pixels = actual.pixels.size() / 3;
    result.differingShare = static_cast<double>(differing) / static_cast<double>(pixels);
    result.meanAbsolute = total / static_cast<double>(actual.pixels.size());
    return result;
}
