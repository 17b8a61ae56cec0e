// The program's own bitmap loader for tools, which report its failures on their own terms instead
// of in the loader's message box.
#pragma once

#include <string>

#include "assets/bitmap_loader.h"

// Loads `path`: the image (the caller frees it as LoadBitmapImage says), or null with the text the
// program's box would have shown in `error`.
RgbImage* LoadBitmapForTool(const char* path, std::string& error);
