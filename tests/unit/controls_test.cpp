// The keyboard controls as state: the latch rule, held keys stepping once per call with their
// bounds tested first, the selectors' wrap, and the palette step with Space and the rainbow timer.
// (The GL calls of L, B and G go nowhere here: no context is current. The GL tier checks them.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iomanip>
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

// The latch rule, key by key: held for several frames a latched key acts once; pressed again after
// it was seen up, it acts again; the selectors wrap to 0.
struct Latched {
    const char* name;
    uint32_t key;
    uint32_t (*value)();
    uint32_t start; // of the palette index; the others start where the program starts
    uint32_t afterPresses[3];
};

void PrintTo(const Latched& l, std::ostream* out) {
    *out << l.name;
}

class LatchedKey : public ControlsTest, public ::testing::WithParamInterface<Latched> {};

TEST_P(LatchedKey, ActsOncePerPressAndWraps) {
    const Latched& l = GetParam();
    if (l.key == VK_SPACE) scene.paletteIndex = l.start;
    for (uint32_t expected : l.afterPresses) {
        scene.keyDown[l.key] = true;
        for (int held = 0; held < 3; ++held) {
            HandleFrameControls();
            EXPECT_EQ(l.value(), expected) << "held for " << held + 1 << " frames";
        }
        scene.keyDown[l.key] = false;
        HandleFrameControls();
        EXPECT_EQ(l.value(), expected) << "let go";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LatchedKey,
    ::testing::Values(
        Latched{"Lighting", 'L', [] { return static_cast<uint32_t>(scene.lightingOn); }, 0, {1, 0, 1}},
        Latched{"Filter", 'F', [] { return scene.filterIndex; }, 0, {1, 2, 0}},
        Latched{"Blend", 'B', [] { return static_cast<uint32_t>(scene.blendOn); }, 0, {1, 0, 1}},
        Latched{"Twinkle", 'T', [] { return static_cast<uint32_t>(scene.twinkleOn); }, 0, {1, 0, 1}},
        Latched{"Fog", 'G', [] { return scene.fogModeIndex; }, 0, {1, 2, 0}},
        Latched{"Rainbow", VK_RETURN, [] { return static_cast<uint32_t>(scene.rainbowOn); }, 0, {1, 0, 1}},
        Latched{"Palette", VK_SPACE, [] { return scene.paletteIndex; }, 10, {11, 0, 1}}),
    ::testing::PrintToStringParamName());

// Held keys step once per call. Each start value is one where the step rounds apart from the
// near misses (0.2 instead of 0.2f, 0.3f instead of 0.3, a sum rounded in float), and the expected
// values were worked out apart from the program.
struct Held {
    const char* name;
    uint32_t key;
    float SceneState::*field;
    float start;
    float afterCalls[3];
};

void PrintTo(const Held& h, std::ostream* out) {
    *out << h.name;
}

class HeldKey : public ControlsTest, public ::testing::WithParamInterface<Held> {};

TEST_P(HeldKey, StepsOncePerFrame) {
    const Held& h = GetParam();
    scene.*h.field = h.start;
    scene.keyDown[h.key] = true;
    for (int call = 0; call < 3; ++call) {
        HandleFrameControls();
        EXPECT_EQ(scene.*h.field, h.afterCalls[call]) << std::setprecision(9) << "call " << call + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HeldKey,
    ::testing::Values(Held{"UpTilt", VK_UP, &SceneState::starTilt, 90.0f, {89.5f, 89.0f, 88.5f}},
                      Held{"DownTilt", VK_DOWN, &SceneState::starTilt, 90.0f, {90.5f, 91.0f, 91.5f}},
                      Held{"PageUp",
                           VK_PRIOR,
                           &SceneState::sceneDepth,
                           0.138061523f,
                           {-0.0619384795f, -0.261938483f, -0.4619385f}},
                      Held{"PageDown",
                           VK_NEXT,
                           &SceneState::sceneDepth,
                           -0.261962891f,
                           {-0.0619628876f, 0.138037115f, 0.338037133f}},
                      Held{"J",
                           'J',
                           &SceneState::particleDepth,
                           -0.130981445f,
                           {-0.0309814438f, 0.0690185577f, 0.169018567f}},
                      Held{"K",
                           'K',
                           &SceneState::particleDepth,
                           0.0690307617f,
                           {-0.0309692398f, -0.130969241f, -0.23096925f}}),
    ::testing::PrintToStringParamName());

TEST_F(ControlsTest, MovementKeysStepTheCameraByTheDouble03OncePerPass) {
    struct Row {
        uint32_t key;
        float SceneState::*field;
        bool forward; // +0.3, else -0.3
    };
    const Row rows[] = {{'A', &SceneState::cameraX, true}, {'D', &SceneState::cameraX, false},
                        {'W', &SceneState::cameraZ, true}, {'S', &SceneState::cameraZ, false},
                        {'Q', &SceneState::cameraY, true}, {'E', &SceneState::cameraY, false}};
    for (const Row& row : rows) {
        ResetProgramState();
        scene.*row.field = row.forward ? -0.549926758f : 0.0500488281f;
        const float up[] = {-0.249926761f, 0.05007324f, 0.350073248f};
        const float down[] = {-0.249951169f, -0.549951196f, -0.849951208f};
        scene.keyDown[row.key] = true;
        for (int pass = 0; pass < 3; ++pass) {
            HandleMovementKeys();
            EXPECT_EQ(scene.*row.field, (row.forward ? up : down)[pass])
                << std::setprecision(9) << "key " << static_cast<char>(row.key) << ", pass " << pass + 1;
        }
        EXPECT_EQ(scene.rainbowDelay, 0u) << "no frame control runs";
    }
}

struct Bounded {
    const char* name;
    std::vector<uint32_t> keys;
    float SceneState::*field;
    float start;
    int frames;
    float expected;
};

void PrintTo(const Bounded& b, std::ostream* out) {
    *out << b.name;
}

class BoundedKey : public ControlsTest, public ::testing::WithParamInterface<Bounded> {};

TEST_P(BoundedKey, StopsOnceTheBoundIsPassed) {
    const Bounded& b = GetParam();
    scene.*b.field = b.start;
    for (uint32_t key : b.keys) scene.keyDown[key] = true;
    Frames(b.frames);
    EXPECT_EQ(scene.*b.field, b.expected) << std::setprecision(9) << scene.*b.field;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BoundedKey,
    ::testing::Values(
        // 0.01f added in double and stored as a float, 100 times from 2: just above 1 still.
        Bounded{"PlusFor100", {VK_ADD}, &SceneState::particleSlowdown, 2.0f, 100, 1.00000095f},
        Bounded{"PlusFor101", {VK_ADD}, &SceneState::particleSlowdown, 2.0f, 101, 0.990000963f},
        Bounded{"PlusFor150", {VK_ADD}, &SceneState::particleSlowdown, 2.0f, 150, 0.990000963f},
        Bounded{"MinusFor201", {VK_SUBTRACT}, &SceneState::particleSlowdown, 2.0f, 201, 4.00999832f},
        Bounded{"MinusFor300", {VK_SUBTRACT}, &SceneState::particleSlowdown, 2.0f, 300, 4.00999832f},
        // Both: the decrease, then the increase tested on what the decrease left.
        Bounded{"BothAtFour", {VK_ADD, VK_SUBTRACT}, &SceneState::particleSlowdown, 4.0f, 1, 4.0f},
        Bounded{"BothAtOne", {VK_ADD, VK_SUBTRACT}, &SceneState::particleSlowdown, 1.0f, 1, 1.00999999f},
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
