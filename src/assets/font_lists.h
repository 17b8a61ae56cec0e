// The 96 bitmap-font display lists for the characters 32 to 127.
#pragma once

#include "gl/opengl.h"

#include "platform/platform.h"

// Makes the lists in the current rendering context from a bold 24-pixel "Verdana" (or the
// system's stand-in for it), selected into `dc`, the window's device context, for the time it
// takes. Returns the first list's name, 0 when no list could be made; without a usable font the
// lists draw nothing. Failures are not reported.
GLuint CreateFontLists(DeviceContext dc);
