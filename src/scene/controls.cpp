#include "scene/controls.h"

void HandleFrameControls() {}

void HandleMovementKeys() {}
