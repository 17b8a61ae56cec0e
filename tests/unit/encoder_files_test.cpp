// Bitmap files written by encoders that are not ours (netpbm's ppmtobmp with both header kinds,
// ImageMagick's BMP3 writer with and without RLE) decode to the pixels those tools' own readers
// give back. tests/data/encoders/make.sh made both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/bitmap_files.h"
#include "support/test_support.h"

namespace {

const std::string EncoderDir = std::string(QUORVANE_SOURCE_DIR) + "/tests/data/encoders/";

TEST(EncoderFiles, DecodeToWhatTheirEncodersReadBack) {
    ScriptedOnly platform;
    errorPopupsEnabled = true;
    const char* files[] = {
        "ppm-windows-1", "ppm-windows-4", "ppm-windows-8", "ppm-windows-24", // 40-byte header
        "ppm-os2-1",     "ppm-os2-4",     "ppm-os2-8",     "ppm-os2-24",     // 12-byte header
        "im-24",         "im-8",          "im-8-rle",      "im-4",
    };
    for (const char* name : files) {
        int width = 0, height = 0;
        std::vector<uint8_t> expected;
        ASSERT_TRUE(ReadPpm(EncoderDir + name + ".ppm", width, height, expected)) << name;
        ImagePtr image = Load(EncoderDir + name + ".bmp");
        ASSERT_TRUE(image) << name;
        EXPECT_EQ(image->width, width) << name;
        EXPECT_EQ(image->height, height) << name;
        EXPECT_TRUE(TopRowFirst(*image) == expected) << name;
    }
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

} // namespace
