#include "probe_pictures.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <vector>

namespace {

struct Rgb {
    uint8_t r, g, b;
};

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A 24-bit Windows bitmap with the file header and a 40-byte info header: bottom row first, each
// row blue-green-red and padded to four bytes.
bool WriteBitmap(const std::string& path, int width, int height,
                 const std::function<Rgb(int x, int y)>& pixel) {
    uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    PutLittleEndian(bytes, 54 + imageBytes, 4);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, 54, 4);
    PutLittleEndian(bytes, 40, 4);
    PutLittleEndian(bytes, static_cast<uint32_t>(width), 4);
    PutLittleEndian(bytes, static_cast<uint32_t>(height), 4);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 24, 2);
    PutLittleEndian(bytes, 0, 4); // no compression
    PutLittleEndian(bytes, imageBytes, 4);
    PutLittleEndian(bytes, 2835, 4);
    PutLittleEndian(bytes, 2835, 4);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, 0, 4);
    for (int row = height - 1; row >= 0; --row) {
        size_t start = bytes.size();
        for (int x = 0; x < width; ++x) {
            Rgb p = pixel(x, row);
            bytes.push_back(p.b);
            bytes.push_back(p.g);
            bytes.push_back(p.r);
        }
        bytes.resize(start + rowBytes, 0);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

bool WriteCheckerPicture(const std::string& path) {
    return WriteBitmap(path, 256, 256, [](int x, int y) {
        uint8_t v = (x + y) % 2 ? 255 : 40;
        return Rgb{v, v, v};
    });
}

bool WriteDimPicture(const std::string& path) {
    return WriteBitmap(path, 64, 64, [](int, int) { return Rgb{16, 16, 16}; });
}

bool WriteGlowPicture(const std::string& path) {
    return WriteBitmap(path, 64, 64, [](int x, int y) {
        double r = std::hypot(x - 31.5, y - 31.5) / 32.0;
        double fall = std::max(0.0, 1.0 - r);
        auto v = static_cast<uint8_t>(255.0 * fall * fall);
        return Rgb{v, v, v};
    });
}

bool WriteCornerSquaresPicture(const std::string& path) {
    return WriteBitmap(path, 64, 64, [](int x, int y) {
        bool corner = (x < 16 || x >= 48) && (y < 16 || y >= 48);
        uint8_t v = corner ? 255 : 0;
        return Rgb{v, v, v};
    });
}

bool MakeDataFolder(const std::string& folder, bool (*writeT1)(const std::string&),
                    bool (*writeStar)(const std::string&)) {
    std::string data = folder + "/data";
    mkdir(data.c_str(), 0755);
    return writeT1(data + "/t1.bmp") && writeStar(data + "/star.bmp");
}
