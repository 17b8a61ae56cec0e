// The star field: 50 coloured sprites spiralling in towards the field's axis.
#pragma once

// Angles 0, distances 0.0 ... 4.9, three random colour bytes per star.
void InitStarField();

// Draws every star (twice while twinkling) and advances it by one frame.
void RenderStarField();
