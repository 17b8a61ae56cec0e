// The program's one loop: drains the message queue, then draws a frame and applies the controls
// on every idle pass.
#pragma once

// Runs the program on the current platform and returns its exit code.
int RunApplication();
