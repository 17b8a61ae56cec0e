// The keyboard controls that switch GL state: the fog mode after each set-up, and the lighting and
// blend switches against the frame's own reset. (The latch rule itself is a unit test.)
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include "platform/virtual_keys.h"
#include "scene/controls.h"
#include "scene/frame.h"
#include "scene/render_setup.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

using ControlsTest = SceneTest;

GLint FogMode() {
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    return mode;
}

TEST_F(ControlsTest, FogKeyStartsFromLinearAfterEverySetUp) {
    ASSERT_EQ(FogMode(), GL_LINEAR);
    std::vector<GLint> modes;
    for (int i = 0; i < 4; ++i) {
        Press('G');
        modes.push_back(FogMode());
        EXPECT_EQ(modes.back(), SceneState::fogModes[scene.fogModeIndex]);
    }
    EXPECT_EQ(modes, (std::vector<GLint>{GL_EXP, GL_EXP2, GL_LINEAR, GL_EXP}));

    ASSERT_TRUE(SetupScene()); // as after F1
    EXPECT_EQ(scene.fogModeIndex, 2u);
    EXPECT_EQ(FogMode(), GL_LINEAR);
    Press('G');
    EXPECT_EQ(FogMode(), GL_EXP);
}

TEST_F(ControlsTest, LightingAndBlendKeysSwitchGlStateThatTheFrameResets) {
    Press('L');
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_TRUE);
    Press('L');
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_FALSE);

    scene.keyDown['B'] = true;
    HandleFrameControls();
    EXPECT_TRUE(scene.blendOn);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_FALSE);
    // The frame turns blending off and the depth test on again; the flag stays.
    RenderFrame();
    HandleFrameControls();
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    EXPECT_TRUE(scene.blendOn);

    scene.keyDown['B'] = false;
    HandleFrameControls();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    Press('B');
    EXPECT_FALSE(scene.blendOn);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
}

} // namespace
