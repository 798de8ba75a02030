// The values that place the rendered terrain, fixed once when the shader programs are made.
#pragma once

// pgmland_scale: world x and z to height-texture coordinates ([0] and [2]) and the height
// range ([1]); pgmland_offset puts the water plane y = 0 at a quarter of that range.
// `texture_width` is the height texture's width in texels.
void compute_pgmland_scale(int texture_width, float phys_minfact, float y_pgmland_scale,
                           float scale[3], float& offset);

// The light that every terrain and water program is lit by (not normalised: the programs
// normalise it) and its colour.
extern const float kTerrainLightDir[3];
extern const float kTerrainLightColor[4];
