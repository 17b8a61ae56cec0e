// The help panel's state and text, and the frame-rate meter it reads. While the panel is hidden
// nothing is drawn, so these need no OpenGL.
#include <gtest/gtest.h>

#include <string>

#include "overlay/frame_rate.h"
#include "overlay/help_panel.h"
#include "platform/virtual_keys.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"
#include "support/test_support.h"

namespace {

std::string Values() {
    char text[512];
    FormatHelpValues(text, sizeof text);
    return text;
}

TEST(HelpPanel, HShowsAndHidesItOncePerPress) {
    ResetProgramState();
    const uint32_t h = VirtualKeyOf('H');
    EXPECT_FALSE(HelpPanelShown());
    Press(h);
    EXPECT_TRUE(HelpPanelShown());
    scene.keyDown[h] = true; // held: one change however long
    Frames(5);
    EXPECT_FALSE(HelpPanelShown());
    scene.keyDown[h] = false;
    Frames(1);
    Press(h);
    EXPECT_TRUE(HelpPanelShown());
}

TEST(FrameRateMeter, AveragesTheLastSecondOrTheFramesItKeeps) {
    const struct {
        double rate;
        int frames;
        double expected;
    } rows[] = {
        {50.0, 1, 0.0},         // one frame has no rate yet
        {50.0, 120, 50.0},      // the last second's 50 frames
        {5000.0, 3000, 5000.0}, // more in a second than it keeps: the average of those it keeps
        {0.5, 3, 0.5},          // slower than one a second: the last frame's own rate
    };
    for (const auto& row : rows) {
        FrameRateMeter meter;
        for (int k = 1; k <= row.frames; k++) RecordFrame(meter, k / row.rate);
        EXPECT_DOUBLE_EQ(FramesPerSecond(meter), row.expected) << row.rate << " fps, " << row.frames;
        EXPECT_DOUBLE_EQ(NewestFrameTime(meter), row.frames / row.rate);
    }
}

TEST(HelpPanel, ShowsTheFrameRateTheFrameNumberAndTheSettings) {
    ResetProgramState();
    EXPECT_EQ(Values().rfind("0.0 fps   frame 1\n", 0), 0u) << Values();
    for (int k = 1; k <= 120; k++) RecordFrame(frameRate, k / 50.0);
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
}

} // namespace
