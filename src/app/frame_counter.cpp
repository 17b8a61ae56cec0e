#include "app/frame_counter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "overlay/frame_rate.h"

namespace {

double steppedRate = 0.0; // frames per second of the stepped clock; 0 for real time

// QUORVANE_FRAME_COUNTER=FILE: the count is also kept in the first 8 bytes of FILE, rewritten
// after every frame, so that tests that drive the program from outside can count the frames it
// draws instead of watching screenshots change. Without it nothing is written.
std::FILE* SharedCount() {
    static std::FILE* const file = [] {
        const char* path = std::getenv("QUORVANE_FRAME_COUNTER");
        if (!path || !*path) return static_cast<std::FILE*>(nullptr);
        std::FILE* opened = std::fopen(path, "r+b");
        return opened ? opened : std::fopen(path, "w+b");
    }();
    return file;
}

} // namespace

void CountPresentedFrame() {
    RecordFrame(
        frameRate,
        steppedRate > 0.0
            ? static_cast<double>(frameRate.frames + 1) / steppedRate
            : std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count());
    if (std::FILE* file = SharedCount()) {
        // One 8-byte write at the start of the file, which the reader maps.
        uint64_t count = frameRate.frames;
        std::rewind(file);
        std::fwrite(&count, sizeof count, 1, file);
        std::fflush(file);
    }
}

uint64_t PresentedFrames() {
    return frameRate.frames;
}

void UseSteppedFrameClock(double framesPerSecond) {
    steppedRate = framesPerSecond;
}

void ResetFrameCounter() {
    frameRate = FrameRateMeter{};
    steppedRate = 0.0;
}
