#include "overlay/key_guide.h"

#include "platform/virtual_keys.h"

const char* const KeyGroupNames[] = {"Help and fullscreen", "Camera", "Scene", "Particles"};

namespace {

constexpr KeyGroup Program = KeyGroup::Program, Scene = KeyGroup::Scene, Particles = KeyGroup::Particles,
                   Camera = KeyGroup::Camera;

} // namespace

// clang-format off
const KeyGuideEntry KeyGuide[] = {
    {true, "Esc", "quit", "quit", Program, {VK_ESCAPE}},
    {false, "F1", "fullscreen", "switch between the window and 640 x 480 fullscreen", Program, {VK_F1}},
    {false, "H", "this help", "show / hide the help panel", Program, {'H'}},
    {true, "L", "lighting", "lighting on / off", Scene, {'L'}},
    {false, "F", "filter", "triangle and quad texture filter: nearest, linear, mipmap", Scene, {'F'}},
    {false, "B", "blending", "blending on / off (shows for one frame)", Scene, {'B'}},
    {false, "T", "twinkle", "star twinkle on / off", Scene, {'T'}},
    {true, "G", "fog mode", "fog mode: exp, exp2, linear (fog itself stays off)", Scene, {'G'}},
    {false, "Enter", "colour cycle", "automatic particle colour cycling on / off", Particles, {VK_RETURN}},
    {true, "Space", "next colour", "next particle colour (and stop the cycling)", Particles, {VK_SPACE}},
    {false, "Tab", "burst", "held: particles are reborn in a burst", Particles, {VK_TAB}},
    {false, "Shift", "scatter", "held: particles are reborn scattered", Particles, {VK_SHIFT}},
    {true, "Up Down", "tilt, launch y", "tilt the star field; particles' launch speed up / down", Particles,
     {VK_UP, VK_DOWN}},
    {false, "Left Right", "launch x", "particles' sideways launch speed", Particles, {VK_LEFT, VK_RIGHT}},
    {true, "PgUp PgDn", "scene depth", "triangle, quad, stars and boxes farther / nearer", Scene,
     {VK_PRIOR, VK_NEXT}},
    {false, "J K", "fountain depth", "particle fountain nearer / farther", Particles, {'J', 'K'}},
    {true, "Keypad + -", "speed", "particles faster / slower", Particles, {VK_ADD, VK_SUBTRACT}},
    {false, "Keypad 8 2 6 4", "gravity", "held, NumLock on: particles' gravity up, down, right, left", Particles,
     {VK_NUMPAD8, VK_NUMPAD2, VK_NUMPAD6, VK_NUMPAD4}},
    {true, "W S A D Q E", "move camera", "held: camera forward, back, left, right, up, down", Camera,
     {'W', 'S', 'A', 'D', 'Q', 'E'}},
    {true, "Right drag", "turn view", "drag with the right mouse button: turn the view", Camera, {}},
};
// clang-format on
const int KeyGuideSize = static_cast<int>(sizeof KeyGuide / sizeof KeyGuide[0]);
