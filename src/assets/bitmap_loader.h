// Reads a Windows bitmap file (with or without its file header, 12- or 40-byte info header) into
// 24-bit RGB pixels, bottom row first, rows packed without gaps.
#pragma once

#include <cstddef>
#include <cstdint>

struct RgbImage {
    int32_t width;
    int32_t height;
    uint8_t* pixels; // width * height * 3 bytes: red, green, blue; bottom row first
};

// Largest picture accepted, in bytes of 24-bit rows (8192 x 8192 fits): a short run-length file
// can declare any size, so the size alone has to be bounded before anything is allocated. The
// fuzzing build lowers it (QUORVANE_MAX_BITMAP_BYTES), so that its runs do not spend their time
// filling pictures of hundreds of megabytes; the unit tests hold the real bound.
#ifdef QUORVANE_MAX_BITMAP_BYTES
constexpr uint64_t MaxBitmapBytes = QUORVANE_MAX_BITMAP_BYTES;
#else
constexpr uint64_t MaxBitmapBytes = uint64_t(256) << 20;
#endif

// The loader's own switch for its message boxes; true from start.
extern bool errorPopupsEnabled;

// Where the loader's failure texts go while errorPopupsEnabled is true: by default each is a
// message box captioned "Error", with an OK button only, owned by the window that has the focus.
// Tools and tests that must not open boxes install a sink of their own; null restores the box.
using LoaderErrorSink = void (*)(const char* text);
void SetLoaderErrorSink(LoaderErrorSink sink);

// A new image that the caller owns (free `pixels`, then the record, with free()), or null after a
// failure, which has been reported in one message box.
RgbImage* LoadBitmapImage(const char* path);

// The same for a file already in memory: every check and box of LoadBitmapImage after the file
// is open. Reads nothing outside the `size` bytes at `data`.
RgbImage* DecodeBitmapImage(const uint8_t* data, size_t size);

// Number of colour-table entries of the info header at `infoHeader`.
// Reads the header size, then bcBitCount of a 12-byte header or biClrUsed and biBitCount of any
// other, so the caller makes sure that 12 or 40 bytes lie there.
uint16_t CountPaletteEntries(const uint8_t* infoHeader);
