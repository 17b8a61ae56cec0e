#include "scene/random.h"

namespace {
uint32_t randomState = 1; // the runtime's state before any seeding
uint64_t drawCount = 0;
} // namespace

int NextRandom() {
    randomState = randomState * 214013u + 2531011u;
    ++drawCount;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void ResetRandom() {
    randomState = 1;
    drawCount = 0;
}

uint64_t RandomDrawCount() {
    return drawCount;
}
