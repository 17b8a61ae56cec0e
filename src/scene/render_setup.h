// The render set-up that runs once per rendering context.
#pragma once

// Loads the textures, builds the display lists, sets the fixed OpenGL state and fills the star,
// cube and particle tables. False when no texture could be loaded.
bool SetupScene();
