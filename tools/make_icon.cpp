// make-icon DATA_DIR OUT.png
//
// Draws the program's icon from its own two pictures, read with the program's own loader: the
// middle of t1.bmp, dimmed, with the star glow of star.bmp added over it at twice its size, as the
// scene adds its star sprites. 128 x 128 pixels.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/loader_errors.h"
#include "common/png_file.h"

namespace {

constexpr int IconSide = 128;
constexpr double BackdropShare = 0.6;

struct Image {
    RgbImage* image = nullptr;
    ~Image() {
        if (image) std::free(image->pixels);
        std::free(image);
    }
    // Channel `c` of the pixel at x, y counted from the top row; the loader keeps the bottom row
    // first.
    double At(int x, int y, int c) const {
        x = std::clamp(x, 0, image->width - 1);
        y = std::clamp(y, 0, image->height - 1);
        return image->pixels[(size_t(image->height - 1 - y) * size_t(image->width) + size_t(x)) * 3 + c];
    }
    // Bilinear sample at a position given in the image's own pixels.
    double Sample(double x, double y, int c) const {
        int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
        double fx = x - x0, fy = y - y0;
        double top = At(x0, y0, c) * (1 - fx) + At(x0 + 1, y0, c) * fx;
        double bottom = At(x0, y0 + 1, c) * (1 - fx) + At(x0 + 1, y0 + 1, c) * fx;
        return top * (1 - fy) + bottom * fy;
    }
};

bool Load(const std::string& path, Image& out) {
    // The loader's failure text is printed instead of shown in a box.
    std::string error;
    out.image = LoadBitmapForTool(path.c_str(), error);
    if (!out.image) std::fprintf(stderr, "make-icon: %s: %s\n", path.c_str(), error.c_str());
    return out.image != nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-icon DATA_DIR OUT.png\n");
        return 2;
    }
    std::string folder = argv[1];
    Image backdrop, star;
    if (!Load(folder + "/t1.bmp", backdrop) || !Load(folder + "/star.bmp", star)) return 1;

    RgbPicture icon;
    icon.width = icon.height = IconSide;
    icon.pixels.resize(size_t(IconSide) * IconSide * 3);
    int left = (backdrop.image->width - IconSide) / 2, top = (backdrop.image->height - IconSide) / 2;
    double starScale = double(star.image->width) / IconSide;
    for (int y = 0; y < IconSide; y++)
        for (int x = 0; x < IconSide; x++)
            for (int c = 0; c < 3; c++) {
                double glow = star.Sample((x + 0.5) * starScale - 0.5, (y + 0.5) * starScale - 0.5, c);
                double value = BackdropShare * backdrop.At(left + x, top + y, c) + glow;
                icon.pixels[(size_t(y) * IconSide + x) * 3 + c] =
                    static_cast<uint8_t>(std::min(255.0, value + 0.5));
            }
    std::string error;
    if (!WritePng(argv[2], icon, error)) {
        std::fprintf(stderr, "make-icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
