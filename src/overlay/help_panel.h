// The help panel, drawn over the scene while it is shown: the key guide and the live values of the
// scene's settings, written with the program's own font lists. The panel keeps its own state here,
// so the scene record holds nothing of it; the controls show and hide it.
#pragma once

// Shows the panel when it is hidden and hides it when it is shown.
void ToggleHelpPanel();
bool HelpPanelShown();

// Called right after the frame is cleared, before anything is drawn. While the panel is shown,
// draws those of its lines whose text changed into the empty frame with the font lists, keeps
// them as a picture, and clears the frame again. Drawing text with font lists costs a driver like
// Mesa's far more per character than drawing a picture, so the panel's text is drawn only when it
// changes, and the line with the frame rate at most twice a second.
void PrepareHelpPanel();

// Called last in every frame: while the panel is shown, draws it over the frame with the picture of
// its text. Both calls put back every GL state they touch, read the scene record without writing
// it, and draw no random number.
void DrawHelpPanel();

// Deletes the picture's texture, while the rendering context it was made in is still current: the
// texture ends with its context, as the font lists do.
void ReleaseHelpPanel();

// Hidden, no picture: as at program start. (A picture's texture is left to its rendering context.)
void ResetHelpPanel();

// The text of the panel's value lines, as drawn: lines separated by '\n'. The frame number is
// that of the frame being drawn (the frames presented so far, plus one). Writes at most `size`
// bytes, always terminated.
void FormatHelpValues(char* text, int size);
