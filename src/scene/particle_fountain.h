// The particle fountain: 1,000 additive sprites launched from one point, falling, fading and
// reborn in the current palette colour.
#pragma once

// Full life, palette row 0, a fast spray in every direction, gravity (0, -0.8, 0). Positions are
// left where they are.
void InitParticleFountain();

// Draws every particle and advances it by one frame; reads Tab, Shift and keypad 8/2/6/4.
void RenderParticleFountain();
