// The help panel's glyphs rendered by FreeType from fontconfig's match for bold "Verdana", for the
// desktop's font lists and for the tool that writes the browser build's glyph table.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "assets/glyphs.h"

constexpr int GlyphBytes = 8192; // a 24-pixel glyph takes well under 200

// The face at GlyphPixelHeight, or null when fontconfig knows no font or FreeType cannot open it.
// `fontFile`, when given, receives the file's path. Close with CloseGlyphFace.
FT_Face OpenGlyphFace(FT_Library& library, char* fontFile = nullptr, int fontFileSize = 0);
void CloseGlyphFace(FT_Library library, FT_Face face);

// Renders character `code` as a 1-bit glyph into `rows`; false when the face cannot render it.
// A glyph without pixels comes back with no rows but its advance.
bool RenderGlyph(FT_Face face, int code, Glyph& glyph, uint8_t (&rows)[GlyphBytes]);
