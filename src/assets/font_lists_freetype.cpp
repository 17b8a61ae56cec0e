#include "assets/font_lists.h"

#include "assets/glyphs_freetype.h"

GLuint CreateFontLists(DeviceContext) {
    // The glyphs come from FreeType; nothing is drawn into the device context.
    GLuint base = glGenLists(GlyphCount);
    if (base == 0) return 0;

    FT_Library library = nullptr;
    FT_Face face = OpenGlyphFace(library);
    BeginGlyphLists();
    uint8_t rows[GlyphBytes];
    for (int k = 0; k < GlyphCount; k++) {
        // Every list is compiled, empty where there is no glyph, so that all 96 exist.
        glNewList(base + k, GL_COMPILE);
        Glyph glyph;
        if (RenderGlyph(face, GlyphFirstCode + k, glyph, rows)) CompileGlyph(glyph);
        glEndList();
    }
    EndGlyphLists();
    CloseGlyphFace(library, face);
    return base;
}
