#include "overlay/key_guide.h"

const KeyGuideEntry KeyGuide[] = {
    {true, "Esc", "quit", "quit"},
    {false, "F1", "fullscreen", "switch between the window and 640 x 480 fullscreen"},
    {false, "H", "this help", "show / hide the help panel"},
    {true, "L", "lighting", "lighting on / off"},
    {false, "F", "filter", "triangle and quad texture filter: nearest, linear, mipmap"},
    {false, "B", "blending", "blending on / off (shows for one frame)"},
    {false, "T", "twinkle", "star twinkle on / off"},
    {true, "G", "fog mode", "fog mode: exp, exp2, linear (fog itself stays off)"},
    {false, "Enter", "colour cycle", "automatic particle colour cycling on / off"},
    {true, "Space", "next colour", "next particle colour (and stop the cycling)"},
    {false, "Tab", "burst", "held: particles are reborn in a burst"},
    {false, "Shift", "scatter", "held: particles are reborn scattered"},
    {true, "Up Down", "tilt, launch y", "tilt the star field; particles' launch speed up / down"},
    {false, "Left Right", "launch x", "particles' sideways launch speed"},
    {true, "PgUp PgDn", "scene depth", "triangle, quad, stars and boxes farther / nearer"},
    {false, "J K", "fountain depth", "particle fountain nearer / farther"},
    {true, "Keypad + -", "speed", "particles faster / slower"},
    {false, "Keypad 8 2 6 4", "gravity", "held, NumLock on: particles' gravity up, down, right, left"},
    {true, "W S A D Q E", "move camera", "held: camera forward, back, left, right, up, down"},
    {true, "Right drag", "turn view", "drag with the right mouse button: turn the view"},
};
const int KeyGuideSize = static_cast<int>(sizeof KeyGuide / sizeof KeyGuide[0]);
