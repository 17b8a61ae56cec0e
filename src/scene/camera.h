// The camera: a mouse-look turn and tilt followed by a free translation.
#pragma once

// Loads the identity, folds the look movement gathered since the last call into the angles (and
// zeroes it), then applies yaw, pitch and the translation. Every drawn object starts from here.
void ApplyCamera();

// Degrees of turn per pixel of right-button drag, on both axes.
constexpr double LookDegreesPerPixel = 0.4;
