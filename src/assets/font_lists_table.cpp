#include "assets/font_lists.h"

#include "assets/glyph_table.h"

GLuint CreateFontLists(DeviceContext) {
    // The glyphs were rendered at build time (glyph_table.h); nothing is drawn into the device
    // context.
    GLuint base = glGenLists(GlyphCount);
    if (base == 0) return 0;
    BeginGlyphLists();
    for (int k = 0; k < GlyphCount; k++) {
        glNewList(base + k, GL_COMPILE);
        if (GlyphTablePresent[k]) CompileGlyph(GlyphTable[k]);
        glEndList();
    }
    EndGlyphLists();
    return base;
}
