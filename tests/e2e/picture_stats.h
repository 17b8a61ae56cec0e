// Simple measures of screenshots: how much of a region is lit, where its light is centred, how
// much sharp detail it holds.
#pragma once

#include "common/png_file.h"

// A rectangle of pixels, [x0, x1) x [y0, y1).
struct Box {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

Box WholePicture(const RgbPicture& picture);

// Sum of the three channels, 0 to 765.
inline int Brightness(const RgbPicture& picture, int x, int y) {
    const uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x) * 3];
    return p[0] + p[1] + p[2];
}

// Share of the pixels of `box` brighter than `threshold` (channel sum), 0 to 1.
double LitShare(const RgbPicture& picture, const Box& box, int threshold = 30);

// The brightness-weighted centre of `box`, in picture coordinates; `weight` is the total
// brightness (0 when the box is black, and then x and y mean nothing).
struct LightCentre {
    double x = 0;
    double y = 0;
    double weight = 0;
};
LightCentre CentreOfLight(const RgbPicture& picture, const Box& box);
