// The DIB row conversion: decodes the pixel rows of a device-independent bitmap of any depth the
// format defines (1, 4, 8 bits indexed, RLE8, RLE4, 16, 24, 32 bits, bit-field masks) into a
// 24-bit target whose rows hold blue, green, red bytes and are filled out to a multiple of 4.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;

// The 40-byte info header, field for field.
struct BitmapInfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height; // positive: bottom row first
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
};

// One colour-table entry as stored in a 40-byte header's table.
struct RgbQuad {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};

// Everything the conversion reads. The pointers cover exactly the bytes that may be read.
struct DibSource {
    const BitmapInfoHeader* header = nullptr;
    const RgbQuad* colors = nullptr;
    uint32_t colorCount = 0; // entries behind `colors`; indexes past them give black
    uint32_t masks[3] = {};  // red, green, blue; read only with BI_BITFIELDS
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0; // bytes from `bits` to the end of the file
};

// Bytes per target row: 3 per pixel, filled out to a multiple of 4 (3 * width + width mod 4).
// 0 for a width that is not positive.
uint64_t DibTargetStride(int32_t width);

// Where the source's rows already are target rows (24 bits, uncompressed, every row there but for
// the last one's fill), they can be read where they lie instead of being copied into a target:
// returns them, or null when they have to be converted.
const uint8_t* DibRowsInPlace(const DibSource& source);

// Fills the target with the source's rows in the source's order: |height| rows of
// DibTargetStride(width) bytes each, `targetSize` bytes in all. Pixels that a run-length source
// skips keep what the target held. Returns the number of rows converted, 0 for a source it
// refuses (unknown depth or compression, fewer bytes than the rows need, a target too small).
uint32_t ConvertDibRows(const DibSource& source, uint8_t* target, size_t targetSize);
