#include "Gfx/CrystalBeams.h"

#include "Common/Camera.h"
#include "Common/RaceOverlay.h"

#include <algorithm>
#include <cmath>

namespace {

float smoothstep(float a, float b, float x)
{
    const float t = std::max(0.0f, std::min(1.0f, (x - a) / (b - a)));
    return t * t * (3 - 2 * t);
}

void put(std::vector<BeamVertex>& out, float x, float y, float z, const float rgb[3], float a)
{
    out.push_back({x, y, z, rgb[0], rgb[1], rgb[2], a});
}

} // namespace

float beam_fade(float distance)
{
    return smoothstep(150.0f, 700.0f, distance) * (1.0f - 0.55f * smoothstep(2000.0f, 12000.0f, distance));
}

void build_crystal_beams(const RaceView& view, const Camera& eye, float pixel_angle, const BeamLook& look,
                         std::vector<BeamVertex>& out)
{
    out.clear();
    const float ex = float(eye.pos.x), ey = float(eye.pos.y), ez = float(eye.pos.z);
    for (const RaceCrystal& c : view.crystals) {
        // A crystal in a lake shines from the water's surface up.
        const float x = c.pos[0], y = std::max(c.pos[1], 0.0f), z = c.pos[2];
        const float dx = ex - x, dz = ez - z, dy = ey - y;
        const float flat = std::sqrt(dx * dx + dz * dz);
        const float distance = std::sqrt(flat * flat + dy * dy);
        const float fade = beam_fade(distance);
        if (fade <= 0.0f) continue;
        // The strip's side axis: level, across the line to the eye (any level axis straight
        // above or below it).
        float sx = 1, sz = 0;
        if (flat > 1e-3f) sx = -dz / flat, sz = dx / flat;
        const float half = std::max(look.half_width, 0.5f * look.min_pixels * pixel_angle * distance);
        sx *= half, sz *= half;

        // Its colour says its worth, as the marker's does, lightened toward white.
        float rgb[3];
        crystal_colour(c.points, rgb);
        for (float& v : rgb) v = 0.6f * v + 0.4f;
        const float a0 = look.strength * fade, a1 = 0.45f * a0;
        const float y1 = y + 0.3f * look.height, y2 = y + look.height;
        // Two columns of two quads: the edges dark, the middle bright; the base brightest, a
        // third of the way up less than half as bright, the top nothing.
        for (int side = -1; side <= 1; side += 2) {
            const float ox = side * sx, oz = side * sz;
            put(out, x, y, z, rgb, a0);
            put(out, x + ox, y, z + oz, rgb, 0);
            put(out, x + ox, y1, z + oz, rgb, 0);
            put(out, x, y1, z, rgb, a1);
            put(out, x, y1, z, rgb, a1);
            put(out, x + ox, y1, z + oz, rgb, 0);
            put(out, x + ox, y2, z + oz, rgb, 0);
            put(out, x, y2, z, rgb, 0);
        }
    }
}
