// The help panel's 96 glyphs as a table compiled into the program, written at build time by
// make-glyphs (tools/make_glyphs.cpp) with the desktop's FreeType code, for builds without FreeType.
#pragma once

#include "assets/glyphs.h"

// Character 32 + k; `GlyphTablePresent[k]` false where the font had no glyph (an empty list).
extern const Glyph GlyphTable[GlyphCount];
extern const bool GlyphTablePresent[GlyphCount];
