// Any bytes as a bitmap file: the loader must never read or write out of bounds, and must either
// return a whole picture without a box or return nothing with exactly one box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "assets/bitmap_loader.h"
#include "platform/scripted_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScriptedPlatform* platform = [] {
        ScriptedPlatform* scripted = new ScriptedPlatform;
        SetCurrentPlatform(scripted);
        return scripted;
    }();
    platform->boxes.clear();
    platform->calls.clear();

    RgbImage* image = DecodeBitmapImage(data, size);
    if (!image) {
        if (platform->boxes.size() != 1) std::abort();
        return 0;
    }
    if (!platform->boxes.empty() || image->width <= 0 || image->height <= 0) std::abort();
    uint64_t bytes = uint64_t(image->width) * uint64_t(image->height) * 3;
    if (bytes > MaxBitmapBytes) std::abort();
    // Read every pixel, so that a block shorter than width * height * 3 shows.
    uint8_t sum = 0;
    for (uint64_t i = 0; i < bytes; i++) sum = uint8_t(sum + image->pixels[i]);
    volatile uint8_t sink = sum;
    (void)sink;
    std::free(image->pixels);
    std::free(image);
    return 0;
}
