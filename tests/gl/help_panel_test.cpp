// The help panel drawn over a real frame: it shows, it writes its text with the font lists, and it
// leaves the GL state, the scene record and the random sequence as it found them.
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "overlay/help_panel.h"
#include "platform/virtual_keys.h"
#include "scene/frame.h"
#include "scene/random.h"
#include "scene/render_setup.h"
#include "scene/scene_state.h"
#include "support/test_support.h"

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

// Every GL value the panel could disturb: matrices and their stacks, current and raster state,
// bindings, blending, depth, the list base, the switches and the texture environment.
std::vector<float> GlState() {
    const GLenum values[] = {GL_MODELVIEW_MATRIX,
                             GL_PROJECTION_MATRIX,
                             GL_MATRIX_MODE,
                             GL_MODELVIEW_STACK_DEPTH,
                             GL_PROJECTION_STACK_DEPTH,
                             GL_ATTRIB_STACK_DEPTH,
                             GL_CURRENT_COLOR,
                             GL_CURRENT_NORMAL,
                             GL_CURRENT_TEXTURE_COORDS,
                             GL_CURRENT_RASTER_POSITION,
                             GL_CURRENT_RASTER_COLOR,
                             GL_CURRENT_RASTER_POSITION_VALID,
                             GL_TEXTURE_BINDING_2D,
                             GL_LIST_BASE,
                             GL_BLEND_SRC,
                             GL_BLEND_DST,
                             GL_DEPTH_WRITEMASK,
                             GL_DEPTH_FUNC,
                             GL_VIEWPORT,
                             GL_SHADE_MODEL};
    const GLenum switches[] = {GL_TEXTURE_2D, GL_LIGHTING, GL_LIGHT1,    GL_COLOR_MATERIAL, GL_FOG,
                               GL_DEPTH_TEST, GL_BLEND,    GL_CULL_FACE, GL_ALPHA_TEST,     GL_SCISSOR_TEST};
    std::vector<float> state;
    for (GLenum value : values) {
        float v[16];
        for (float& f : v) f = -12345.0f;
        glGetFloatv(value, v);
        state.insert(state.end(), v, v + 16);
    }
    for (GLenum s : switches) state.push_back(glIsEnabled(s) ? 1.0f : 0.0f);
    GLint environment = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    state.push_back(static_cast<float>(environment));
    return state;
}

std::vector<unsigned char> Pixels() {
    std::vector<unsigned char> pixels(size_t(Width) * Height * 3);
    glReadPixels(0, 0, Width, Height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The panel only compares rendering contexts; these stand for two of them.
const RenderContext FirstContext = reinterpret_cast<RenderContext>(uintptr_t{0x100});
const RenderContext SecondContext = reinterpret_cast<RenderContext>(uintptr_t{0x200});

class HelpPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProjection(Width, Height);
        scene.deviceContext = gl.Dc(); // where the font lists are made from on Windows
        ASSERT_TRUE(SetupScene());
        // Wine's wglUseFontBitmapsA leaves a GL_OUT_OF_MEMORY behind; the panel's own errors are
        // what the tests look for.
        while (glGetError() != GL_NO_ERROR) {
        }
        scene.renderContext = FirstContext;
        ToggleHelpPanel();
        ASSERT_TRUE(HelpPanelShown());
    }
    ScriptedOnly platform; // first: it resets the program state
    GlContext gl{Width, Height};
};

// A state unlike the frame's own, so that a panel that merely set the usual values back would be
// caught.
void UnusualState() {
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glColor4f(0.25f, 0.5f, 0.75f, 0.125f);
    glRasterPos3f(0.1f, 0.2f, 0.3f);
}

void UsualState() {
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
}

