// The keyboard controls as pure state: held keys stepping once per call with their bounds tested
// first, the selectors' wrap, and the palette step with Space and the rainbow timer. None of these
// rows makes a GL call.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/virtual_keys.h"
#include "scene/controls.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgramState(); }
};

TEST_F(ControlsTest, SelectorsWrapToZero) {
    std::vector<uint32_t> filters;
    for (int i = 0; i < 3; ++i) {
        Press('F');
        filters.push_back(scene.filterIndex);
    }
    EXPECT_EQ(filters, (std::vector<uint32_t>{1, 2, 0}));
    scene.paletteIndex = 11;
    Press(VK_SPACE);
    EXPECT_EQ(scene.paletteIndex, 0u);
}

struct Held {
    const char* name;
    uint32_t key;
    float SceneState::*field;
    double step;
    float start;   // where a float step and a double step round apart
    bool movement; // HandleMovementKeys, else HandleFrameControls
};

void PrintTo(const Held& h, std::ostream* out) {
    *out << h.name;
}

class HeldKey : public ControlsTest, public ::testing::WithParamInterface<Held> {};

TEST_P(HeldKey, StepsOncePerCallInDoubleAndStoresAFloat) {
    const Held& h = GetParam();
    scene.*h.field = h.start;
    scene.keyDown[h.key] = true;
    float expected = h.start;
    for (int call = 1; call <= 3; ++call) {
        h.movement ? HandleMovementKeys() : HandleFrameControls();
        expected = Stepped(expected, h.step);
        EXPECT_EQ(scene.*h.field, expected) << "call " << call;
    }
}

constexpr double Nearest(float step) {
    return static_cast<double>(step);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HeldKey,
    ::testing::Values(Held{"UpTilt", VK_UP, &SceneState::starTilt, -0.5, 90.0f, false},
                      Held{"DownTilt", VK_DOWN, &SceneState::starTilt, 0.5, 90.0f, false},
                      Held{"PageUp", VK_PRIOR, &SceneState::sceneDepth, -Nearest(0.2f), 0.138061523f, false},
                      Held{"PageDown", VK_NEXT, &SceneState::sceneDepth, Nearest(0.2f), -0.261962891f, false},
                      Held{"J", 'J', &SceneState::particleDepth, Nearest(0.1f), -0.130981445f, false},
                      Held{"K", 'K', &SceneState::particleDepth, -Nearest(0.1f), 0.0690307617f, false},
                      Held{"A", 'A', &SceneState::cameraX, 0.3, -0.549926758f, true},
                      Held{"D", 'D', &SceneState::cameraX, -0.3, 0.0500488281f, true},
                      Held{"W", 'W', &SceneState::cameraZ, 0.3, -0.549926758f, true},
                      Held{"S", 'S', &SceneState::cameraZ, -0.3, 0.0500488281f, true},
                      Held{"Q", 'Q', &SceneState::cameraY, 0.3, -0.549926758f, true},
                      Held{"E", 'E', &SceneState::cameraY, -0.3, 0.0500488281f, true}),
    ::testing::PrintToStringParamName());

struct Bounded {
    const char* name;
    std::vector<uint32_t> keys;
    float SceneState::*field;
    float start;
    int frames;
    float expected; // about; the exact value follows the stepping rule
};

void PrintTo(const Bounded& b, std::ostream* out) {
    *out << b.name;
}

class BoundedKey : public ControlsTest, public ::testing::WithParamInterface<Bounded> {};

// The value after `frames` calls, stepped as the rows for these keys say, bound tested first.
float Model(const Bounded& b) {
    auto held = [&](uint32_t key) { return std::find(b.keys.begin(), b.keys.end(), key) != b.keys.end(); };
    float v = b.start;
    for (int i = 0; i < b.frames; ++i) {
        if (b.field == &SceneState::particleSlowdown) {
            if (held(VK_ADD) && v > 1.0f) v = Stepped(v, -Nearest(0.01f));
            if (held(VK_SUBTRACT) && v < 4.0f) v = Stepped(v, Nearest(0.01f));
        } else {
            if ((held(VK_UP) || held(VK_RIGHT)) && v < 200.0f) v = Stepped(v, 1.0);
            if ((held(VK_DOWN) || held(VK_LEFT)) && v > -200.0f) v = Stepped(v, -1.0);
        }
    }
    return v;
}

