// Height maps whose physics samples are chosen directly: each fills an 8 x 8 block the averaging keeps.
#pragma once

#include "Common/Globals.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

// A map_w x map_w map, cut as the game's start-up does into a map_w / 8 physics map in tiles of `ts`.
inline void make_height_map(HeightMap& map, int map_w, unsigned ts, const std::function<uint16_t(int, int)>& phys)
{
    map.map_w = map.map_h = map_w;
    map.map_data = new uint16_t[static_cast<size_t>(map_w) * map_w];
    for (int y = 0; y < map_w; ++y)
        for (int x = 0; x < map_w; ++x) map.map_data[y * map_w + x] = phys(x / 8, y / 8);
    testing::internal::CaptureStdout();
    map.create_tiles(map_w / 8, map_w / 8, ts);
    testing::internal::GetCapturedStdout();
}

// The game's terrain scale for `map`: one physics unit is 32 graphics units.
inline TerrainScale game_terrain_scale(const HeightMap& map)
{
    return terrain_scale_for(map.map_w, map.phys_map_w, 4.0f, 0.15625f, waterlevel_frac);
}
