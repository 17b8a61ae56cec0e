// The state record's start values, checked against the values the scene was designed with (the
// record is written by hand, so a slip in one initialiser would go unnoticed otherwise).
#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "scene/scene_state.h"
#include "support/test_support.h"

namespace {

static_assert(std::is_same_v<decltype(SceneState::lightingOn), int32_t>, "32-bit boolean");
static_assert(std::is_same_v<decltype(SceneState::rightButtonDown), int32_t>, "32-bit boolean");
static_assert(std::is_same_v<decltype(SceneState::paletteIndex), uint32_t>, "unsigned 32-bit");
static_assert(sizeof(SceneState::keyDown) == 256, "one entry per virtual-key code");
static_assert(std::is_trivially_copyable_v<SceneState>, "the record is plain data");

template <typename T> bool AllZero(const T& object) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&object);
    for (size_t i = 0; i < sizeof(T); ++i)
        if (bytes[i] != 0) return false;
    return true;
}

TEST(SceneState, StartValues) {
    ResetProgramState();
    const SceneState& s = scene;
    EXPECT_EQ(s.mainWindow, nullptr);
    EXPECT_EQ(s.renderContext, nullptr);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_TRUE(s.windowActive);
    for (bool down : s.keyDown) EXPECT_FALSE(down);
    EXPECT_EQ(s.sceneDepth, -15.0f);
    EXPECT_EQ(s.starTilt, 90.0f);
    EXPECT_EQ(s.backdropZ, -40.0f);
    EXPECT_EQ(s.particleSlowdown, 2.0f);
    EXPECT_EQ(s.particleDepth, -40.0f);
    EXPECT_EQ(s.fogModeIndex, 0u);
    EXPECT_EQ(s.cameraYaw + s.cameraPitch + s.cameraX + s.cameraY + s.cameraZ, 0.0f);
    EXPECT_EQ(s.starSpin + s.triangleAngle + s.quadAngle + s.textPhaseA + s.textPhaseB, 0.0f);
    EXPECT_EQ(s.lightingOn, 0);
    EXPECT_FALSE(s.blendOn || s.twinkleOn || s.rainbowOn || s.blendKeyLatch || s.spaceKeyLatch);
}

TEST(SceneState, TablesAndObjectNamesAreZeroBeforeTheFirstSetUp) {
    ResetProgramState();
    EXPECT_TRUE(AllZero(scene.stars));
    EXPECT_TRUE(AllZero(scene.cubes));
    EXPECT_TRUE(AllZero(scene.particles));
    EXPECT_TRUE(AllZero(scene.textures));
    EXPECT_EQ(scene.starTexture + scene.cubeList + scene.fontBase, 0u);
}

TEST(SceneState, FixedTables) {
    EXPECT_EQ(SceneState::lightPosition[2], 2.0f);
    EXPECT_EQ(SceneState::lightPosition[3], 1.0f); // a point light
    EXPECT_EQ(SceneState::fogModes[0], GL_EXP);
    EXPECT_EQ(SceneState::fogModes[2], GL_LINEAR);
    // The palette walks round the colour wheel: one channel at 1.0, one at 0.5, one moving.
    for (const auto& row : SceneState::particlePalette) {
        int full = 0, half = 0;
        for (float c : row) {
            full += c == 1.0f;
            half += c == 0.5f;
            EXPECT_TRUE(c == 1.0f || c == 0.75f || c == 0.5f);
        }
        EXPECT_GE(full, 1);
        EXPECT_GE(half, 1);
    }
    EXPECT_EQ(SceneState::particlePalette[1][1], 0.75f);
    EXPECT_EQ(SceneState::particlePalette[11][2], 0.75f);
}

TEST(SceneState, ResetRestoresEveryField) {
    ResetProgramState();
    SceneState fresh = scene;
    scene.keyDown[65] = true;
    scene.particles[999].life = 3.0f;
    scene.cameraYaw = 12.0f;
    ResetProgramState();
    EXPECT_EQ(std::memcmp(&fresh, &scene, sizeof(SceneState)), 0);
}

} // namespace
