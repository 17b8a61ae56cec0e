// The one program-wide state record. Every part of the program reads and writes its fields
// directly; there is exactly one instance, `scene`, from program start to end.
#pragma once

#include "gl/opengl.h"

#include <cstdint>

#include "platform/platform.h"

// A 32-bit integer used as a boolean (0 or 1), where the record keeps the width of the original.
using Bool32 = int32_t;

constexpr int StarCount = 50;
constexpr int CubeCount = 15;
constexpr int ParticleCount = 1000;
constexpr int KeyCount = 256;
constexpr int PaletteSize = 12;

struct Star {
    int32_t red;
    int32_t green;
    int32_t blue;
    float distance; // from the field's axis, 0..5 after every pass
    float angle;    // orbit angle in degrees, never wrapped
};

struct Cube {
    int32_t red;
    int32_t green;
    int32_t blue;
    float x;
    float y;
    float z;
    float rotX; // degrees, never wrapped
    float rotY;
    float rotZ;
    float spinX; // degrees added per frame
    float spinY;
    float spinZ;
};

struct Particle {
    bool active;
    float life; // 1 at birth, also the alpha it is drawn with
    float lifeDecay;
    float red;
    float green;
    float blue;
    float x; // relative to the launch point
    float y;
    float z;
    float velX;
    float velY;
    float velZ;
    float gravX;
    float gravY;
    float gravZ;
};

struct SceneState {
    // Window and platform.
    ModuleHandle instanceHandle = nullptr;
    WindowHandle mainWindow = nullptr;
    DeviceContext deviceContext = nullptr;
    RenderContext renderContext = nullptr;
    bool fullscreen = false;
    bool windowActive = true;

    // Input, written by the window procedure.
    bool keyDown[KeyCount] = {};
    Bool32 rightButtonDown = 0;
    int32_t lastMouseX = 0;
    int32_t lastMouseY = 0;
    int32_t lookDeltaX = 0;
    int32_t lookDeltaY = 0;
    int32_t mouseX = 0; // last reported cursor position; nothing reads it
    int32_t mouseY = 0;

    // Camera.
    float cameraYaw = 0.0f;
    float cameraPitch = 0.0f;
    float cameraX = 0.0f;
    float cameraY = 0.0f;
    float cameraZ = 0.0f;

    // Scene parameters.
    float sceneDepth = -15.0f;
    float starTilt = 90.0f;
    float starSpin = 0.0f;
    float triangleAngle = 0.0f;
    float quadAngle = 0.0f;
    float textPhaseA = 0.0f; // radians
    float textPhaseB = 0.0f; // radians
    float backdropZ = -40.0f;
    float particleSlowdown = 2.0f;
    float particleDepth = -40.0f;
    float launchSpeedX = 0.0f;
    float launchSpeedY = 0.0f;
    uint32_t paletteIndex = 0;
    uint32_t rainbowDelay = 0;
    uint32_t filterIndex = 0;
    uint32_t fogModeIndex = 0;

    // Toggles and the latches that make a held key act once.
    Bool32 lightingOn = 0;
    bool blendOn = false;
    bool twinkleOn = false;
    bool rainbowOn = false;
    Bool32 lightKeyLatch = 0;
    Bool32 filterKeyLatch = 0;
    bool blendKeyLatch = false;
    bool twinkleKeyLatch = false;
    bool fogKeyLatch = false;
    bool rainbowKeyLatch = false;
    bool spaceKeyLatch = false;

    // OpenGL object names, 0 until created.
    GLuint textures[3] = {};
    GLuint starTexture = 0;
    GLuint cubeList = 0;
    GLuint fontBase = 0;

    // Object tables, all zero until the first render set-up fills them.
    Star stars[StarCount] = {};
    Cube cubes[CubeCount] = {};
    Particle particles[ParticleCount] = {};

    // Fixed tables, never written.
    static constexpr GLfloat lightAmbient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    static constexpr GLfloat lightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    static constexpr GLfloat lightPosition[4] = {0.0f, 0.0f, 2.0f, 1.0f};
    static constexpr GLint fogModes[3] = {GL_EXP, GL_EXP2, GL_LINEAR};
    static constexpr GLfloat fogColor[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    static constexpr GLfloat particlePalette[PaletteSize][3] = {
        {1.0f, 0.5f, 0.5f}, {1.0f, 0.75f, 0.5f}, {1.0f, 1.0f, 0.5f}, {0.75f, 1.0f, 0.5f},
        {0.5f, 1.0f, 0.5f}, {0.5f, 1.0f, 0.75f}, {0.5f, 1.0f, 1.0f}, {0.5f, 0.75f, 1.0f},
        {0.5f, 0.5f, 1.0f}, {0.75f, 0.5f, 1.0f}, {1.0f, 0.5f, 1.0f}, {1.0f, 0.5f, 0.75f},
    };
};

extern SceneState scene;

// Puts every field back to its start value (the program itself never does this; tests do).
void ResetSceneState();
