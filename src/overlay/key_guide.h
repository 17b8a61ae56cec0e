// The key guide: every key and what it does, as data. The help panel shows it in short words; the
// command line's --help shows it in full.
#pragma once

// One entry: the keys, then what they do, in a word or two for the panel and in full for the
// command line. Plain ASCII, since the font lists hold the characters 32 to 127 only. The panel
// puts several entries on a line; `newLine` starts one.
struct KeyGuideEntry {
    bool newLine;
    const char* keys;
    const char* action;
    const char* detail;
};
extern const KeyGuideEntry KeyGuide[];
extern const int KeyGuideSize;
