// The scripted input of the capture tool: key presses, releases and right-button drags, each
// delivered before a given frame is drawn.
//
// Text form: space-separated events FRAME:down:KEY, FRAME:up:KEY and FRAME:drag:DX,DY, where KEY
// is a virtual-key name (A-Z, F1-F12, ESCAPE, TAB, SHIFT, RETURN, SPACE, UP, DOWN, LEFT, RIGHT,
// PRIOR, NEXT, ADD, SUBTRACT, NUMPAD0-9) or a code in hex (0x4C).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct InputEvent {
    enum class Kind { KeyDown, KeyUp, Drag };
    int frame = 0; // delivered before this frame (1-based) is drawn
    Kind kind = Kind::KeyDown;
    uint32_t virtualKey = 0;
    int dx = 0;
    int dy = 0;
};

// The largest frame number anything is scheduled for (a billion frames: days of drawing).
constexpr int MaxFrameNumber = 1000000000;
// A drag starts and ends inside the 640 x 480 window: it is centred there, so it can span it.
constexpr int MaxDragX = 640;
constexpr int MaxDragY = 480;

// Parses the text form; false with a message naming the bad event otherwise. Numbers out of
// their range (frames 1 to MaxFrameNumber, drags up to the window's size, key codes 0x01-0xFF)
// are refused, never wrapped. The events keep
// their order within a frame.
bool ParseInputScript(const std::string& text, std::vector<InputEvent>& events, std::string& error);

// The virtual-key code for a name or hex code, 0 when there is none.
uint32_t VirtualKeyFromName(const std::string& name);
