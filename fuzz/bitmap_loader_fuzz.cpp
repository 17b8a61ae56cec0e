// Any bytes as a bitmap file: the loader must never read or write out of bounds, and must either
// return a whole picture without a box or return nothing with exactly one box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <sanitizer/asan_interface.h>

#include "assets/bitmap_loader.h"

namespace {

int reported = 0; // failure texts of the current input

void CountReport(const char*) {
    ++reported;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetLoaderErrorSink(CountReport);
    reported = 0;

    RgbImage* image = DecodeBitmapImage(data, size);
    if (!image) {
        if (reported != 1) std::abort();
        return 0;
    }
    if (reported != 0 || image->width <= 0 || image->height <= 0) std::abort();
    uint64_t bytes = uint64_t(image->width) * uint64_t(image->height) * 3;
    if (bytes > MaxBitmapBytes) std::abort();
    // The whole picture must lie in the block: a block shorter than width * height * 3 shows.
    // AddressSanitizer answers from its shadow memory, where a loop over every byte would spend
    // most of the run in the fuzzer's own comparison tracing.
    if (__asan_region_is_poisoned(image->pixels, bytes)) std::abort();
    std::free(image->pixels);
    std::free(image);
    return 0;
}
