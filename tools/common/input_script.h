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

// Parses the text form; false with a message naming the bad event otherwise. The events keep
// their order within a frame.
bool ParseInputScript(const std::string& text, std::vector<InputEvent>& events, std::string& error);

// The virtual-key code for a name or hex code, 0 when there is none.
uint32_t VirtualKeyFromName(const std::string& name);