// Both steps of the panel: at the start of a frame and at its end.
TEST_F(HelpPanel, LeavesGlStateSceneRecordAndRandomSequenceAsTheyWere) {
    RenderFrame();
    // At the start of the frame it writes the panel's text into the cleared frame, keeps it, and
    // leaves the frame cleared.
    UnusualState();
    std::vector<float> state = GlState();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::vector<unsigned char> cleared = Pixels();
    PrepareHelpPanel();
    EXPECT_EQ(Pixels(), cleared);
    EXPECT_EQ(GlState(), state);

    UsualState();
    glClear(GL_COLOR_BUFFER_BIT);
    RenderFrame(); // draws the panel at its end too
    UnusualState();
    state = GlState();
    std::vector<unsigned char> picture = Pixels();
    std::vector<unsigned char> record(sizeof scene);
    std::memcpy(record.data(), &scene, sizeof scene);
    uint64_t draws = RandomDrawCount();
    DrawHelpPanel();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_NE(Pixels(), picture) << "the panel was not drawn";
    EXPECT_EQ(GlState(), state);
    EXPECT_EQ(std::memcmp(record.data(), &scene, sizeof scene), 0);
    EXPECT_EQ(RandomDrawCount(), draws);
}

// Over a black frame the panel adds nothing but its text.
size_t Colours(const std::vector<unsigned char>& pixels) {
    std::vector<unsigned> seen;
    for (size_t i = 0; i < pixels.size(); i += 3) {
        unsigned rgb = pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2];
        if (std::find(seen.begin(), seen.end(), rgb) == seen.end()) seen.push_back(rgb);
    }
    return seen.size();
}

std::vector<unsigned char> PanelOverBlack() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    PrepareHelpPanel();
    DrawHelpPanel();
    return Pixels();
}

TEST_F(HelpPanel, WritesItsTextWithTheFontListsAndShowsAChangedSettingAtOnce) {
    std::vector<unsigned char> before = PanelOverBlack();
    EXPECT_GE(Colours(before), 4u) << "black and the text's three colours";
    scene.lightingOn = 1;
    EXPECT_NE(PanelOverBlack(), before) << "\"lighting on\" is not shown";

    // Lists that draw nothing in place of the font, and a new picture: no text at all is left.
    GLuint fontBase = scene.fontBase;
    scene.fontBase = glGenLists(96);
    for (GLuint k = 0; k < 96; k++) {
        glNewList(scene.fontBase + k, GL_COMPILE);
        glEndList();
    }
    ResetHelpPanel();
    ToggleHelpPanel();
    ASSERT_TRUE(HelpPanelShown());
    EXPECT_EQ(Colours(PanelOverBlack()), 1u);
    glDeleteLists(scene.fontBase, 96);
    scene.fontBase = fontBase;
}

// After F1 the new context may make more textures than the old one did. The panel's picture must
// be a texture of the new context's own, never a scene texture that happens to bear the old name.
TEST_F(HelpPanel, MakesItsPictureAnewInANewContextAndLeavesTheOthersAlone) {
    PanelOverBlack();
    GlContext second{Width, Height};
    scene.renderContext = SecondContext;
    SetProjection(Width, Height);
    ASSERT_TRUE(SetupScene());
    const GLubyte marks[2][3] = {{1, 2, 3}, {4, 5, 6}};
    std::vector<GLuint> textures(16);
    glGenTextures(16, textures.data());
    for (size_t i = 0; i < textures.size(); i++) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, marks[i % 2]);
    }
    scene.lightingOn = !scene.lightingOn; // a changed line, written into the picture
    std::vector<unsigned char> shown = PanelOverBlack();
    EXPECT_GE(Colours(shown), 4u) << "the panel's text is missing";
    for (size_t i = 0; i < textures.size(); i++) {
        GLubyte texel[3] = {};
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
        EXPECT_TRUE(std::equal(texel, texel + 3, marks[i % 2]))
            << "texture " << textures[i] << " was written";
    }
    ReleaseHelpPanel();
    glDeleteTextures(16, textures.data());
    gl.MakeCurrent();
    scene.renderContext = FirstContext;
}

} // namespace
