#include "Terrain/TerrainScale.h"

TerrainScale terrain_scale_for(int32_t map_w, uint32_t phys_map_w, float phys_minfact, float y_pgmland_scale,
                               float waterlevel_frac)
{
    TerrainScale s;
    // The height texture is as wide as the map: the map covers 0 .. w * phys_minfact in x and z.
    const float w = static_cast<float>(map_w);
    s.pgmland[0] = 1.0f / (w * phys_minfact);
    s.pgmland[1] = w * y_pgmland_scale * phys_minfact;
    s.pgmland[2] = s.pgmland[0];
    s.pgmland_offset = -s.pgmland[1] * waterlevel_frac;
    if (map_w <= 0 || phys_map_w == 0) return s;

    // One physics sample stands for F map samples, F the whole ratio of the two widths.
    const float F = static_cast<float>(static_cast<uint32_t>(map_w) / phys_map_w);
    const float inv_65535 = 1.5259021893143654e-05f;
    s.gfx[0] = static_cast<float>((1.0 / static_cast<double>(s.pgmland[0])) / map_w * F);
    s.gfx[1] = static_cast<float>(static_cast<double>(s.pgmland[1]) * static_cast<double>(inv_65535));
    s.gfx[2] = (1.0f / s.pgmland[2]) / w * F;
    s.danger[0] = 1.0f;
    s.danger[1] = s.gfx[1] / s.gfx[0];
    s.danger[2] = 1.0f;
    for (int k = 0; k < 3; ++k) s.iface[k] = s.gfx[k] / s.danger[k];
    return s;
}
