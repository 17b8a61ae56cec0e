// The count of the frames the main loop presents, kept in one place: the loop counts each frame
// right after its buffer swap. The count and each frame's time go to the frame-rate meter that
// the help panel reads.
#pragma once

#include <cstdint>

void CountPresentedFrame();

// Frames presented since the program started.
uint64_t PresentedFrames();

// The clock the frames' times come from. Real time by default; with a rate above 0, every frame
// takes 1 / rate seconds, so that pictures of the help panel come out the same on every run.
void UseSteppedFrameClock(double framesPerSecond);

// No frame counted, the real clock: as at program start.
void ResetFrameCounter();
