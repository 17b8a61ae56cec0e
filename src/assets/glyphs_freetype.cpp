#include "assets/glyphs_freetype.h"

#include <fontconfig/fontconfig.h>

#include <cstring>

namespace {

constexpr int PathSize = 4096;

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

} // namespace

FT_Face OpenGlyphFace(FT_Library& library, char* fontFile, int fontFileSize) {
    library = nullptr;
    char path[PathSize];
    int faceIndex = 0;
    if (!FindFont(path, faceIndex) || FT_Init_FreeType(&library) != 0) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path, faceIndex, &face) != 0) return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, GlyphPixelHeight) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    if (fontFile && fontFileSize > 0) {
        std::strncpy(fontFile, path, static_cast<size_t>(fontFileSize) - 1);
        fontFile[fontFileSize - 1] = '\0';
    }
    return face;
}

void CloseGlyphFace(FT_Library library, FT_Face face) {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

bool RenderGlyph(FT_Face face, int code, Glyph& glyph, uint8_t (&rows)[GlyphBytes]) {
    glyph = Glyph{};
    if (!face || FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
    int width = static_cast<int>(bitmap.width);
    int height = static_cast<int>(bitmap.rows);
    int rowBytes = (width + 7) / 8;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || width == 0 || height == 0 ||
        rowBytes * height > GlyphBytes)
        return true;
    // FreeType's rows run top down (adding the pitch goes down one row, whatever its sign);
    // glBitmap wants the bottom row first. Both keep the leftmost pixel in the high bit.
    for (int row = 0; row < height; row++) {
        const uint8_t* source = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        std::memcpy(rows + (height - 1 - row) * rowBytes, source, static_cast<size_t>(rowBytes));
    }
    // The bitmap starts bitmap_left to the right of the pen and its bottom row lies
    // (height - bitmap_top) below the baseline.
    glyph.width = width;
    glyph.height = height;
    glyph.xorig = static_cast<float>(-slot->bitmap_left);
    glyph.yorig = static_cast<float>(height - slot->bitmap_top);
    glyph.rows = rows;
    return true;
}
