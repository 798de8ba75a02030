// The values that place the rendered terrain, fixed once when the shader programs are made.
#pragma once

// The light that every terrain and water program is lit by (not normalised: the programs
// normalise it) and its colour.
extern const float kTerrainLightDir[3];
extern const float kTerrainLightColor[4];
