// The key guide: every key and what it does, as data. The help panel shows it in short words; the
// command line's --help shows it in full; the web page makes its on-screen controls from it.
#pragma once

#include <cstdint>

// The groups the page puts its controls in, in the order it shows them.
enum class KeyGroup : uint8_t { Program, Camera, Scene, Particles };
constexpr int KeyGroupCount = 4;
extern const char* const KeyGroupNames[]; // by KeyGroup

// One entry: the keys, then what they do, in a word or two for the panel and in full for the
// command line. Plain ASCII, since the font lists hold the characters 32 to 127 only. The panel
// puts several entries on a line; `newLine` starts one. `codes` are the virtual-key codes of the
// keys named, in the order named, ending at the first 0; an entry that names no key (the drag)
// has none.
struct KeyGuideEntry {
    bool newLine;
    const char* keys;
    const char* action;
    const char* detail;
    KeyGroup group;
    uint8_t codes[7];
};
extern const KeyGuideEntry KeyGuide[];
extern const int KeyGuideSize;
