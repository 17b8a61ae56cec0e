// The help panel's state: H with the frame controls, and the live values it shows. While the panel
// is hidden nothing is drawn, so these need no OpenGL.
#include <gtest/gtest.h>

#include <string>

#include "platform/virtual_keys.h"
#include "scene/help_overlay.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"
#include "support/test_support.h"

namespace {

std::string Values() {
    char text[512];
    FormatHelpValues(text, sizeof text);
    return text;
}

void DrawnFrames(int count) {
    for (int i = 0; i < count; i++) DrawHelpOverlay();
}

TEST(HelpOverlay, HShowsAndHidesItOncePerPress) {
    ResetProgramState();
    const uint32_t h = VirtualKeyOf('H');
    EXPECT_FALSE(HelpOverlayShown());
    Press(h);
    EXPECT_TRUE(HelpOverlayShown());
    scene.keyDown[h] = true; // held: one change however long
    Frames(5);
    EXPECT_FALSE(HelpOverlayShown());
    scene.keyDown[h] = false;
    Frames(1);
    Press(h);
    EXPECT_TRUE(HelpOverlayShown());
}

TEST(HelpOverlay, ShowsTheFrameRateOverTheLastSecondAndTheSettings) {
    ResetProgramState();
    UseSteppedHelpClock(50.0);
    EXPECT_EQ(Values().rfind("0.0 fps   frame 1\n", 0), 0u) << Values();
    DrawnFrames(120);
    EXPECT_EQ(Values().rfind("50.0 fps   frame 121\n", 0), 0u) << Values();

    scene.lightingOn = 1;
    scene.blendOn = true;
    scene.filterIndex = 2;
    scene.fogModeIndex = 1;
    scene.paletteIndex = 11;
    scene.rainbowOn = true;
    scene.particleSlowdown = 1.25f;
    scene.launchSpeedX = -3.0f;
    scene.launchSpeedY = 200.0f;
    scene.cameraX = 1.5f;
    scene.cameraY = -2.0f;
    scene.cameraZ = 0.3f;
    EXPECT_EQ(Values(), "50.0 fps   frame 121\n"
                        "lighting on   blending on   twinkle off\n"
                        "filter mipmap   fog exp2\n"
                        "palette 11   rainbow on   slowdown 1.25\n"
                        "launch speed -3, 200\n"
                        "camera 1.5, -2.0, 0.3\n");

    // More frames in a second than the panel keeps times of: the average of those it keeps.
    ResetHelpOverlay();
    UseSteppedHelpClock(5000.0);
    DrawnFrames(3000);
    EXPECT_EQ(Values().rfind("5000.0 fps", 0), 0u) << Values();
    // Frames slower than one a second: the last frame's own rate.
    ResetHelpOverlay();
    UseSteppedHelpClock(0.5);
    DrawnFrames(3);
    EXPECT_EQ(Values().rfind("0.5 fps", 0), 0u) << Values();
}

} // namespace
