// PNG files for the tools and the golden-image tests: 8-bit RGB, top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 3 bytes, top row first
};

// False (with the reason in `error`) when the file cannot be written.
bool WritePng(const std::string& path, const RgbPicture& picture, std::string& error);
// Reads any PNG, converted to 8-bit RGB (alpha dropped, palettes and grey expanded).
bool ReadPng(const std::string& path, RgbPicture& picture, std::string& error);
// Binary PPM (P6), for people who prefer it.
bool WritePpm(const std::string& path, const RgbPicture& picture, std::string& error);
