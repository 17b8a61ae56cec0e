#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace {
Platform* currentPlatform = nullptr;
}

Platform& CurrentPlatform() {
    if (!currentPlatform) {
        std::fputs("quorvane: no platform set before use\n", stderr);
        std::abort();
    }
    return *currentPlatform;
}

void SetCurrentPlatform(Platform* platform) {
    currentPlatform = platform;
}
