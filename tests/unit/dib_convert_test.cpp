// The DIB row conversion on its own: the bounds of its target and what it refuses.
#include <gtest/gtest.h>

#include <vector>

#include "assets/dib_convert.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t Guard = 0xCD;

struct Conversion {
    BitmapInfoHeader header{40, 0, 0, 1, 0, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<RgbQuad> colors;
    Bytes bits;
    uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};

    // Converts into a target of exactly the size the rows need, followed by guard bytes; the
    // target starts filled with the guard value too.
    uint32_t Run(Bytes& target, size_t extra = 16, int shortBy = 0) {
        uint64_t rows = header.height < 0 ? -int64_t(header.height) : header.height;
        size_t size = size_t(DibTargetStride(header.width) * rows);
        target.assign(size + extra, Guard);
        DibSource source;
        source.header = &header;
        source.colors = colors.data();
        source.colorCount = uint32_t(colors.size());
        for (int i = 0; i < 3; i++) source.masks[i] = masks[i];
        source.bits = bits.data();
        source.bitsSize = bits.size();
        return ConvertDibRows(source, target.data(), size - shortBy);
    }
};

TEST(DibConvert, NoDepthWritesPastItsRowsOrTheTarget) {
    // Indexed rows are written with 4-byte stores; the last pixel of a row must not spill into the
    // fill bytes, the next row, or past the end of the target.
    for (int width = 1; width <= 9; width++) {
        for (uint16_t bitCount : {1, 4, 8, 16, 24, 32}) {
            for (uint32_t compression : {BI_RGB, BI_BITFIELDS, BI_RLE8, BI_RLE4}) {
                if (compression == BI_BITFIELDS && bitCount != 16 && bitCount != 32) continue;
                if (compression == BI_RLE8 && bitCount != 8) continue;
                if (compression == BI_RLE4 && bitCount != 4) continue;
                Conversion c;
                c.header.width = width;
                c.header.height = 2;
                c.header.bitCount = bitCount;
                c.header.compression = compression;
                c.colors.assign(256, RgbQuad{0x11, 0x22, 0x33, 0x44});
                if (compression == BI_RLE8 || compression == BI_RLE4)
                    c.bits = {255, 0x11, 0, 0, 0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1};
                else
                    c.bits.assign(size_t(((width * bitCount + 31) / 32) * 4 * 2), 0xFF);
                Bytes target;
                ASSERT_EQ(c.Run(target), 2u) << width << " " << bitCount << " " << compression;
                size_t stride = size_t(DibTargetStride(width));
                for (size_t i = 0; i < target.size(); i++) {
                    // Every pixel byte is written (the run-length rows here cover the whole width),
                    // nothing else is.
                    bool pixel = i < 2 * stride && i % stride < size_t(width) * 3;
                    ASSERT_EQ(target[i] != Guard, pixel)
                        << "byte " << i << ", width " << width << ", " << bitCount;
                }
            }
        }
    }
}

TEST(DibConvert, RefusesWhatItCannotConvertSafely) {
    Conversion c;
    c.header.width = 4;
    c.header.height = 2;
    c.header.bitCount = 24;
    c.bits.assign(24, 1);
    Bytes target;
    EXPECT_EQ(c.Run(target), 2u);
    EXPECT_EQ(c.Run(target, 16, 1), 0u); // a target one byte short
    c.bits.resize(23);
    EXPECT_EQ(c.Run(target), 0u); // a source one byte short
    c.bits.clear();
    EXPECT_EQ(c.Run(target), 0u);

    // Run-length data needs at least one code.
    c.header.bitCount = 8;
    c.header.compression = BI_RLE8;
    c.bits = {0};
    EXPECT_EQ(c.Run(target), 0u);
    c.bits = {0, 1};
    EXPECT_EQ(c.Run(target), 2u);
}

TEST(DibConvert, BitfieldMasksScaleEveryWidth) {
    // A 1-bit, a 10-bit and a 5-bit channel; the green mask also reaches above a 16-bit pixel.
    Conversion c;
    c.header.width = 2;
    c.header.height = 1;
    c.header.bitCount = 16;
    c.header.compression = BI_BITFIELDS;
    c.masks[0] = 0x8000;
    c.masks[1] = 0x7FE0 | 0xFFFF0000u; // 10 bits, plus bits a 16-bit pixel never has
    c.masks[2] = 0x001F;
    c.bits = {0x00, 0x80, 0x10, 0x40};
    Bytes target;
    ASSERT_EQ(c.Run(target), 1u);
    // Pixel 0: red 1 of 1, green 0, blue 0. Pixel 1: green 0x200 of 0x3FF, blue 16 of 31.
    EXPECT_EQ(Bytes(target.begin(), target.begin() + 6), (Bytes{0, 0, 255, 132, 128, 0}));
}

} // namespace
