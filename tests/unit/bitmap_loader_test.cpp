// The bitmap loader on hand-made files: layouts, depths, the failure boxes and hostile headers.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "assets/bitmap_loader.h"
#include "assets/dib_convert.h"
#include "support/bitmap_files.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

class BitmapLoader : public ::testing::Test {
  protected:
    void SetUp() override {
        errorPopupsEnabled = true;
        // Boxes belong to the window that has the focus.
        platform.scripted.SetFocus(reinterpret_cast<WindowHandle>(uintptr_t{0x5150}));
    }
    void TearDown() override { errorPopupsEnabled = true; }

    // Exactly one box with this text, captioned "Error", OK only, owned by the focus window.
    void ExpectOneBox(const std::string& text) {
        ASSERT_EQ(platform.scripted.boxes.size(), 1u) << text;
        const ScriptedPlatform::Box& box = platform.scripted.boxes[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.flags, MB_OK);
        EXPECT_EQ(box.owner, reinterpret_cast<WindowHandle>(uintptr_t{0x5150}));
        platform.scripted.boxes.clear();
    }
    void ExpectRefused(const Bytes& file, const std::string& text) {
        EXPECT_FALSE(Decode(file));
        ExpectOneBox(text);
    }

    ScriptedOnly platform;
};

// A picture whose every pixel differs from its neighbours: catches swapped channels, rows and
// misplaced padding.
Bytes Gradient(int width, int height) {
    Bytes rgb;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            rgb.push_back(uint8_t(10 + x * 20));
            rgb.push_back(uint8_t(200 - y * 30));
            rgb.push_back(uint8_t(x * 7 + y * 3 + 1));
        }
    return rgb;
}

// Packs a picture of palette indexes (top row first) into bottom-up rows of `bits` per pixel.
Bytes PackIndexes(int width, int height, int bits, const std::vector<int>& indexes) {
    size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    Bytes out(stride * height, 0);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            int bit = x * bits;
            uint8_t& byte = out[(height - 1 - y) * stride + bit / 8];
            byte |= uint8_t(indexes[y * width + x] << (8 - bits - bit % 8));
        }
    return out;
}

