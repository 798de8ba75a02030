// How the height map sits in the game's two spaces. The graphics place it through the height
// texture (pgmland), the physics in units of one physics-map sample (danger), and every game
// object's drawing matrix goes from the second to the first (iface). Computed once at
// start-up, from the height map and the graphics parameters, and handed to the shader
// set-up, the physics tiles and the physics world in that order.
#pragma once

#include <cstdint>

struct TerrainScale {
    float pgmland[3] = {0, 0, 0}; // world x and z to height-texture coordinates ([0], [2]); height range ([1])
    float pgmland_offset = 0;     // world height of sample 0: puts the water plane y = 0 at waterlevel_frac
    float gfx[3] = {0, 0, 0};     // one height-map sample in graphics units, per axis
    float danger[3] = {0, 0, 0};  // one height-map sample in physics units: 1 across, its height in proportion
    float iface[3] = {0, 0, 0};   // physics units to graphics units: gfx / danger
};

// The scale of a map_w-wide height map whose physics map is phys_map_w wide (map_w / 8 at
// start-up), with gfx.p's phys_minfact and y_pgmland_scale and the water at waterlevel_frac
// of the height range. A map without a physics map gets the graphics scale only.
TerrainScale terrain_scale_for(int32_t map_w, uint32_t phys_map_w, float phys_minfact, float y_pgmland_scale,
                               float waterlevel_frac);
