// The texture objects made from data/t1.bmp and data/star.bmp.
#pragma once

#include "gl/opengl.h"

// The names made, for the set-up to store: a picture that did not load made none.
struct LoadedTextures {
    bool picture = false; // data/t1.bmp: nearest, linear and mipmapped, in that order
    GLuint textures[3] = {};
    bool star = false; // data/star.bmp
    GLuint starTexture = 0;
};

// True when at least one of the two pictures was loaded and made into textures; `made` tells
// which. Needs a current rendering context.
bool LoadTextures(LoadedTextures& made);
