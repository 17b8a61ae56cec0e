// The scene's random source: the classic 32-bit linear congruential generator of C runtimes
// (x = x * 214013 + 2531011, result (x >> 16) & 0x7FFF), never seeded, so that every run on every
// platform starts with the same scene.
#pragma once

#include <cstdint>

constexpr int RandomMax = 0x7FFF;

// Next value in 0..RandomMax.
int NextRandom();

// Back to the state at program start (the program never does this; tests do).
void ResetRandom();

// How many values have been drawn since program start or the last reset.
uint64_t RandomDrawCount();
