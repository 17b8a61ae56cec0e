// The window procedure: turns the platform's messages into the input fields of the scene state.
#pragma once

#include "platform/platform.h"

intptr_t MainWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
