// The GL layer's mipmaps beside the system's GLU: gluBuild2DMipmaps in a real context, every level
// read back, and the layer's GluScale and GluHalve on the same picture, for sizes that are powers
// of two, that are not, and that reach a side of 1 before the other.
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gl/glu_mipmaps.h"
#include "support/test_support.h"

namespace {

struct Size {
    int width, height;
};

class GluMipmapsTest : public ::testing::TestWithParam<Size> {};

TEST_P(GluMipmapsTest, EveryLevelIsGlusOwn) {
    const Size size = GetParam();
    GlContext gl(64, 64);
    std::vector<uint8_t> picture(static_cast<size_t>(size.width) * size.height * 3);
    uint32_t seed = static_cast<uint32_t>(size.width * 1000 + size.height);
    for (uint8_t& byte : picture) byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    ASSERT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, 3, size.width, size.height, GL_RGB, GL_UNSIGNED_BYTE,
                                picture.data()),
              0);

    int width = GluNearestPower(size.width), height = GluNearestPower(size.height);
    std::vector<uint8_t> ours(static_cast<size_t>(width) * height * 3), next(ours.size()), glu(ours.size());
    if (width == size.width && height == size.height)
        ours = picture;
    else
        GluScale(picture.data(), size.width, size.height, 3, ours.data(), width, height);
    for (int level = 0;; level++) {
        GLint gluWidth = 0, gluHeight = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &gluWidth);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &gluHeight);
        ASSERT_EQ(gluWidth, width) << "level " << level;
        ASSERT_EQ(gluHeight, height) << "level " << level;
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, glu.data());
        const size_t bytes = static_cast<size_t>(width) * height * 3;
        EXPECT_TRUE(std::equal(glu.begin(), glu.begin() + bytes, ours.begin())) << "level " << level;
        if (width == 1 && height == 1) break;
        GluHalve(ours.data(), width, height, 3, next.data());
        ours.swap(next);
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
    }
    glDeleteTextures(1, &texture);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GluMipmapsTest,
                         ::testing::Values(Size{256, 256}, Size{100, 60}, Size{37, 13}, Size{300, 7},
                                           Size{8, 2}, Size{2, 16}, Size{256, 200}, Size{1, 13}),
                         [](const ::testing::TestParamInfo<Size>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

} // namespace