TEST_F(BitmapLoader, TwoByTwoExampleGivesItsTwelveBytes) {
    // Bottom row blue, green; top row red, white.
    Bytes rgb = {255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0};
    const Bytes expected = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    for (uint32_t headerSize : {40u, 12u})
        for (bool fileHeader : {true, false}) {
            BitmapParts parts;
            parts.headerSize = headerSize;
            parts.fileHeader = fileHeader;
            parts.width = parts.height = 2;
            parts.bits = Rows24(2, 2, rgb);
            ImagePtr image = Decode(BuildBitmap(parts));
            ASSERT_TRUE(image) << headerSize << " " << fileHeader;
            EXPECT_EQ(image->width, 2);
            EXPECT_EQ(image->height, 2);
            EXPECT_EQ(Pixels(*image), expected);
        }
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(BitmapLoader, EveryDepthAndWidthGivesPackedRows) {
    // Widths 1 to 9 cover every amount of row padding at every depth; 4 to 7 are the target rows
    // of 12, 16, 20 and 24 bytes whose copy skips 0 to 3 bytes.
    for (int width = 1; width <= 9; width++) {
        const int height = 3;
        Bytes rgb = Gradient(width, height);
        Bytes expected = BottomFirst(width, height, rgb);

        BitmapParts parts;
        parts.width = width;
        parts.height = height;
        parts.bits = Rows24(width, height, rgb);
        ImagePtr image = Decode(BuildBitmap(parts));
        ASSERT_TRUE(image);
        EXPECT_EQ(Pixels(*image), expected) << "24 bits, width " << width;

        // 32 bits: the fourth byte of each pixel is ignored.
        parts.bitCount = 32;
        parts.bits.clear();
        for (int y = height - 1; y >= 0; y--)
            for (int x = 0; x < width; x++) {
                const uint8_t* p = &rgb[(y * width + x) * 3];
                parts.bits.insert(parts.bits.end(), {p[2], p[1], p[0], 0xA5});
            }
        image = Decode(BuildBitmap(parts));
        ASSERT_TRUE(image);
        EXPECT_EQ(Pixels(*image), expected) << "32 bits, width " << width;

        // Indexed: pixel i of the picture uses entry (i * 5 + 1) mod the table size.
        for (int bits : {1, 4, 8}) {
            int entries = 1 << bits;
            Bytes colours;
            for (int i = 0; i < entries; i++)
                colours.insert(colours.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)});
            std::vector<int> indexes;
            Bytes indexed;
            for (int i = 0; i < width * height; i++) {
                int index = (i * 5 + 1) % entries;
                indexes.push_back(index);
                indexed.insert(indexed.end(), colours.begin() + index * 3, colours.begin() + index * 3 + 3);
            }
            BitmapParts pal;
            pal.width = width;
            pal.height = height;
            pal.bitCount = uint16_t(bits);
            pal.table = Table(colours);
            pal.bits = PackIndexes(width, height, bits, indexes);
            image = Decode(BuildBitmap(pal));
            ASSERT_TRUE(image);
            EXPECT_EQ(Pixels(*image), BottomFirst(width, height, indexed))
                << bits << " bits, width " << width;
        }
    }
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(BitmapLoader, CoreHeaderHeightWithTopBitSetIsLargeAndPositive) {
    BitmapParts parts;
    parts.headerSize = 12;
    parts.width = 1;
    parts.height = 0x8001;
    parts.bits.assign(size_t(0x8001) * 4, 0);
    parts.bits[0] = 0x11;                      // bottom row: blue
    parts.bits[size_t(0x8000) * 4 + 2] = 0x22; // top row: red
    ImagePtr image = Decode(BuildBitmap(parts));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1);
    EXPECT_EQ(image->height, 32769);
    EXPECT_EQ(image->pixels[2], 0x11);
    EXPECT_EQ(image->pixels[size_t(0x8000) * 3], 0x22);
}