TEST_P(BoundedKey, StopsOnceTheBoundIsPassed) {
    const Bounded& b = GetParam();
    scene.*b.field = b.start;
    for (uint32_t key : b.keys) scene.keyDown[key] = true;
    Frames(b.frames);
    EXPECT_EQ(scene.*b.field, Model(b));
    EXPECT_NEAR(scene.*b.field, b.expected, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BoundedKey,
    ::testing::Values(
        Bounded{"PlusFor101", {VK_ADD}, &SceneState::particleSlowdown, 2.0f, 101, 0.99f},
        Bounded{"PlusFor100", {VK_ADD}, &SceneState::particleSlowdown, 2.0f, 100, 1.0f},
        Bounded{"PlusFor150", {VK_ADD}, &SceneState::particleSlowdown, 2.0f, 150, 0.99f},
        Bounded{"MinusFor201", {VK_SUBTRACT}, &SceneState::particleSlowdown, 2.0f, 201, 4.01f},
        Bounded{"MinusFor300", {VK_SUBTRACT}, &SceneState::particleSlowdown, 2.0f, 300, 4.01f},
        // Both: the decrease, then the increase tested on what the decrease left.
        Bounded{"BothAtFour", {VK_ADD, VK_SUBTRACT}, &SceneState::particleSlowdown, 4.0f, 1, 4.0f},
        Bounded{"BothAtOne", {VK_ADD, VK_SUBTRACT}, &SceneState::particleSlowdown, 1.0f, 1, 1.01f},
        Bounded{"UpPastTheBound", {VK_UP}, &SceneState::launchSpeedY, 199.5f, 5, 200.5f},
        Bounded{"DownFor260", {VK_DOWN}, &SceneState::launchSpeedY, 0.0f, 260, -200.0f},
        Bounded{"RightFor260", {VK_RIGHT}, &SceneState::launchSpeedX, 0.0f, 260, 200.0f},
        Bounded{"LeftPastTheBound", {VK_LEFT}, &SceneState::launchSpeedX, -199.5f, 5, -200.5f}),
    ::testing::PrintToStringParamName());

TEST_F(ControlsTest, UpKeepsTiltingAfterTheLaunchSpeedStops) {
    scene.keyDown[VK_UP] = true;
    Frames(200);
    EXPECT_EQ(scene.launchSpeedY, 200.0f);
    EXPECT_EQ(scene.starTilt, -10.0f);
    Frames(20);
    EXPECT_EQ(scene.launchSpeedY, 200.0f);
    EXPECT_EQ(scene.starTilt, -20.0f);
}

// The calls (1-based) at which the palette stepped.
std::vector<int> PaletteSteps(int calls, const std::function<void(int)>& beforeCall = nullptr) {
    std::vector<int> steps;
    for (int call = 1; call <= calls; ++call) {
        if (beforeCall) beforeCall(call);
        uint32_t before = scene.paletteIndex;
        HandleFrameControls();
        if (scene.paletteIndex != before) steps.push_back(call);
    }
    return steps;
}

TEST_F(ControlsTest, RainbowStepsEvery26FramesAndSpaceStopsIt) {
    scene.keyDown[VK_RETURN] = true;
    EXPECT_EQ(PaletteSteps(80), (std::vector<int>{27, 53, 79}));
    EXPECT_TRUE(scene.rainbowOn);
    Press(VK_SPACE);
    EXPECT_FALSE(scene.rainbowOn);
    EXPECT_EQ(scene.paletteIndex, 4u);
    EXPECT_TRUE(PaletteSteps(60).empty());
}

TEST_F(ControlsTest, TheDelayCountsWhileRainbowIsOff) {
    Frames(30);
    EXPECT_EQ(scene.rainbowDelay, 30u);
    // Turned on more than 25 frames after the last step: it steps in the same call.
    EXPECT_EQ(PaletteSteps(1, [](int) { scene.keyDown[VK_RETURN] = true; }), (std::vector<int>{1}));
    EXPECT_EQ(scene.rainbowDelay, 1u);

    scene.keyDown[VK_RETURN] = false;
    HandleFrameControls();
    Press(VK_RETURN); // off again
    Frames(6);
    ASSERT_FALSE(scene.rainbowOn);
    ASSERT_EQ(scene.rainbowDelay, 10u);
    // Turned on 10 frames after the last step: the step waits until the delay reads 26.
    EXPECT_EQ(PaletteSteps(20, [](int) { scene.keyDown[VK_RETURN] = true; }), (std::vector<int>{17}));
}

TEST_F(ControlsTest, EnterWithSpaceHeldIsUndoneByTheNextTimedStep) {
    scene.keyDown[VK_SPACE] = true;
    HandleFrameControls(); // the press steps once
    EXPECT_EQ(scene.paletteIndex, 1u);
    std::vector<int> steps = PaletteSteps(100, [](int call) { scene.keyDown[VK_RETURN] = call == 1; });
    // Rainbow came on at call 1 with the delay at 1; the timed step with Space down ends it.
    EXPECT_EQ(steps, (std::vector<int>{26}));
    EXPECT_FALSE(scene.rainbowOn);
    EXPECT_EQ(scene.paletteIndex, 2u);
}

} // namespace
