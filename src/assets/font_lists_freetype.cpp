#include "assets/font_lists.h"

#include "gl/opengl.h"
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>

namespace {

constexpr int FirstCode = 32;
constexpr int CodeCount = 96;
constexpr int CharacterHeight = 24; // pixels per em, internal leading not included
constexpr int PathSize = 4096;
constexpr int GlyphBytes = 8192; // a 24-pixel glyph takes well under 200

// The file of fontconfig's best match for bold "Verdana" (a metric-compatible stand-in where
// Verdana itself is not installed); false when fontconfig knows no font at all.
bool FindFont(char (&path)[PathSize], int& faceIndex) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Verdana"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;

    FcChar8* file = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file &&
                 std::strlen(reinterpret_cast<const char*>(file)) < PathSize;
    if (found) {
        std::strcpy(path, reinterpret_cast<const char*>(file));
        if (FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex) != FcResultMatch) faceIndex = 0;
    }
    FcPatternDestroy(match);
    return found;
}

// Compiles the current list for one character: its 1-bit glyph drawn at the raster position, which
// then moves right by the glyph's advance. A character the face cannot render leaves the list empty.
void CompileGlyph(FT_Face face, int code, uint8_t (&rows)[GlyphBytes]) {
    if (!face || FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return;
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    float advance = static_cast<float>(glyph->advance.x) / 64.0f;
    int width = static_cast<int>(bitmap.width);
    int height = static_cast<int>(bitmap.rows);
    int rowBytes = (width + 7) / 8;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || width == 0 || height == 0 ||
        rowBytes * height > GlyphBytes) {
        glBitmap(0, 0, 0.0f, 0.0f, advance, 0.0f, nullptr);
        return;
    }
    // FreeType's rows run top down (adding the pitch goes down one row, whatever its sign);
    // glBitmap wants the bottom row first. Both keep the leftmost pixel in the high bit.
    for (int row = 0; row < height; row++) {
        const uint8_t* source = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        std::memcpy(rows + (height - 1 - row) * rowBytes, source, rowBytes);
    }
    // The origin is the pen position on the baseline: the bitmap starts bitmap_left to its right
    // and its bottom row lies (height - bitmap_top) below the baseline.
    glBitmap(width, height, static_cast<float>(-glyph->bitmap_left),
             static_cast<float>(height - glyph->bitmap_top), advance, 0.0f, rows);
}

} // namespace

GLuint CreateFontLists(DeviceContext) {
    // The glyphs come from FreeType; nothing is drawn into the device context.
    GLuint base = glGenLists(CodeCount);
    if (base == 0) return 0;

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    char path[PathSize];
    int faceIndex = 0;
    if (FindFont(path, faceIndex) && FT_Init_FreeType(&library) == 0) {
        if (FT_New_Face(library, path, faceIndex, &face) != 0) {
            face = nullptr;
        } else if (FT_Set_Pixel_Sizes(face, 0, CharacterHeight) != 0) {
            FT_Done_Face(face);
            face = nullptr;
        }
    }

    // Bitmap data is unpacked when a list is compiled, so the glyph rows' layout is set here:
    // bytes packed without row padding, most significant bit first.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    uint8_t rows[GlyphBytes];
    for (int k = 0; k < CodeCount; k++) {
        // Every list is compiled, empty without a font, so that all 96 exist.
        glNewList(base + k, GL_COMPILE);
        CompileGlyph(face, FirstCode + k, rows);
        glEndList();
    }
    glPopClientAttrib();

    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
    return base;
}
