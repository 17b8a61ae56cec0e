// The frame-rate meter: the times of the frames presented, and the rate over the last second. It
// has no clock of its own: whoever records a frame says when it was.
#pragma once

#include <cstdint>

constexpr int FrameRateSlots = 1024; // frame times kept

struct FrameRateMeter {
    uint64_t frames = 0;            // frames recorded
    double times[FrameRateSlots]{}; // time of frame k in slot k % FrameRateSlots, in seconds
};

// The program's own meter: the frames the main loop has presented since the program started. The
// help panel shows its rate and count.
extern FrameRateMeter frameRate;

void RecordFrame(FrameRateMeter& meter, double seconds);

// Frames per second over the last second, or over the last FrameRateSlots frames when more were
// recorded in it. A frame that alone took longer than the second counts by its own length. 0
// before the second frame.
double FramesPerSecond(const FrameRateMeter& meter);

// The time of the newest frame; 0 before the first.
double NewestFrameTime(const FrameRateMeter& meter);
