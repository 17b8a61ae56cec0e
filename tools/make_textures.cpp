// make-textures [DIR]
//
// Writes the scene's two pictures as 24-bit bitmap files into DIR (default "data"):
//   t1.bmp   256 x 256, a tiled mosaic over a flowing colour field, with fine rings and lines so
//            that nearest, linear and mipmapped filtering look different; it repeats seamlessly.
//   star.bmp 64 x 64, a soft white glow with a faint cross on black; the scene tints it and adds
//            it to the frame, so black adds nothing and the edges fade to exactly black.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/little_endian.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

struct Picture {
    int width;
    int height;
    std::vector<uint8_t> rgb; // top row first
};

// File header, 40-byte info header, then the rows bottom first, blue green red, padded to 4.
bool WriteBmp24(const std::string& path, const Picture& picture) {
    uint32_t stride = (uint32_t(picture.width) * 3 + 3) & ~3u;
    uint32_t imageSize = stride * uint32_t(picture.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, uint32_t(picture.width));
    Put32(out, uint32_t(picture.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = picture.height - 1; y >= 0; y--) {
        const uint8_t* row = &picture.rgb[size_t(y) * picture.width * 3];
        for (int x = 0; x < picture.width; x++) {
            out.push_back(row[3 * x + 2]);
            out.push_back(row[3 * x + 1]);
            out.push_back(row[3 * x]);
        }
        for (uint32_t pad = uint32_t(picture.width) * 3; pad < stride; pad++) out.push_back(0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

double Clamp01(double v) {
    return std::min(1.0, std::max(0.0, v));
}
uint8_t Byte(double v) {
    return uint8_t(std::lround(Clamp01(v) * 255.0));
}

// Hue 0..1 around the colour wheel, full saturation and value.
void Hue(double h, double rgb[3]) {
    for (int i = 0; i < 3; i++) {
        double k = std::fmod(h * 6.0 + (i == 0 ? 5.0 : i == 1 ? 3.0 : 1.0), 6.0);
        rgb[i] = 1.0 - std::max(0.0, std::min({k, 4.0 - k, 1.0}));
    }
}

Picture MakeMosaic() {
    const int size = 256;
    const int tile = 32;
    Picture picture{size, size, std::vector<uint8_t>(size_t(size) * size * 3)};
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            // A flowing colour field; every period divides 256, so the picture repeats seamlessly.
            double u = 2.0 * Pi * x / size;
            double v = 2.0 * Pi * y / size;
            double field = std::sin(u) + std::sin(v + 0.5 * std::sin(u)) + 0.5 * std::sin(2.0 * (u + v)) +
                           0.5 * std::cos(3.0 * u - v);
            double colour[3];
            Hue(0.58 + field * 0.16, colour);

            // Tiles with a bevel: lit from the top left, shaded towards the bottom right.
            int tx = x % tile;
            int ty = y % tile;
            double shade = 0.78;
            if (tx < 2 || ty < 2) shade = 1.0;
            if (tx >= tile - 2 || ty >= tile - 2) shade = 0.42;
            if (tx == 0 || ty == 0) shade = 0.18; // the grout line

            // Inside each tile: thin concentric rings and a diagonal cross, one pixel wide.
            double cx = tx - (tile - 1) / 2.0;
            double cy = ty - (tile - 1) / 2.0;
            double radius = std::sqrt(cx * cx + cy * cy);
            double ring = std::fabs(std::fmod(radius, 5.0) - 2.5) < 0.55 ? 1.0 : 0.0;
            bool inner = tx >= 3 && ty >= 3 && tx < tile - 3 && ty < tile - 3;
            bool cross = inner && (tx == ty || tx + ty == tile - 1);
            bool checker = ((x / tile + y / tile) & 1) != 0;

            double rgb[3];
            for (int i = 0; i < 3; i++) {
                double base = colour[i] * 0.75 + 0.12;
                if (checker) base = 0.25 + 0.6 * colour[(i + 1) % 3]; // alternate tiles take the next hue
                if (inner && ring > 0) base = base * 0.55 + 0.45;
                if (cross) base = 1.0 - base * 0.8;
                rgb[i] = base * shade;
            }
            uint8_t* out = &picture.rgb[(size_t(y) * size + x) * 3];
            for (int i = 0; i < 3; i++) out[i] = Byte(rgb[i]);
        }
    }
    return picture;
}

Picture MakeStar() {
    const int size = 64;
    Picture picture{size, size, std::vector<uint8_t>(size_t(size) * size * 3)};
    double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            double dx = x - centre;
            double dy = y - centre;
            double t = std::sqrt(dx * dx + dy * dy) / (size / 2.0);
            double fade = Clamp01(1.0 - t);
            double glow = 0.75 * fade * fade + 0.35 * std::exp(-t * t * 40.0);
            double cross =
                0.35 * fade * fade * fade * (std::exp(-std::fabs(dx) / 1.2) + std::exp(-std::fabs(dy) / 1.2));
            double value = glow + cross;
            uint8_t* out = &picture.rgb[(size_t(y) * size + x) * 3];
            // A touch warmer in the core, white further out.
            out[0] = Byte(value);
            out[1] = Byte(value * 0.97);
            out[2] = Byte(value * 0.92);
        }
    }
    return picture;
}

} // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "data";
    bool ok = WriteBmp24(dir + "/t1.bmp", MakeMosaic());
    ok = WriteBmp24(dir + "/star.bmp", MakeStar()) && ok;
    if (!ok) {
        std::fprintf(stderr, "make-textures: cannot write into %s\n", dir.c_str());
        return 1;
    }
    std::printf("wrote %s/t1.bmp and %s/star.bmp\n", dir.c_str(), dir.c_str());
    return 0;
}