TEST_F(BitmapLoader, ColourTablePlacesFollowTheHeaders) {
    Bytes colours;
    for (int i = 0; i < 256; i++)
        colours.insert(colours.end(), {uint8_t(i), uint8_t(i ^ 0x5A), uint8_t(255 - i)});
    auto expectIndexes = [&](const ImagePtr& image, const Bytes& indexes) {
        ASSERT_TRUE(image);
        Bytes expected;
        for (uint8_t i : indexes)
            expected.insert(expected.end(), colours.begin() + i * 3, colours.begin() + i * 3 + 3);
        EXPECT_EQ(Pixels(*image), expected);
    };
    const Bytes indexes = {0, 7, 200, 255};

    // Bare 40-byte header, 8 bits, biClrUsed 0: 256 entries of 4 bytes, pixels at 40 + 1024.
    BitmapParts bare;
    bare.fileHeader = false;
    bare.width = 4;
    bare.bitCount = 8;
    bare.table = Table(colours);
    bare.bits = indexes;
    Bytes file = BuildBitmap(bare);
    ASSERT_EQ(file.size(), 40u + 1024 + 4);
    expectIndexes(Decode(file), indexes);

    // Bare 12-byte header, 8 bits: 256 entries of 3 bytes, pixels at 12 + 768.
    bare.headerSize = 12;
    bare.table = Table(colours, true);
    file = BuildBitmap(bare);
    ASSERT_EQ(file.size(), 12u + 768 + 4);
    expectIndexes(Decode(file), indexes);

    // biClrUsed 5 at 8 bits: a 5-entry table and the pixels right after it; indexes past the
    // table give black, never bytes from outside it.
    bare.headerSize = 40;
    bare.clrUsed = 5;
    bare.table = Table(Bytes(colours.begin(), colours.begin() + 15));
    bare.bits = {4, 0, 5, 255};
    ImagePtr image = Decode(BuildBitmap(bare));
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(*image), (Bytes{4, 0x5E, 251, 0, 0x5A, 255, 0, 0, 0, 0, 0, 0}));

    // 24 bits, biClrUsed 0: no table, pixels at 40; with biClrUsed 8 the 8 entries are skipped.
    BitmapParts rgb;
    rgb.fileHeader = false;
    rgb.bits = {1, 2, 3, 0};
    EXPECT_EQ(BuildBitmap(rgb).size(), 44u);
    image = Decode(BuildBitmap(rgb));
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(*image), (Bytes{3, 2, 1}));
    rgb.clrUsed = 8;
    rgb.table.assign(32, 0x77);
    image = Decode(BuildBitmap(rgb));
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(*image), (Bytes{3, 2, 1}));

    // With a file header the pixels come from bfOffBits, whatever lies between.
    BitmapParts gap;
    gap.width = 4;
    gap.bitCount = 8;
    gap.table = Table(colours);
    gap.gap.assign(37, 0xFF);
    gap.bits = indexes;
    expectIndexes(Decode(BuildBitmap(gap)), indexes);
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(BitmapLoader, TopDownFilesComeOutBottomRowFirst) {
    // 24 bits are read where they lie, other depths go through the target: both turn the rows over,
    // with an odd and an even number of them.
    for (int height : {3, 4}) {
        const int width = 5;
        Bytes rgb = Gradient(width, height);
        BitmapParts parts;
        parts.width = width;
        parts.height = -height;
        parts.bits = Rows24(width, height, rgb, true);
        ImagePtr image = Decode(BuildBitmap(parts));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->height, height);
        EXPECT_EQ(Pixels(*image), BottomFirst(width, height, rgb));

        parts.bitCount = 32;
        parts.bits.clear();
        for (int i = 0; i < width * height; i++)
            parts.bits.insert(parts.bits.end(), {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0});
        image = Decode(BuildBitmap(parts));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->height, height);
        EXPECT_EQ(Pixels(*image), BottomFirst(width, height, rgb));
    }

    BitmapParts parts;
    parts.width = 5;
    parts.height = -4;
    // Run-length data is bottom-up by definition: a top-down one is refused.
    parts.bitCount = 8;
    parts.compression = BI_RLE8;
    parts.clrUsed = 1;
    parts.table = Table({1, 2, 3});
    parts.bits = {5, 0, 0, 0, 5, 0, 0, 0, 5, 0, 0, 0, 5, 0, 0, 1};
    ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
}

TEST_F(BitmapLoader, SixteenBitsWidenFiveBitsWithRounding) {
    // 5-5-5 with red highest and the top bit ignored; v becomes (v * 255 + 15) / 31.
    BitmapParts parts;
    parts.width = 5;
    parts.bitCount = 16;
    auto word = [](int r, int g, int b, int top) { return uint16_t((top << 15) | (r << 10) | (g << 5) | b); };
    for (uint16_t w :
         {word(31, 0, 0, 1), word(0, 31, 0, 0), word(0, 0, 31, 1), word(1, 3, 16, 0), word(0, 0, 0, 1)})
        parts.bits.insert(parts.bits.end(), {uint8_t(w), uint8_t(w >> 8)});
    parts.bits.insert(parts.bits.end(), {0, 0});
    ImagePtr image = Decode(BuildBitmap(parts));
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(*image), (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 25, 132, 0, 0, 0}));
}

