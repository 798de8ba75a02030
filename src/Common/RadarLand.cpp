#include "Common/RadarLand.h"

#include "Terrain/HeightMap.h"

#include <algorithm>
#include <cmath>

namespace {

const float kDeep[3] = {0.07f, 0.18f, 0.40f};
const float kShallow[3] = {0.28f, 0.52f, 0.74f};
const float kSand[3] = {0.84f, 0.77f, 0.55f};
const float kMoor[3] = {0.36f, 0.60f, 0.28f};
const float kHeath[3] = {0.38f, 0.45f, 0.24f};
const float kRock[3] = {0.58f, 0.56f, 0.52f};

void mix(const float a[3], const float b[3], float t, float out[3])
{
    t = std::max(0.0f, std::min(1.0f, t));
    for (int k = 0; k < 3; ++k) out[k] = a[k] + (b[k] - a[k]) * t;
}

// The mean height (0 to 1) of the map's samples under image pixel (c, r) of side x side.
float block_height(const HeightMap& map, int side, int c, int r)
{
    const int x0 = int(int64_t(c) * map.map_w / side), x1 = std::max(x0 + 1, int(int64_t(c + 1) * map.map_w / side));
    const int y0 = int(int64_t(r) * map.map_h / side), y1 = std::max(y0 + 1, int(int64_t(r + 1) * map.map_h / side));
    // A coarse grid of the block is enough for a picture a few pixels across per hill.
    const int step_x = std::max(1, (x1 - x0) / 4), step_y = std::max(1, (y1 - y0) / 4);
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1 && y < map.map_h; y += step_y)
        for (int x = x0; x < x1 && x < map.map_w; x += step_x, ++n) sum += map.map_data[size_t(y) * map.map_w + x];
    return n ? float(sum / n / 65535.0) : 0.0f;
}

} // namespace

void radar_land_colour(float height, float water_frac, float rgb[3])
{
    if (height < water_frac) {
        mix(kShallow, kDeep, (water_frac - height) / std::max(water_frac * 0.5f, 1e-6f), rgb);
        return;
    }
    const float above = (height - water_frac) / std::max(1.0f - water_frac, 1e-6f);
    if (above < 0.03f) {
        for (int k = 0; k < 3; ++k) rgb[k] = kSand[k];
    } else if (above < 0.45f) {
        mix(kMoor, kHeath, (above - 0.03f) / 0.42f, rgb);
    } else {
        mix(kHeath, kRock, (above - 0.45f) / 0.15f, rgb);
    }
}

void radar_land_image(const HeightMap& map, int side, float water_frac, std::vector<uint8_t>& rgba)
{
    side = std::max(side, 1);
    rgba.assign(size_t(side) * side * 4, 255);
    const bool has_map = map.map_data && map.map_w > 0 && map.map_h > 0;
    std::vector<float> heights(size_t(side) * side, 0.0f);
    if (has_map)
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c) heights[size_t(r) * side + c] = block_height(map, side, c, r);
    auto at = [&](int c, int r) {
        c = std::max(0, std::min(side - 1, c)), r = std::max(0, std::min(side - 1, r));
        return heights[size_t(r) * side + c];
    };
    for (int r = 0; r < side; ++r) {
        for (int c = 0; c < side; ++c) {
            uint8_t* p = &rgba[(size_t(r) * side + c) * 4];
            float rgb[3];
            const bool border = r == 0 || c == 0 || r == side - 1 || c == side - 1;
            if (!has_map || border) {
                for (int k = 0; k < 3; ++k) rgb[k] = kDeep[k];
            } else {
                const float h = at(c, r);
                radar_land_colour(h, water_frac, rgb);
                // Lit from the image's first corner: ground rising away from it faces the light and
                // brightens, ground falling away darkens. Water stays flat.
                if (h >= water_frac) {
                    const float slope = (at(c + 1, r + 1) - at(c - 1, r - 1)) * float(side) * 0.02f;
                    const float shade = std::max(0.7f, std::min(1.25f, 1.0f + slope));
                    for (float& v : rgb) v = std::min(1.0f, v * shade);
                }
            }
            for (int k = 0; k < 3; ++k) p[k] = uint8_t(std::lround(255.0f * rgb[k]));
        }
    }
}
