#include "picture_stats.h"

#include <algorithm>
#include <cstdlib>

namespace {

Box Clip(const RgbPicture& picture, const Box& box) {
    Box clipped;
    clipped.x0 = std::clamp(box.x0, 0, picture.width);
    clipped.x1 = std::clamp(box.x1, 0, picture.width);
    clipped.y0 = std::clamp(box.y0, 0, picture.height);
    clipped.y1 = std::clamp(box.y1, 0, picture.height);
    return clipped;
}

long Area(const Box& box) {
    return box.x1 > box.x0 && box.y1 > box.y0 ? static_cast<long>(box.x1 - box.x0) * (box.y1 - box.y0) : 0;
}

} // namespace

Box WholePicture(const RgbPicture& picture) {
    return Box{0, 0, picture.width, picture.height};
}

double LitShare(const RgbPicture& picture, const Box& box, int threshold) {
    Box b = Clip(picture, box);
    long area = Area(b);
    if (area == 0) return 0;
    long lit = 0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x)
            if (Brightness(picture, x, y) > threshold) ++lit;
    return static_cast<double>(lit) / static_cast<double>(area);
}

LightCentre CentreOfLight(const RgbPicture& picture, const Box& box) {
    Box b = Clip(picture, box);
    LightCentre centre;
    double sumX = 0, sumY = 0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) {
            double w = Brightness(picture, x, y);
            centre.weight += w;
            sumX += w * x;
            sumY += w * y;
        }
    if (centre.weight > 0) {
        centre.x = sumX / centre.weight;
        centre.y = sumY / centre.weight;
    }
    return centre;
}
