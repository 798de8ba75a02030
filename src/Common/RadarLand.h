// The radar's picture of the moor: land and water from the height map, as a small square
// image made once at start-up (the radar turns and moves it, it never changes). Water is blue,
// darker where deep; the shore sand, the moor green and the high ground grey, lit from one side
// so that hills and valleys read.
#pragma once

#include <cstdint>
#include <vector>

class HeightMap;

// side x side RGBA pixels, row 0 first: pixel (column c, row r) shows the map's square
// [c, c + 1) x [r, r + 1) of side-ths along x and z (row r over the map rows, as the height
// texture lays them). `water_frac` is the share of the sample range under the water plane. The
// outermost pixels are deep water: what lies beyond the map. An empty map gives deep water.
void radar_land_image(const HeightMap& map, int side, float water_frac, std::vector<uint8_t>& rgba);

// The colour of a height (0 to 1 of the sample range) against the water level, before shading.
void radar_land_colour(float height, float water_frac, float rgb[3]);
