#include "Terrain/GroundHeight.h"

#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <algorithm>
#include <cmath>

double GroundHeights::at(double x, double z) const
{
    if (!map || !map->map_data || map->map_w <= 0 || map->map_h <= 0) return 0;
    // Texel i covers [i, i + 1) samples; its centre, where it holds its value, is at i + 0.5.
    const double u = x / units_per_sample - 0.5, v = z / units_per_sample - 0.5;
    const long last_x = map->map_w - 1, last_z = map->map_h - 1;
    const double fu = std::floor(u), fv = std::floor(v);
    const long x0 = std::clamp(static_cast<long>(fu), 0L, last_x), x1 = std::clamp(static_cast<long>(fu) + 1, 0L, last_x);
    const long z0 = std::clamp(static_cast<long>(fv), 0L, last_z), z1 = std::clamp(static_cast<long>(fv) + 1, 0L, last_z);
    const double wx = std::clamp(u - fu, 0.0, 1.0), wz = std::clamp(v - fv, 0.0, 1.0);
    auto s = [&](long i, long k) { return static_cast<double>(map->map_data[k * map->map_w + i]); };
    const double near_row = s(x0, z0) + (s(x1, z0) - s(x0, z0)) * wx;
    const double far_row = s(x0, z1) + (s(x1, z1) - s(x0, z1)) * wx;
    return (near_row + (far_row - near_row) * wz) / 65535.0 * height_range + height_offset;
}

GroundHeights ground_heights(const HeightMap& map, const TerrainScale& scale)
{
    GroundHeights g;
    g.map = &map;
    // The grid pass looks the texture up at world x * pgmland[0]: the map's width is 1 / pgmland[0].
    if (map.map_w > 0 && scale.pgmland[0] > 0) g.units_per_sample = 1.0 / (scale.pgmland[0] * map.map_w);
    g.height_range = scale.pgmland[1];
    g.height_offset = scale.pgmland_offset;
    return g;
}
