// The keyboard controls, polled from the key table.
#pragma once

// Toggles, selectors and held adjustments; once per rendered frame, after the buffer swap.
void HandleFrameControls();

// Camera movement; on every idle pass of the loop, drawn or not.
void HandleMovementKeys();
