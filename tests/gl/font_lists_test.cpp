// The 96 font display lists on a real (offscreen) OpenGL context.
#include <gtest/gtest.h>

#include "gl/opengl.h"
#ifndef _WIN32
#include <fontconfig/fontconfig.h>
#endif

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/font_lists.h"
#include "support/test_support.h"

namespace {

constexpr int Side = 128;

class FontLists : public ::testing::Test {
  protected:
    void SetUp() override {
        // Window coordinates: one unit per pixel, origin at the bottom left.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, Side, 0, Side, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
    }

    // Calls the list for `code` at (x, y); returns where the raster position went.
    float Draw(int code, int x, int y) {
        glRasterPos2i(x, y);
        glCallList(base + (code - 32));
        GLfloat position[4] = {};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        EXPECT_EQ(position[1], float(y));
        return position[0];
    }

    // Lit pixels of the frame, with their bounding box.
    int LitPixels(int& left, int& right, int& bottom, int& top) {
        std::vector<uint8_t> frame(Side * Side * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, Side, Side, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        int lit = 0;
        left = bottom = Side;
        right = top = -1;
        for (int y = 0; y < Side; y++)
            for (int x = 0; x < Side; x++)
                if (frame[(y * Side + x) * 3] > 128) {
                    lit++;
                    left = std::min(left, x);
                    right = std::max(right, x);
                    bottom = std::min(bottom, y);
                    top = std::max(top, y);
                }
        return lit;
    }

    bool AllListsExist() {
        for (int k = 0; k < 96; k++)
            if (!glIsList(base + k)) return false;
        return true;
    }

    ScriptedOnly platform; // resets the program state
    GlContext gl{Side, Side};
    GLuint base = 0;
};

TEST_F(FontLists, NinetySixListsDrawTheirCharacters) {
    base = CreateFontLists(gl.Dc());
    ASSERT_NE(base, 0u);
    EXPECT_TRUE(AllListsExist());

    // A capital A at (20, 40): pixels near the baseline, about a character high, right of the
    // start; the raster position moves right by its width.
    float after = Draw('A', 20, 40);
    EXPECT_GT(after, 20 + 10.0f);
    EXPECT_LT(after, 20 + 24.0f);
    int left, right, bottom, top;
    int lit = LitPixels(left, right, bottom, top);
    EXPECT_GT(lit, 40);
    EXPECT_GE(left, 19);
    EXPECT_LE(right, int(after) + 1);
    EXPECT_GE(bottom, 39);
    EXPECT_LE(bottom, 41);
    EXPECT_GE(top - bottom + 1, 14); // a cap height for a 24-pixel em
    EXPECT_LE(top - bottom + 1, 22);

    // The space draws nothing and still advances; the letters follow on from each other.
    glClear(GL_COLOR_BUFFER_BIT);
    float space = Draw(' ', 20, 40);
    // Wine's wglUseFontBitmapsA compiles a glyph without pixels as an empty list; Windows' moves
    // the raster position by the character's width.
    if (!RunningUnderWine()) {
        EXPECT_GT(space, 20.0f);
    }
    EXPECT_EQ(LitPixels(left, right, bottom, top), 0);
    glRasterPos2i(10, 80);
    glCallList(base + ('W' - 32));
    glCallList(base + ('i' - 32));
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_GT(position[0], 10 + 20.0f);
}

#ifndef _WIN32
// Windows' font mapper always finds some font; fontconfig can be left without any.
TEST_F(FontLists, WithoutAnyFontTheListsExistAndDrawNothing) {
    // A fontconfig set-up that knows no font at all.
    TempDir dir;
    std::string config = dir.File("fonts.conf");
    WriteFile(config,
              std::vector<unsigned char>{'<', 'f', 'o', 'n', 't', 'c', 'o', 'n', 'f', 'i', 'g', '/', '>'});
    const char* previous = std::getenv("FONTCONFIG_FILE");
    std::string saved = previous ? previous : "";
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    FcInitReinitialize();

    base = CreateFontLists(gl.Dc());
    EXPECT_NE(base, 0u);
    EXPECT_TRUE(AllListsExist());
    EXPECT_EQ(Draw('A', 20, 40), 20.0f);
    int left, right, bottom, top;
    EXPECT_EQ(LitPixels(left, right, bottom, top), 0);

    if (previous)
        setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    else
        unsetenv("FONTCONFIG_FILE");
    FcInitReinitialize();
}
#endif

} // namespace
