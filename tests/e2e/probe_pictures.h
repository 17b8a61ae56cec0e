// Texture pictures made for the end-to-end tests, so that an effect the project's own pictures hide
// shows plainly on screen, and so that what the tests measure does not hang on how those pictures
// look. The program reads data/t1.bmp and data/star.bmp from its working folder; a test that runs
// it in a folder of its own gives it these instead.
#pragma once

#include <string>

// A 256 x 256 checkerboard of single texels, white and dark grey. Shrunk on screen, nearest
// filtering gives hard black-and-white grain, linear filtering soft mixed tones, and the
// mipmapped texture a flat grey. Never black, so the backdrop still covers the window when it is
// close.
bool WriteCheckerPicture(const std::string& path);

// A 64 x 64 very dark grey: the triangle and the quad all but vanish, while the backdrop still
// covers the window when it is close (it is not quite black).
bool WriteDimPicture(const std::string& path);

// A 64 x 64 soft round glow on black, like the project's star: no hard edges of its own.
bool WriteGlowPicture(const std::string& path);

// A 64 x 64 black square with a white square in each corner. A spun sprite shows its four corner
// squares turned; an unspun sprite under it shows its own four wherever the turned one does not
// cover them.
bool WriteCornerSquaresPicture(const std::string& path);

// Makes `folder`/data with t1.bmp and star.bmp written by the two functions given.
bool MakeDataFolder(const std::string& folder, bool (*writeT1)(const std::string&),
                    bool (*writeStar)(const std::string&));
