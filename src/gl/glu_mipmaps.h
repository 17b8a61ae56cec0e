// GLU's own box filters for gluBuild2DMipmaps, on tightly packed 8-bit texels of 1 to 4
// components, rounded as GLU rounds, so that every mipmap level is GLU's to the byte. Plain types
// only: the GL layer uses them, and a test holds them against the system's GLU.
#pragma once

#include <cstdint>

// The side GLU gives a level 0 of `value` texels: the nearest power of two, down unless the bit
// after the highest is also set.
int GluNearestPower(int value);
// The next level: each texel the mean of 2 x 2, rounded half up, or of 2, rounded down, once one
// side is 1. `out` holds (width / 2) x (height / 2) texels, a side of 1 staying 1.
void GluHalve(const uint8_t* in, int width, int height, int components, uint8_t* out);
// Any size to any other: each texel the area-weighted mean of the texels under it, in float,
// truncated.
void GluScale(const uint8_t* in, int widthIn, int heightIn, int components, uint8_t* out, int widthOut,
              int heightOut);
