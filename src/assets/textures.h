// The texture objects made from data/t1.bmp and data/star.bmp.
#pragma once

// True when at least one of the two pictures was loaded and made into textures.
bool LoadTextures();
