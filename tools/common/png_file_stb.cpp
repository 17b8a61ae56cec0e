// PNG files through stb's header-only reader and writer, for builds without libpng (Windows).
#include "common/png_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <cstdlib>

bool WritePng(const std::string& path, const RgbPicture& picture, std::string& error) {
    if (!stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.pixels.data(),
                        picture.width * 3)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, RgbPicture& picture, std::string& error) {
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (!pixels) {
        error = path + ": " + stbi_failure_reason();
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    stbi_image_free(pixels);
    return true;
}