TEST_F(BitmapLoader, BitfieldsUseTheMasksAfterTheHeader) {
    auto masks = [](uint32_t r, uint32_t g, uint32_t b) {
        Bytes out;
        for (uint32_t m : {r, g, b})
            out.insert(out.end(), {uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24)});
        return out;
    };
    // 16 bits, 5-6-5.
    BitmapParts parts;
    parts.width = 2;
    parts.bitCount = 16;
    parts.compression = BI_BITFIELDS;
    parts.gap = masks(0xF800, 0x07E0, 0x001F);
    parts.bits = {0xFF, 0xFF, 0xE0, 0x07}; // white, then green 63
    ImagePtr image = Decode(BuildBitmap(parts));
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(*image), (Bytes{255, 255, 255, 0, 255, 0}));

    // The same as a bare DIB: the pixels follow the masks.
    parts.fileHeader = false;
    image = Decode(BuildBitmap(parts));
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(*image), (Bytes{255, 255, 255, 0, 255, 0}));

    // 32 bits: red in the low byte, 10-bit green, blue missing (always 0).
    parts.fileHeader = true;
    parts.bitCount = 32;
    parts.gap = masks(0x000000FF, 0x0003FF00, 0);
    parts.bits = {0x80, 0xFF, 0x03, 0xFF, 0x01, 0x00, 0x02, 0x00};
    image = Decode(BuildBitmap(parts));
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(*image), (Bytes{128, 255, 0, 1, 128, 0}));

    // Masks only make sense at 16 and 32 bits; masks cut off by the end of the file are refused.
    parts.bitCount = 24;
    parts.bits.assign(8, 0);
    ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
    parts.bitCount = 16;
    parts.gap.clear();
    parts.bits.clear();
    ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
}

// A run-length file of 4 x 3 pixels (colours: index i is (i, 10 i, 100 + i)), stream as given.
ImagePtr DecodeRle(uint32_t compression, const Bytes& stream, int width = 4, int height = 3) {
    BitmapParts parts;
    parts.width = width;
    parts.height = height;
    parts.bitCount = compression == BI_RLE8 ? 8 : 4;
    parts.compression = compression;
    parts.clrUsed = 16;
    Bytes colours;
    for (int i = 0; i < 16; i++)
        colours.insert(colours.end(), {uint8_t(i), uint8_t(10 * i), uint8_t(100 + i)});
    parts.table = Table(colours);
    parts.bits = stream;
    return Decode(BuildBitmap(parts));
}

// Indexes of the decoded picture, bottom row first; -1 where the pixel is black (skipped).
std::vector<int> Indexes(const RgbImage& image) {
    std::vector<int> out;
    for (int i = 0; i < image.width * image.height; i++) {
        const uint8_t* p = image.pixels + i * 3;
        out.push_back(p[2] == 0 ? -1 : p[0]);
    }
    return out;
}

