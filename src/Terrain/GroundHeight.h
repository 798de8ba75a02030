// The height of the ground the eye sees, under a graphics position. The terrain is drawn from
// the full height map as a texture that the grid pass looks up with linear filtering, its
// texel centres on the map's samples; this is the same lookup on the processor, so that game
// code can ask where the ground stands without reading anything back from the graphics card.
#pragma once

class HeightMap;
struct TerrainScale;

struct GroundHeights {
    const HeightMap* map = nullptr;
    double units_per_sample = 1; // graphics units across one height-map sample
    double height_range = 0;     // graphics height of the sample 65535 above the sample 0
    double height_offset = 0;    // graphics height of the sample 0

    // The ground's graphics height at graphics (x, z): the four samples around it, weighted by
    // nearness; beyond the map's edges, the edge's own samples. 0 without a map.
    double at(double x, double z) const;
};

// The ground of `map` as the terrain draws it with the scales of `scale`.
GroundHeights ground_heights(const HeightMap& map, const TerrainScale& scale);
