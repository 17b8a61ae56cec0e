// The help panel's font as 1-bit glyph bitmaps, and the display lists made from them. The desktop
// renders the glyphs with FreeType as it builds its lists; the browser build has no FreeType and
// compiles a table that a build-time tool wrote with the same code (glyph_table.h).
#pragma once

#include <cstdint>

#include "gl/opengl.h"

constexpr int GlyphFirstCode = 32; // the lists cover the characters 32 to 127
constexpr int GlyphCount = 96;
constexpr int GlyphPixelHeight = 24; // pixels per em, internal leading not included

// One character as glBitmap draws it: rows bottom first, (width + 7) / 8 bytes each, leftmost pixel
// in the high bit; the origin is the pen position on the baseline.
struct Glyph {
    int width = 0;
    int height = 0;
    float xorig = 0.0f;
    float yorig = 0.0f;
    float advance = 0.0f;
    const uint8_t* rows = nullptr; // null when the glyph has no pixels
};

// Sets the unpack state glyph rows need (bitmap data is unpacked as a list is compiled), saving
// the client's; EndGlyphLists puts it back.
void BeginGlyphLists();
void EndGlyphLists();

// Into the list being compiled: the glyph drawn at the raster position, which then moves right by
// its advance.
void CompileGlyph(const Glyph& glyph);