TEST_F(BitmapLoader, RunLengthEightEscapes) {
    // Row 0: a run of 3, then end of line. Row 1: absolute 3 (odd: one pad byte), then a run of 1.
    // Row 2: a move right 2 and up 0, one pixel, end of bitmap: skipped pixels stay black.
    ImagePtr image =
        DecodeRle(BI_RLE8, {3, 1, 0, 0, 0, 3, 2, 3, 4, 0xEE, 1, 5, 0, 0, 0, 2, 2, 0, 1, 6, 0, 1});
    ASSERT_TRUE(image);
    EXPECT_EQ(Indexes(*image), (std::vector<int>{1, 1, 1, -1, 2, 3, 4, 5, -1, -1, 6, -1}));

    // A move up leaves the rest of its rows black; runs past the right edge are cut; a stream
    // that stops without its end-of-bitmap code keeps what it drew.
    image = DecodeRle(BI_RLE8, {2, 7, 0, 2, 1, 1, 9, 8, 0, 0, 0, 4, 1, 2, 3, 4});
    ASSERT_TRUE(image);
    EXPECT_EQ(Indexes(*image), (std::vector<int>{7, 7, -1, -1, -1, -1, -1, 8, 1, 2, 3, 4}));

    // A move past the top row ends the picture; an absolute run cut by the end of the file is
    // not read.
    image = DecodeRle(BI_RLE8, {1, 9, 0, 2, 0, 200, 1, 9});
    ASSERT_TRUE(image);
    EXPECT_EQ(Indexes(*image), (std::vector<int>{9, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    image = DecodeRle(BI_RLE8, {1, 9, 0, 6, 1, 2});
    ASSERT_TRUE(image);
    EXPECT_EQ(Indexes(*image), (std::vector<int>{9, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(BitmapLoader, RunLengthFourEscapes) {
    // Row 0: 4 pixels alternating the two nibbles. Row 1: absolute 3 from 2 bytes (+ padding to a
    // 16-bit boundary is already met), then a run of 1. Row 2: delta, 1 pixel, end of bitmap.
    ImagePtr image =
        DecodeRle(BI_RLE4, {4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 1, 0x66, 0, 0, 0, 2, 1, 0, 1, 0x70, 0, 1});
    ASSERT_TRUE(image);
    EXPECT_EQ(Indexes(*image), (std::vector<int>{1, 2, 1, 2, 3, 4, 5, 6, -1, 7, -1, -1}));

    // Absolute 5 takes 3 bytes and one pad byte; a run longer than the row is cut at the edge.
    image = DecodeRle(BI_RLE4, {0, 5, 0x12, 0x34, 0x50, 0xEE, 0, 0, 9, 0xAB, 0, 1});
    ASSERT_TRUE(image);
    EXPECT_EQ(Indexes(*image), (std::vector<int>{1, 2, 3, 4, 10, 11, 10, 11, -1, -1, -1, -1}));
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(BitmapLoader, ConversionRefusesWhatItDoesNotKnow) {
    BitmapParts parts;
    parts.width = 2;
    parts.bits.assign(64, 0x40);
    for (uint32_t compression : {4u, 5u, 6u, 99u}) {
        parts.compression = compression;
        ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
    }
    parts.compression = BI_RGB;
    for (uint16_t bitCount : {0, 2, 3, 48, 64, 30000}) {
        parts.bitCount = bitCount;
        ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
    }
    parts.bitCount = 4; // RLE8 needs 8 bits, RLE4 needs 4
    parts.compression = BI_RLE8;
    parts.clrUsed = 1;
    parts.table = Table({1, 2, 3});
    ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
    parts.bitCount = 8;
    parts.compression = BI_RLE4;
    ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
    parts.bitCount = 24;
    parts.compression = BI_RGB;
    parts.clrUsed = 0;
    parts.table.clear();
    parts.planes = 2;
    ExpectRefused(BuildBitmap(parts), "Image file conversion error.");
}

TEST_F(BitmapLoader, HeadersOtherThanTwelveAndFortyAreUnknown) {
    for (uint32_t headerSize : {108u, 124u, 64u, 16u, 52u, 0u, 41u}) {
        BitmapParts parts;
        parts.headerSize = headerSize;
        parts.bits.assign(4, 0);
        ExpectRefused(BuildBitmap(parts), "Unknown DIB file format.");
    }
}

TEST_F(BitmapLoader, MissingAndEmptyFilesFailToOpen) {
    TempDir dir;
    std::string missing = dir.File("missing.bmp");
    EXPECT_FALSE(Load(missing));
    ExpectOneBox("Failed to open DIB file " + missing + ".\n");

    std::string empty = dir.File("empty.bmp");
    WriteFile(empty, {});
    EXPECT_FALSE(Load(empty));
    ExpectOneBox("Failed to open DIB file " + empty + ".\n");

    EXPECT_FALSE(Load(dir.Path()));
    ExpectOneBox("Failed to open DIB file " + dir.Path() + ".\n");
}

TEST_F(BitmapLoader, LongPathsAreCutToFitTheMessage) {
    // 3-byte UTF-8 characters, so that the cut must fall between characters.
    std::string path = "/nonexistent/x";
    for (int i = 0; i < 150; i++) path += "\xE2\x82\xAC";
    EXPECT_FALSE(Load(path));
    ASSERT_EQ(platform.scripted.boxes.size(), 1u);
    const std::string& text = platform.scripted.boxes[0].text;
    EXPECT_LE(text.size(), 255u);
    EXPECT_GE(text.size(), 250u);
    EXPECT_EQ(text.rfind("Failed to open DIB file /nonexistent/x\xE2\x82\xAC", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 5), "\xE2\x82\xAC.\n");
}

TEST_F(BitmapLoader, NoBoxWhileErrorPopupsAreDisabled) {
    errorPopupsEnabled = false;
    TempDir dir;
    EXPECT_FALSE(Load(dir.File("missing.bmp")));
    BitmapParts unknown;
    unknown.headerSize = 124;
    EXPECT_FALSE(Decode(BuildBitmap(unknown)));
    BitmapParts huge;
    huge.width = huge.height = 100000;
    EXPECT_FALSE(Decode(BuildBitmap(huge)));
    BitmapParts bad;
    bad.compression = 7;
    EXPECT_FALSE(Decode(BuildBitmap(bad)));
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(BitmapLoader, AbsurdSizesAreRefusedWithOneBox) {
    struct Case {
        int32_t width;
        int32_t height;
        uint32_t compression;
        const char* text;
    };
    const Case cases[] = {
        {0, 1, BI_RGB, "Image file conversion error."},
        {-127, 64, BI_RGB, "Image file conversion error."},
        {INT_MIN, 1, BI_RGB, "Image file conversion error."},
        {4, 0, BI_RGB, "Image file conversion error."},
        {4, INT_MIN, BI_RGB, "Out of memory."}, // |height| does not fit
        {INT_MAX, INT_MAX, BI_RGB, "Out of memory."},
        {3000000, 2000000, BI_RGB, "Out of memory."},
        {65536, -65536, BI_RGB, "Out of memory."},
        // A few bytes of run-length code can declare any size: bounded all the same.
        {16384, 5462, BI_RLE8, "Out of memory."},
    };
    for (const Case& c : cases) {
        BitmapParts parts;
        parts.width = c.width;
        parts.height = c.height;
        parts.compression = c.compression;
        if (c.compression == BI_RLE8) {
            parts.bitCount = 8;
            parts.table = Table({9, 9, 9});
            parts.clrUsed = 1;
            parts.bits = {0, 1};
        } else {
            parts.bits.assign(16, 0);
        }
        ExpectRefused(BuildBitmap(parts), c.text);
    }
    // The largest 12-byte header, 65535 x 65535, exceeds the bound too.
    BitmapParts core;
    core.headerSize = 12;
    core.width = core.height = 65535;
    ExpectRefused(BuildBitmap(core), "Out of memory.");

    // The bound is 256 MiB of rows (the fuzzing build lowers it, this build must not): one row
    // fewer than the refused 16384 x 5462 above fits and is decoded, black where the code is empty.
    BitmapParts largest;
    largest.width = 16384;
    largest.height = 5461;
    largest.compression = BI_RLE8;
    largest.bitCount = 8;
    largest.table = Table({9, 9, 9});
    largest.clrUsed = 1;
    largest.bits = {0, 1};
    static_assert(16384ull * 3 * 5461 <= MaxBitmapBytes && 16384ull * 3 * 5462 > MaxBitmapBytes);
    ImagePtr image = Decode(BuildBitmap(largest));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, 5461);
    EXPECT_EQ(image->pixels[size_t(16384) * 3 * 5461 - 1], 0);
}

TEST_F(BitmapLoader, EveryTruncationIsRefusedOrDecodedInBounds) {
    // Each file cut at every length: at most one box, and a box exactly when nothing came back.
    // Under AddressSanitizer this also shows that nothing past the cut is read.
    std::vector<Bytes> files;
    BitmapParts pal;
    pal.width = 7;
    pal.height = 3;
    pal.bitCount = 8;
    pal.clrUsed = 3;
    pal.table = Table({1, 2, 3, 4, 5, 6, 7, 8, 9});
    pal.bits = PackIndexes(7, 3, 8, std::vector<int>(21, 2));
    files.push_back(BuildBitmap(pal));
    pal.headerSize = 12;
    pal.clrUsed = 0;
    pal.fileHeader = false;
    pal.table = Table(Bytes(768, 0x33), true);
    files.push_back(BuildBitmap(pal));
    BitmapParts rle;
    rle.width = 6;
    rle.height = 2;
    rle.bitCount = 4;
    rle.compression = BI_RLE4;
    rle.table = Table(Bytes(48, 0x44));
    rle.bits = {3, 0x12, 0, 3, 0x45, 0x60, 0, 0, 0, 2, 1, 0, 2, 0x77, 0, 1};
    files.push_back(BuildBitmap(rle));
    BitmapParts fields;
    fields.width = 3;
    fields.height = 2;
    fields.bitCount = 16;
    fields.compression = BI_BITFIELDS;
    fields.gap = {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    fields.bits.assign(16, 0x5A);
    files.push_back(BuildBitmap(fields));

    for (const Bytes& file : files) {
        for (size_t length = 0; length <= file.size(); length++) {
            ImagePtr image = Decode(Bytes(file.begin(), file.begin() + length));
            size_t boxes = platform.scripted.boxes.size();
            EXPECT_EQ(boxes, image ? 0u : 1u) << "length " << length;
            platform.scripted.boxes.clear();
        }
        EXPECT_TRUE(Decode(file));
    }

    // Uncompressed rows must all be there, except for the last row's padding.
    BitmapParts rgb;
    rgb.width = 7;
    rgb.height = 3;
    rgb.bits = Rows24(7, 3, Gradient(7, 3));
    Bytes file = BuildBitmap(rgb);
    EXPECT_TRUE(Decode(Bytes(file.begin(), file.end() - 3)));
    ExpectRefused(Bytes(file.begin(), file.end() - 4), "Image file conversion error.");
}

TEST_F(BitmapLoader, OffsetsAndTablesOutsideTheFileAreRefused) {
    BitmapParts parts;
    parts.width = 2;
    parts.bits.assign(8, 0);
    parts.offBits = 5000;
    Bytes file = BuildBitmap(parts);
    file.resize(54 + 8);
    ExpectRefused(file, "Image file conversion error.");

    // biClrUsed is read as 16 bits: 0x12345678 gives a table of 0x5678 entries, past the end.
    BitmapParts table;
    table.bitCount = 8;
    table.clrUsed = 0x12345678;
    table.bits.assign(4, 0);
    ExpectRefused(BuildBitmap(table), "Image file conversion error.");

    // Files too short to hold their info header.
    ExpectRefused({'B', 'M'}, "Unknown DIB file format.");
    ExpectRefused({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0}, "Unknown DIB file format.");
    ExpectRefused({12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 24}, "Unknown DIB file format.");
    ExpectRefused({40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0}, "Unknown DIB file format.");
}

TEST(CountPaletteEntries, FollowsTheHeaderKindAndColoursUsed) {
    auto header = [](uint32_t size, uint16_t bitCount, uint32_t clrUsed) {
        Bytes h(40, 0);
        h[0] = uint8_t(size);
        if (size == 12) {
            h[10] = uint8_t(bitCount);
            h[11] = uint8_t(bitCount >> 8);
        } else {
            h[14] = uint8_t(bitCount);
            h[15] = uint8_t(bitCount >> 8);
            for (int i = 0; i < 4; i++) h[32 + i] = uint8_t(clrUsed >> (8 * i));
        }
        return h;
    };
    const struct {
        uint32_t size;
        uint16_t bitCount;
        uint32_t clrUsed;
        uint16_t count;
    } cases[] = {
        {12, 1, 0, 2},  {12, 4, 0, 16}, {12, 8, 0, 256},   {12, 24, 0, 0},           {12, 2, 0, 0},
        {40, 1, 0, 2},  {40, 4, 0, 16}, {40, 8, 0, 256},   {40, 16, 0, 0},           {40, 32, 0, 0},
        {40, 8, 5, 5},  {40, 24, 8, 8}, {40, 1, 300, 300}, {40, 8, 0x12345, 0x2345}, {108, 8, 0, 256},
        {124, 4, 3, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CountPaletteEntries(header(c.size, c.bitCount, c.clrUsed).data()), c.count)
            << c.size << " " << c.bitCount << " " << c.clrUsed;
}

} // namespace
