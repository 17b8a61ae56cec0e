// Reads a Windows bitmap file (with or without its file header, 12- or 40-byte info header) into
// 24-bit RGB pixels, bottom row first, rows packed without gaps.
#pragma once

#include <cstdint>

struct RgbImage {
    int32_t width;
    int32_t height;
    uint8_t* pixels; // width * height * 3 bytes: red, green, blue; bottom row first
};

// The loader's own switch for its message boxes; true from start.
extern bool errorPopupsEnabled;

// A new image that the caller owns (free `pixels`, then the record, with free()), or null after a
// failure, which has been reported in one message box.
RgbImage* LoadBitmapImage(const char* path);

// Number of colour-table entries of the info header at `infoHeader`.
uint16_t CountPaletteEntries(const uint8_t* infoHeader);
