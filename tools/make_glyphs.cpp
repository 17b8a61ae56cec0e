// make-glyphs OUT.cpp: writes the help panel's 96 glyphs, rendered by the desktop's own FreeType
// code (same font, size and bitmaps), as the C++ table of glyph_table.h. The browser build runs it
// at build time, since it has no FreeType of its own.
#include <cstdio>
#include <string>

#include "assets/glyphs_freetype.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-glyphs OUT.cpp\n");
        return 2;
    }
    FT_Library library = nullptr;
    char fontFile[4096] = "";
    FT_Face face = OpenGlyphFace(library, fontFile, sizeof fontFile);
    if (!face) {
        std::fprintf(stderr, "make-glyphs: no font found for bold Verdana (install fonts-dejavu-core)\n");
        CloseGlyphFace(library, face);
        return 1;
    }

    std::string rowsText, glyphsText, presentText;
    size_t offset = 0;
    uint8_t rows[GlyphBytes];
    char line[256];
    for (int k = 0; k < GlyphCount; k++) {
        Glyph glyph;
        bool present = RenderGlyph(face, GlyphFirstCode + k, glyph, rows);
        size_t bytes = glyph.rows ? static_cast<size_t>((glyph.width + 7) / 8 * glyph.height) : 0;
        std::snprintf(line, sizeof line, "    {%d, %d, %.9g, %.9g, %.9g, %s}, // %d\n", glyph.width,
                      glyph.height, static_cast<double>(glyph.xorig), static_cast<double>(glyph.yorig),
                      static_cast<double>(glyph.advance),
                      bytes ? ("Rows + " + std::to_string(offset)).c_str() : "nullptr", GlyphFirstCode + k);
        glyphsText += line;
        presentText += present ? "true," : "false,";
        for (size_t i = 0; i < bytes; i++) {
            std::snprintf(line, sizeof line, "%u,%s", rows[i], (offset + i) % 24 == 23 ? "\n" : "");
            rowsText += line;
        }
        offset += bytes;
    }
    CloseGlyphFace(library, face);

    FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "make-glyphs: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "// Written by make-glyphs from %s at %d pixels: do not edit.\n"
                 "#include \"assets/glyph_table.h\"\n\n"
                 "namespace {\nconst uint8_t Rows[] = {\n%s0};\n} // namespace\n\n"
                 "const Glyph GlyphTable[GlyphCount] = {\n%s};\n\n"
                 "const bool GlyphTablePresent[GlyphCount] = {%s};\n",
                 fontFile, GlyphPixelHeight, rowsText.c_str(), glyphsText.c_str(), presentText.c_str());
    bool written = std::fclose(out) == 0;
    return written ? 0 : 1;
}
