// The 96 bitmap-font display lists for the characters 32 to 127.
#pragma once

// Builds the lists from `scene.fontBase`; without a usable font they exist but draw nothing.
void CreateFontLists();
