#include "scene/controls.h"

#include "gl/opengl.h"

#include "platform/virtual_keys.h"
#include "overlay/help_panel.h"
#include "scene/scene_state.h"

namespace {

// Steps as the program has always used them: 0.5 and 1 are exact, 0.2, 0.1 and 0.01 are the
// floats nearest those decimals, 0.3 is the double. Every new value is worked out in double
// precision and stored as a float.
constexpr double HalfStep = 0.5;
constexpr double DepthStep = 0.2f;
constexpr double ParticleDepthStep = 0.1f;
constexpr double SlowdownStep = 0.01f;
constexpr double MoveStep = 0.3;
constexpr double LaunchStep = 1.0;
constexpr float LaunchLimit = 200.0f;
constexpr uint32_t RainbowInterval = 25; // a timed palette step comes when the delay passes this

// H's latch. The help panel is not part of the scene, so neither is its latch.
bool helpKeyLatch = false;

void Step(float& field, double step) {
    field = static_cast<float>(static_cast<double>(field) + step);
}

bool Down(uint32_t key) {
    return scene.keyDown[key];
}

uint32_t NextIndex(uint32_t index, uint32_t last) {
    return index + 1 > last ? 0 : index + 1;
}

void StepPalette() {
    bool spaceDown = Down(VK_SPACE);
    bool due =
        (spaceDown && !scene.spaceKeyLatch) || (scene.rainbowOn && scene.rainbowDelay > RainbowInterval);
    if (due) {
        // A step taken while Space is down always ends the automatic cycling.
        if (spaceDown) scene.rainbowOn = false;
        scene.spaceKeyLatch = true;
        scene.rainbowDelay = 0;
        scene.paletteIndex = NextIndex(scene.paletteIndex, PaletteSize - 1);
    }
    if (!spaceDown) scene.spaceKeyLatch = false;
}

} // namespace

void HandleFrameControls() {
    if (KeyPressedOnce(VirtualKeyOf('L'), scene.lightKeyLatch)) {
        scene.lightingOn = !scene.lightingOn;
        if (scene.lightingOn)
            glEnable(GL_LIGHTING);
        else
            glDisable(GL_LIGHTING);
    }
    if (KeyPressedOnce(VirtualKeyOf('F'), scene.filterKeyLatch))
        scene.filterIndex = NextIndex(scene.filterIndex, 2);
    if (KeyPressedOnce(VirtualKeyOf('B'), scene.blendKeyLatch)) {
        // Shapes at most the start of the next frame: the frame itself switches blending off and
        // the depth test on before the backdrop.
        scene.blendOn = !scene.blendOn;
        if (scene.blendOn) {
            glEnable(GL_BLEND);
            glDisable(GL_DEPTH_TEST);
        } else {
            glDisable(GL_BLEND);
            glEnable(GL_DEPTH_TEST);
        }
    }
    if (KeyPressedOnce(VirtualKeyOf('T'), scene.twinkleKeyLatch)) scene.twinkleOn = !scene.twinkleOn;
    if (KeyPressedOnce(VirtualKeyOf('G'), scene.fogKeyLatch)) {
        scene.fogModeIndex = NextIndex(scene.fogModeIndex, 2);
        glFogi(GL_FOG_MODE, SceneState::fogModes[scene.fogModeIndex]);
    }
    if (Down(VK_UP)) Step(scene.starTilt, -HalfStep);
    if (Down(VK_DOWN)) Step(scene.starTilt, HalfStep);
    if (Down(VK_PRIOR)) Step(scene.sceneDepth, -DepthStep);
    if (Down(VK_NEXT)) Step(scene.sceneDepth, DepthStep);
    // Bounds are tested before the step, so a value can pass its bound by less than one step.
    if (Down(VK_ADD) && scene.particleSlowdown > 1.0f) Step(scene.particleSlowdown, -SlowdownStep);
    if (Down(VK_SUBTRACT) && scene.particleSlowdown < 4.0f) Step(scene.particleSlowdown, SlowdownStep);
    if (Down(VirtualKeyOf('J'))) Step(scene.particleDepth, ParticleDepthStep);
    if (Down(VirtualKeyOf('K'))) Step(scene.particleDepth, -ParticleDepthStep);
    if (KeyPressedOnce(VK_RETURN, scene.rainbowKeyLatch)) scene.rainbowOn = !scene.rainbowOn;
    StepPalette();
    if (Down(VK_UP) && scene.launchSpeedY < LaunchLimit) Step(scene.launchSpeedY, LaunchStep);
    if (Down(VK_DOWN) && scene.launchSpeedY > -LaunchLimit) Step(scene.launchSpeedY, -LaunchStep);
    if (Down(VK_RIGHT) && scene.launchSpeedX < LaunchLimit) Step(scene.launchSpeedX, LaunchStep);
    if (Down(VK_LEFT) && scene.launchSpeedX > -LaunchLimit) Step(scene.launchSpeedX, -LaunchStep);
    ++scene.rainbowDelay; // counts every rendered frame, also while rainbow mode is off
    if (KeyPressedOnce(VirtualKeyOf('H'), helpKeyLatch)) ToggleHelpPanel();
}

void HandleMovementKeys() {
    if (Down(VirtualKeyOf('A'))) Step(scene.cameraX, MoveStep);
    if (Down(VirtualKeyOf('D'))) Step(scene.cameraX, -MoveStep);
    if (Down(VirtualKeyOf('W'))) Step(scene.cameraZ, MoveStep);
    if (Down(VirtualKeyOf('S'))) Step(scene.cameraZ, -MoveStep);
    if (Down(VirtualKeyOf('Q'))) Step(scene.cameraY, MoveStep);
    if (Down(VirtualKeyOf('E'))) Step(scene.cameraY, -MoveStep);
}
