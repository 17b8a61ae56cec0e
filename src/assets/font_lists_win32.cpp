#include "platform/win32_headers.h"

#include "assets/font_lists.h"

namespace {
constexpr DWORD FirstCode = 32;
constexpr DWORD CodeCount = 96;
} // namespace

GLuint CreateFontLists(DeviceContext dc) {
    GLuint base = glGenLists(CodeCount);
    if (base == 0) return 0;

    HDC hdc = reinterpret_cast<HDC>(dc);
    // A character height of 24 pixels (the cell height less its internal leading), bold.
    HFONT font =
        CreateFontA(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FF_DONTCARE | DEFAULT_PITCH, "Verdana");
    HGDIOBJ previous = SelectObject(hdc, font);
    wglUseFontBitmapsA(hdc, FirstCode, CodeCount, base);
    SelectObject(hdc, previous);
    DeleteObject(font);
    return base;
}
