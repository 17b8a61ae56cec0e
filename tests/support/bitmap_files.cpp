#include "support/bitmap_files.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "common/little_endian.h"

namespace {

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

std::vector<uint8_t> BuildBitmap(const BitmapParts& parts) {
    std::vector<uint8_t> info;
    Put32(info, parts.headerSize);
    if (parts.headerSize == 12) {
        Put16(info, uint32_t(parts.width));
        Put16(info, uint32_t(parts.height));
        Put16(info, parts.planes);
        Put16(info, parts.bitCount);
    } else {
        Put32(info, uint32_t(parts.width));
        Put32(info, uint32_t(parts.height));
        Put16(info, parts.planes);
        Put16(info, parts.bitCount);
        Put32(info, parts.compression);
        Put32(info, parts.sizeImage);
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, parts.clrUsed);
        Put32(info, 0);
        while (info.size() < parts.headerSize) info.push_back(0);
    }
    size_t headerBytes = parts.fileHeader ? 14 : 0;
    uint32_t offBits = parts.offBits
                           ? parts.offBits
                           : uint32_t(headerBytes + info.size() + parts.table.size() + parts.gap.size());
    std::vector<uint8_t> out;
    if (parts.fileHeader) {
        out.push_back('B');
        out.push_back('M');
        Put32(out, uint32_t(offBits + parts.bits.size()));
        Put32(out, 0);
        Put32(out, offBits);
    }
    Append(out, info);
    Append(out, parts.table);
    Append(out, parts.gap);
    while (out.size() < offBits) out.push_back(0xEE);
    Append(out, parts.bits);
    return out;
}

std::vector<uint8_t> Rows24(int width, int height, const std::vector<uint8_t>& rgb, bool topDown) {
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> out(stride * height, 0);
    for (int y = 0; y < height; y++) {
        int fileRow = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; x++) {
            const uint8_t* in = &rgb[(size_t(y) * width + x) * 3];
            uint8_t* px = &out[fileRow * stride + x * 3];
            px[0] = in[2];
            px[1] = in[1];
            px[2] = in[0];
        }
    }
    return out;
}

std::vector<uint8_t> Table(const std::vector<uint8_t>& rgb, bool core) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        out.push_back(rgb[i + 2]);
        out.push_back(rgb[i + 1]);
        out.push_back(rgb[i]);
        if (!core) out.push_back(0);
    }
    return out;
}

void ImageFree::operator()(RgbImage* image) const {
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}

ImagePtr Decode(const std::vector<uint8_t>& bytes) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    return ImagePtr(DecodeBitmapImage(copy.get(), bytes.size()));
}

ImagePtr Load(const std::string& path) {
    return ImagePtr(LoadBitmapImage(path.c_str()));
}

std::vector<uint8_t> Pixels(const RgbImage& image) {
    return std::vector<uint8_t>(image.pixels, image.pixels + size_t(image.width) * image.height * 3);
}

std::vector<uint8_t> TopRowFirst(const RgbImage& image) {
    size_t rowBytes = size_t(image.width) * 3;
    std::vector<uint8_t> out(rowBytes * image.height);
    for (int32_t row = 0; row < image.height; row++)
        std::memcpy(&out[(image.height - 1 - row) * rowBytes], image.pixels + row * rowBytes, rowBytes);
    return out;
}

uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
    return hash;
}

bool ReadPpm(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgb) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != 255) return false;
    in.get(); // the one whitespace byte after the header
    rgb.assign(size_t(width) * height * 3, 0);
    in.read(reinterpret_cast<char*>(rgb.data()), std::streamsize(rgb.size()));
    return bool(in);
}

std::vector<uint8_t> BottomFirst(int width, int height, const std::vector<uint8_t>& topFirst) {
    std::vector<uint8_t> out;
    for (int y = height - 1; y >= 0; y--)
        out.insert(out.end(), topFirst.begin() + y * width * 3, topFirst.begin() + (y + 1) * width * 3);
    return out;
}
