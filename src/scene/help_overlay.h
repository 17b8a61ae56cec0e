// The help panel: H shows it over the scene and hides it again. It lists the keys and the live
// values of the scene's settings, drawn with the program's own font lists. The panel keeps its own
// state here, so the scene record holds nothing of it.
#pragma once

// One entry of the key guide: the keys, then what they do, in a word or two for the panel and in
// full for the command line's help. Plain ASCII, since the font lists hold the characters 32 to
// 127 only. The panel puts several entries on a line; `newLine` starts one.
struct KeyGuideEntry {
    bool newLine;
    const char* keys;
    const char* action;
    const char* detail;
};
extern const KeyGuideEntry KeyGuide[];
extern const int KeyGuideSize;

// H, latched: shows or hides the panel once per press. Called with the frame controls, once per
// rendered frame.
void HandleHelpKey();

// Called right after the frame is cleared, before anything is drawn. While the panel is shown,
// draws those of its lines whose text changed into the empty frame with the font lists, keeps
// them as a picture, and clears the frame again. Drawing text with font lists costs a driver like
// Mesa's far more per character than drawing a picture, so the panel's text is drawn only when it
// changes, and the line with the frame rate at most twice a second.
void PrepareHelpOverlay();

// Called last in every frame: counts the frame, notes its time for the frame rate and, while the
// panel is shown, draws it over the frame with the picture of its text. Both calls put back every
// GL state they touch, read the scene record without writing it, and draw no random number.
void DrawHelpOverlay();

bool HelpOverlayShown();

// The clock the frame rate is measured with. Real time by default; with a rate above 0, every
// frame takes 1 / rate seconds, so pictures of the panel come out the same on every run.
void UseSteppedHelpClock(double framesPerSecond);

// Hidden, no frame counted, the real clock, no picture: as at program start. (A picture's texture
// is left to its rendering context.)
void ResetHelpOverlay();

// The text of the panel's value lines, as drawn: lines separated by '\n'. The frame number is
// that of the frame being drawn (the frames counted so far, plus one). Writes at most `size`
// bytes, always terminated.
void FormatHelpValues(char* text, int size);
