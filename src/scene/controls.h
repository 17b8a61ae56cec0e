// The keyboard controls, polled from the key table.
#pragma once

#include <cstdint>

#include "scene/scene_state.h"

// A latched control acts once per press: the latch is set when the action fires and cleared when
// the key is found up. True on the poll that fires.
template <typename Latch> bool KeyPressedOnce(uint32_t key, Latch& latch) {
    if (!scene.keyDown[key]) {
        latch = false;
        return false;
    }
    if (latch) return false;
    latch = true;
    return true;
}

// Toggles, selectors and held adjustments; once per rendered frame, after the buffer swap.
void HandleFrameControls();

// Camera movement; on every idle pass of the loop, drawn or not.
void HandleMovementKeys();
