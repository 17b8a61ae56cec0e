#include "assets/glyphs.h"

void BeginGlyphLists() {
    // Bytes packed without row padding, most significant bit first.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
}

void EndGlyphLists() {
    glPopClientAttrib();
}

void CompileGlyph(const Glyph& glyph) {
    if (!glyph.rows || glyph.width == 0 || glyph.height == 0) {
        glBitmap(0, 0, 0.0f, 0.0f, glyph.advance, 0.0f, nullptr);
        return;
    }
    glBitmap(glyph.width, glyph.height, glyph.xorig, glyph.yorig, glyph.advance, 0.0f, glyph.rows);
}
