// LoadTextures on a real (offscreen) OpenGL context: which files exist, sizes, filters, pixels.
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <filesystem>
#include <string>
#include <vector>

#include "assets/bitmap_loader.h"
#include "assets/textures.h"
#include "support/bitmap_files.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A 24-bit picture whose pixels all differ, and what the loader makes of it (bottom row first).
Bytes Picture(int width, int height, uint8_t seed) {
    Bytes rgb;
    for (int i = 0; i < width * height; i++)
        rgb.insert(rgb.end(), {uint8_t(seed + i * 7), uint8_t(255 - i * 3), uint8_t(i * 11 + seed * 2)});
    return rgb;
}
Bytes BitmapFile(int width, int height, const Bytes& topFirst) {
    BitmapParts parts;
    parts.width = width;
    parts.height = height;
    parts.bits = Rows24(width, height, topFirst);
    return BuildBitmap(parts);
}

GLint Level(GLuint texture, int level, GLenum what) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}
GLint Parameter(GLuint texture, GLenum what) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
    return value;
}
// Level 0 as GL holds it: rows in upload order, so bottom row first like the loader's block.
Bytes TexturePixels(GLuint texture) {
    int width = Level(texture, 0, GL_TEXTURE_WIDTH);
    int height = Level(texture, 0, GL_TEXTURE_HEIGHT);
    Bytes out(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return out;
}

class Textures : public ::testing::Test {
  protected:
    void SetUp() override {
        errorPopupsEnabled = true;
        std::filesystem::create_directory(dir.File("data"));
    }
    void Put(const std::string& name, const Bytes& bytes) { WriteFile(dir.File("data/" + name), bytes); }
    bool Load() {
        ScopedChdir inside(dir.Path());
        return LoadTextures(made);
    }

    ScriptedOnly platform; // first: it resets the program state
    GlContext gl{64, 64};
    TempDir dir;
    LoadedTextures made;
};

TEST_F(Textures, BothPicturesGiveFourTexturesWithTheirFilters) {
    const Bytes t1 = Picture(8, 4, 1);
    const Bytes star = Picture(4, 4, 2);
    Put("t1.bmp", BitmapFile(8, 4, t1));
    Put("star.bmp", BitmapFile(4, 4, star));
    ASSERT_TRUE(Load());
    EXPECT_TRUE(made.picture && made.star);
    EXPECT_TRUE(platform.scripted.boxes.empty());

    const GLenum filters[3][2] = {
        {GL_NEAREST, GL_NEAREST}, {GL_LINEAR, GL_LINEAR}, {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR}};
    for (int i = 0; i < 3; i++) {
        GLuint name = made.textures[i];
        ASSERT_TRUE(glIsTexture(name)) << i;
        EXPECT_EQ(Level(name, 0, GL_TEXTURE_WIDTH), 8) << i;
        EXPECT_EQ(Level(name, 0, GL_TEXTURE_HEIGHT), 4) << i;
        EXPECT_EQ(Parameter(name, GL_TEXTURE_MIN_FILTER), GLint(filters[i][0])) << i;
        EXPECT_EQ(Parameter(name, GL_TEXTURE_MAG_FILTER), GLint(filters[i][1])) << i;
        EXPECT_EQ(TexturePixels(name), BottomFirst(8, 4, t1)) << i;
    }
    EXPECT_NE(made.textures[0], made.textures[1]);
    EXPECT_NE(made.textures[1], made.textures[2]);
    // The mipmapped one has its smaller levels, down to 1 x 1.
    EXPECT_EQ(Level(made.textures[2], 1, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(Level(made.textures[2], 3, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(Level(made.textures[2], 3, GL_TEXTURE_HEIGHT), 1);

    ASSERT_TRUE(glIsTexture(made.starTexture));
    EXPECT_EQ(Parameter(made.starTexture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(Parameter(made.starTexture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TexturePixels(made.starTexture), BottomFirst(4, 4, star));

    // The unpack alignment is back to what it was.
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(Textures, EachPictureAloneIsEnough) {
    Put("star.bmp", BitmapFile(4, 4, Picture(4, 4, 3)));
    EXPECT_TRUE(Load());
    EXPECT_FALSE(made.picture);
    EXPECT_TRUE(made.star);
    EXPECT_TRUE(glIsTexture(made.starTexture));

    std::filesystem::remove(dir.File("data/star.bmp"));
    Put("t1.bmp", BitmapFile(4, 4, Picture(4, 4, 4)));
    EXPECT_TRUE(Load());
    EXPECT_TRUE(made.picture);
    EXPECT_FALSE(made.star);
    for (GLuint name : made.textures) EXPECT_TRUE(glIsTexture(name));
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(Textures, NeitherPictureFailsWithoutABox) {
    EXPECT_FALSE(Load());
    EXPECT_FALSE(made.picture || made.star);
    EXPECT_FALSE(glIsTexture(1)) << "no texture name was made";
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(Textures, AnUnreadableFirstPictureShowsTheLoadersBoxAndTheStarStillLoads) {
    BitmapParts unknown;
    unknown.headerSize = 124;
    Put("t1.bmp", BuildBitmap(unknown));
    Put("star.bmp", BitmapFile(4, 4, Picture(4, 4, 5)));
    EXPECT_TRUE(Load());
    ASSERT_EQ(platform.scripted.boxes.size(), 1u);
    EXPECT_EQ(platform.scripted.boxes[0].text, "Unknown DIB file format.");
    EXPECT_FALSE(made.picture);
    EXPECT_TRUE(made.star && glIsTexture(made.starTexture));
}

TEST_F(Textures, WidthsNotDivisibleByFourUploadUnskewed) {
    // 6 pixels make 18-byte rows: with GL's default alignment of 4 they would be read as 20.
    const Bytes t1 = Picture(6, 4, 6);
    Put("t1.bmp", BitmapFile(6, 4, t1));
    ASSERT_TRUE(Load());
    EXPECT_EQ(Level(made.textures[0], 0, GL_TEXTURE_WIDTH), 6);
    EXPECT_EQ(TexturePixels(made.textures[0]), BottomFirst(6, 4, t1));
    EXPECT_EQ(TexturePixels(made.textures[1]), BottomFirst(6, 4, t1));
}

TEST(ProjectPictures, LoadWithPowerOfTwoSides) {
    // The committed pictures, from the folder that holds data/ (the tests' working directory).
    ScriptedOnly platform;
    GlContext gl(64, 64);
    LoadedTextures made;
    ASSERT_TRUE(LoadTextures(made));
    EXPECT_TRUE(platform.scripted.boxes.empty());
    for (GLuint name : {made.textures[0], made.starTexture}) {
        int width = Level(name, 0, GL_TEXTURE_WIDTH);
        int height = Level(name, 0, GL_TEXTURE_HEIGHT);
        EXPECT_GE(width, 16);
        EXPECT_EQ(width & (width - 1), 0) << width;
        EXPECT_EQ(height & (height - 1), 0) << height;
    }
    // The star is drawn additively: its border must be black so no square edge shows.
    Bytes star = TexturePixels(made.starTexture);
    int side = Level(made.starTexture, 0, GL_TEXTURE_WIDTH);
    for (int i = 0; i < side; i++)
        for (size_t at : {size_t(i) * 3, (size_t(side - 1) * side + i) * 3, size_t(i) * side * 3,
                          (size_t(i) * side + side - 1) * 3})
            EXPECT_EQ(star[at] | star[at + 1] | star[at + 2], 0) << "border pixel " << at / 3;
}

} // namespace
