// The main loop with scripted messages and real offscreen contexts: what one idle pass does and in
// which order, Escape, F1 and the ways the program ends.
//
// Frames drawn are counted by buffer swaps, frame controls by `rainbowDelay` (it grows on every
// call) and idle passes by the movement key A (cameraX grows by 0.3 per pass while it is held).
#include <gtest/gtest.h>

#include <cstring>

#include "app/main_loop.h"
#include "platform/virtual_keys.h"
#include "scene/random.h"
#include "scene/scene_state.h"
#include "support/test_support.h"

namespace {

Message Activate(bool minimised) {
    return Message{nullptr, WM_ACTIVATE, WA_ACTIVE | (minimised ? (uintptr_t{1} << 16) : 0), 0};
}
const Message Close{nullptr, WM_CLOSE, 0, 0};

class MainLoopTest : public ::testing::Test {
  protected:
    ScriptedWithGl platform;
    ScriptedPlatform& scripted = platform.scripted;
    void SetUp() override { scripted.maxIdlePasses = 300; }
    void TearDown() override { EXPECT_FALSE(scripted.ranAway) << "the loop did not end"; }
};

TEST_F(MainLoopTest, EscapeWaitsUntilTheWindowIsActiveAgain) {
    scripted.QueueBeforePass(1, Activate(true));
    scripted.KeyDownBeforePass(1, VK_ESCAPE);
    scripted.KeyDownBeforePass(1, 'A');
    scripted.QueueBeforePass(6, Activate(false));

    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(scripted.IdlePasses(), 6); // ended on the first pass after re-activation
    EXPECT_EQ(scripted.Count("SwapBuffers"), 0);
    EXPECT_EQ(scene.rainbowDelay, 0u);
    // Movement keys act on every pass, inactive ones included: six steps of 0.3 from 0.
    EXPECT_EQ(scene.cameraX, 1.79999995f);
    EXPECT_EQ(scripted.Count("DestroyWindow"), 1);
}

TEST_F(MainLoopTest, ThePassThatSeesEscapeDrawsNothingButMovesAndSwitchesThenEnds) {
    scripted.KeyDownBeforePass(3, VK_ESCAPE);
    scripted.KeyDownBeforePass(3, 'A');
    scripted.KeyDownBeforePass(3, VK_F1);

    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(scripted.IdlePasses(), 3);
    EXPECT_EQ(scripted.Count("SwapBuffers"), 2);
    EXPECT_EQ(scene.rainbowDelay, 2u);
    EXPECT_EQ(scene.cameraX, 0.3f);
    // The switch came first: the new, fullscreen window is the one the end tears down (the
    // teardown's own order is the main window test's).
    EXPECT_TRUE(scene.fullscreen);
    EXPECT_EQ(scripted.Count("CreateWindow"), 2);
    EXPECT_EQ(scripted.Count("DestroyWindow"), 2);
    EXPECT_EQ(scripted.Count("RestoreDisplayMode"), 1);
    EXPECT_EQ(scripted.calls.back(), "UnregisterClass Quorvane_Main_Window");
    EXPECT_FALSE(scripted.DisplayModeChanged());
}

TEST_F(MainLoopTest, HeldF1SwitchesOncePerKeyDownMessage) {
    scripted.KeyDownBeforePass(1, VK_F1);
    scripted.KeyDownBeforePass(4, VK_F1); // the platform's auto-repeat
    scripted.QueueBeforePass(6, Close);

    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(scripted.Count("CreateWindow"), 3);
    EXPECT_FALSE(scene.fullscreen);
    EXPECT_FALSE(scene.keyDown[VK_F1]);
    EXPECT_EQ(scripted.Count("SwapBuffers"), 5);
}

TEST_F(MainLoopTest, FailedRecreationAfterF1EndsWithZeroAndNoSecondTeardown) {
    scripted.Fail("CreateWindow", 2);
    scripted.KeyDownBeforePass(2, VK_F1);

    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(scripted.calls.back(), "MessageBox Initialization Error: Window creation failed");
    EXPECT_EQ(scripted.Count("DestroyWindow"), 1); // the switch's own teardown only
    EXPECT_EQ(scripted.Count("UnregisterClass"), 2);
    EXPECT_EQ(scripted.IdlePasses(), 2);
}

TEST_F(MainLoopTest, ClosingTheWindowEndsAfterExactlyOneTeardown) {
    scripted.QueueBeforePass(3, Close);
    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(scripted.Count("SwapBuffers"), 2);
    EXPECT_EQ(scripted.Count("DestroyWindow"), 1);
    EXPECT_EQ(scripted.Count("UnregisterClass"), 1);
    EXPECT_EQ(scripted.Count("PostQuitMessage"), 1);
}

TEST_F(MainLoopTest, TheQuitMessageCarriesTheExitCode) {
    scripted.QueueBeforePass(2, Message{nullptr, WM_QUIT, 7, 0});
    EXPECT_EQ(RunApplication(), 7);
    EXPECT_EQ(scripted.Count("DestroyWindow"), 1);
}

TEST_F(MainLoopTest, StartupFailureEndsBeforeTheLoop) {
    scripted.Fail("CreateContext");
    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(scripted.IdlePasses(), 0);
    EXPECT_EQ(scripted.boxes.size(), 1u);
}

TEST_F(MainLoopTest, EveryWaitingMessageIsHandledBeforeTheFrame) {
    scripted.KeyDownBeforePass(1, 'L');
    scripted.KeyUpBeforePass(1, 'L');
    scripted.KeyDownBeforePass(2, 'T');
    scripted.QueueBeforePass(3, Close);
    scripted.onIdlePass = [&](int pass) {
        if (pass == 2) {
            EXPECT_FALSE(scene.keyDown['L']);
        }
    };
    EXPECT_EQ(RunApplication(), 0);
    // L went down and up between two frames and was never seen; T was.
    EXPECT_EQ(scene.lightingOn, 0);
    EXPECT_TRUE(scene.twinkleOn);
}

// F1 rebuilds the window and re-runs the set-up; everything the set-up does not write survives.
TEST_F(MainLoopTest, F1KeepsEveryFieldTheSetUpDoesNotWrite) {
    scene.windowActive = false; // no frames: only the switch changes anything
    scene.cameraYaw = 33.0f;
    scene.cameraX = -2.5f;
    scene.sceneDepth = -9.0f;
    scene.starTilt = 12.5f;
    scene.starSpin = 500.0f;
    scene.backdropZ = 3.0f;
    scene.paletteIndex = 7;
    scene.filterIndex = 2;
    scene.lightingOn = 1;
    scene.twinkleOn = true;
    scene.blendKeyLatch = true;
    scene.lookDeltaX = 5;
    scene.rightButtonDown = 1;
    scripted.KeyDownBeforePass(1, 'W');
    scripted.KeyDownBeforePass(1, VK_F1);

    static SceneState before, after;
    uint64_t drawsBefore = 0, drawsAfter = 0;
    scripted.onIdlePass = [&](int pass) {
        if (pass == 1) {
            before = scene;
            drawsBefore = RandomDrawCount();
            // Particles wherever they are: the set-up must leave positions alone.
            scene.particles[10].x = before.particles[10].x = 1.25f;
        }
        if (pass == 2) {
            after = scene;
            drawsAfter = RandomDrawCount();
            scripted.Queue(Close);
        }
    };
    EXPECT_EQ(RunApplication(), 0);

    // The set-up's own writes: fresh tables from the continuing random sequence, new object
    // names, the fog mode.
    EXPECT_EQ(drawsAfter - drawsBefore, 3u * StarCount + 8u * CubeCount + 4u * ParticleCount);
    EXPECT_EQ(after.fogModeIndex, 2u);
    EXPECT_EQ(after.stars[0].distance, 0.0f);
    EXPECT_EQ(after.particles[10].x, 1.25f);
    EXPECT_TRUE(after.fullscreen);
    EXPECT_FALSE(after.keyDown[VK_F1]);
    EXPECT_TRUE(after.keyDown['W']);

    // Everything else: byte for byte as before the switch (movement aside, which the pass applied).
    SceneState expected = before;
    expected.mainWindow = after.mainWindow;
    expected.deviceContext = after.deviceContext;
    expected.renderContext = after.renderContext;
    expected.fullscreen = after.fullscreen;
    expected.keyDown[VK_F1] = false;
    expected.cameraZ = after.cameraZ;
    std::memcpy(expected.textures, after.textures, sizeof(expected.textures));
    expected.starTexture = after.starTexture;
    expected.cubeList = after.cubeList;
    expected.fontBase = after.fontBase;
    expected.fogModeIndex = after.fogModeIndex;
    std::memcpy(expected.stars, after.stars, sizeof(expected.stars));
    std::memcpy(expected.cubes, after.cubes, sizeof(expected.cubes));
    std::memcpy(expected.particles, after.particles, sizeof(expected.particles));
    EXPECT_EQ(std::memcmp(&expected, &after, sizeof(SceneState)), 0);
    EXPECT_EQ(after.cameraZ, 0.3f);
}

} // namespace
