// Hand-made bitmap files for the loader's tests, and small helpers around RgbImage.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/bitmap_loader.h"

// The parts of a bitmap file; BuildBitmap lays them out in this order: file header (optional),
// info header, colour table, `gap`, pixel data. `offBits` 0 means "directly after the gap".
struct BitmapParts {
    bool fileHeader = true;
    uint32_t headerSize = 40; // 12 writes the core layout; any other size the 40-byte fields, padded
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    std::vector<uint8_t> table; // raw colour-table bytes (3 per entry after a 12-byte header, else 4)
    std::vector<uint8_t> gap;   // bytes between the table and the pixel data (masks, padding)
    std::vector<uint8_t> bits;
    uint32_t offBits = 0;
};

std::vector<uint8_t> BuildBitmap(const BitmapParts& parts);

// Rows of 24-bit pixels for a file: `rgb` holds the picture top row first, red green blue; the
// result is bottom row first (or top first when `topDown`), blue green red, rows padded to 4.
std::vector<uint8_t> Rows24(int width, int height, const std::vector<uint8_t>& rgb, bool topDown = false);

// A packed RGB picture given top row first, turned bottom row first as the loader returns it.
std::vector<uint8_t> BottomFirst(int width, int height, const std::vector<uint8_t>& topFirst);

// A colour table of `count` 4-byte entries (3-byte when `core`) from red green blue triples.
std::vector<uint8_t> Table(const std::vector<uint8_t>& rgb, bool core = false);

struct ImageFree {
    void operator()(RgbImage* image) const;
};
using ImagePtr = std::unique_ptr<RgbImage, ImageFree>;

// DecodeBitmapImage on an exact-size heap copy, so that AddressSanitizer sees any read past the end.
ImagePtr Decode(const std::vector<uint8_t>& bytes);
ImagePtr Load(const std::string& path);

// The image's pixels (bottom row first, as the loader gives them) and the same top row first.
std::vector<uint8_t> Pixels(const RgbImage& image);
std::vector<uint8_t> TopRowFirst(const RgbImage& image);

// 64-bit FNV-1a, for recording what a picture holds without keeping the picture.
uint64_t Fnv1a(const std::vector<uint8_t>& bytes);

// A binary PPM (P6, maxval 255): false when the file is missing or not of that kind.
bool ReadPpm(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgb);
