// One frame of the scene: every pass in its fixed order, each animation advanced by one step.
#pragma once

// Always true; the loop does not look at the result.
bool RenderFrame();
