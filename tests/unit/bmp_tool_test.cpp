// quorvane-bmp, as the people who make textures use it: what it says about a file, and the
// picture it writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "assets/bitmap_loader.h"
#include "support/image_compare.h"
#include "support/test_support.h"

namespace {

const std::string Tool = std::string(QUORVANE_BINARY_DIR) + "/quorvane-bmp";
const std::string Suite = std::string(QUORVANE_SOURCE_DIR) + "/tests/data/bmpsuite/";

TEST(BmpTool, DescribesTheHeaderOrGivesTheLoadersMessage) {
    std::string output;
    EXPECT_EQ(RunProgram({Tool, Suite + "g/pal8os2.bmp"}, QUORVANE_SOURCE_DIR, &output), 0);
    EXPECT_NE(output.find("12-byte info header with file header, 127 x 64, 8 bits per pixel"),
              std::string::npos)
        << output;
    EXPECT_EQ(RunProgram({Tool, Suite + "g/pal4rle.bmp"}, QUORVANE_SOURCE_DIR, &output), 0);
    EXPECT_NE(output.find("40-byte info header with file header, 127 x 64, 4 bits per pixel, BI_RLE4"),
              std::string::npos)
        << output;

    EXPECT_NE(RunProgram({Tool, Suite + "g/pal8v5.bmp"}, QUORVANE_SOURCE_DIR, &output), 0);
    EXPECT_NE(output.find("Unknown DIB file format."), std::string::npos) << output;
    EXPECT_NE(RunProgram({Tool, "/no/such/file.bmp"}, QUORVANE_SOURCE_DIR, &output), 0);
    EXPECT_NE(output.find("Failed to open DIB file /no/such/file.bmp."), std::string::npos) << output;
    EXPECT_NE(RunProgram({Tool}, QUORVANE_SOURCE_DIR, &output), 0);
}

TEST(BmpTool, WritesThePictureTopRowFirst) {
    TempDir out;
    std::string file = Suite + "g/pal8.bmp", output;
    ASSERT_EQ(RunProgram({Tool, file, out.File("pal8.png")}, QUORVANE_SOURCE_DIR, &output), 0) << output;
    RgbPicture picture;
    std::string error;
    ASSERT_TRUE(ReadPng(out.File("pal8.png"), picture, error)) << error;

    errorPopupsEnabled = false;
    RgbImage* image = LoadBitmapImage(file.c_str());
    errorPopupsEnabled = true;
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(picture.width, image->width);
    ASSERT_EQ(picture.height, image->height);
    size_t row = static_cast<size_t>(image->width) * 3;
    for (int y = 0; y < image->height; ++y)
        ASSERT_EQ(0,
                  std::memcmp(&picture.pixels[y * row], image->pixels + (image->height - 1 - y) * row, row))
            << y;
    std::free(image->pixels);
    std::free(image);

    ASSERT_EQ(RunProgram({Tool, file, out.File("pal8.ppm")}, QUORVANE_SOURCE_DIR, &output), 0) << output;
    std::vector<unsigned char> ppm = ReadFile(out.File("pal8.ppm"));
    ASSERT_GT(ppm.size(), 15u);
    EXPECT_EQ(std::string(ppm.begin(), ppm.begin() + 14), "P6\n127 64\n255\n");
    EXPECT_EQ(0, std::memcmp(ppm.data() + 14, picture.pixels.data(), picture.pixels.size()));
}

} // namespace
