// A bridge plank: a weathered board the size of the bridges' plank bodies, 1.7 along the
// bridge (x), 5.6 across (z) and 0.3 thick, centred on the origin, with two battens
// underneath and the hand ropes lashed to its ends, so that a row of planks shows ropes
// running along the bridge.
#include <cmath>

#include "Models.h"
#include "Noise.h"

namespace {

const int kSkin = 256;
const Rect kWood = atlas_cell(kSkin, 4, 4, 0, 0, 4, 2, 4);
const Rect kEndGrain = atlas_cell(kSkin, 4, 4, 3, 3, 1, 1, 4);
const Rect kRope = atlas_cell(kSkin, 4, 4, 0, 2, 2, 1, 4);
const Rect kIron = atlas_cell(kSkin, 4, 4, 2, 2, 1, 1, 4);
const Rect kBatten = atlas_cell(kSkin, 4, 4, 0, 3, 3, 1, 4);

Mesh plank_mesh()
{
    Mesh m;
    // the board: grain along its length (z); end grain on the two short ends
    Rect faces[6] = {kWood, kWood, kWood, kWood, kEndGrain, kEndGrain};
    m.append(make_box6({-0.84f, -0.08f, -2.8f}, {0.84f, 0.15f, 2.8f}, faces), Xf(), 0);
    // battens underneath, running along the bridge
    for (float z : {-1.9f, 1.9f})
        m.append(make_box({-0.85f, -0.15f, z - 0.14f}, {0.85f, -0.08f, z + 0.14f}, kBatten), Xf(), 0);
    // iron straps over the board ends
    for (float z : {-2.45f, 2.45f})
        m.append(make_box({-0.85f, -0.085f, z - 0.08f}, {0.85f, 0.155f, z + 0.08f}, kIron), Xf(), 0);
    // hand ropes, one on each side, reaching to the next plank
    for (float z : {-2.68f, 2.68f})
        m.append(make_cylinder(0.06f, 0.06f, 1.94f, 8, kRope), Xf::translate({0.97f, 0.22f, z}) * Xf::rot_z(90.0f), 0);
    return m;
}

Image bridge_skin()
{
    Image img = blank_skin(kSkin);
    auto wood = [](float along, float across, uint32_t seed) {
        float rings = noise::fbm2(along * 2.0f, across * 18.0f, 3, 0.5f, seed, 0);
        float grain = 0.5f + 0.5f * std::sin(across * 70.0f + rings * 6.0f);
        Rgb c = mix(hex(0x6A4A2C), hex(0x9C7448), 0.55f * grain + 0.45f * (0.5f + 0.5f * rings));
        // weathered grey in the knots
        noise::Cells knots = noise::worley2(along * 3.0f, across * 6.0f, seed + 7, 0);
        if (knots.f1 < 0.12f)
            c = mix(hex(0x3A2818), c, knots.f1 / 0.12f);
        return c;
    };
    // u runs across the board's width on the long faces, v along it; the grain follows v
    paint(img, kWood, [&](float u, float v) {
        Rgb c = wood(v * 3.0f, u, 1601);
        if (std::fabs(u - 0.5f) > 0.46f)
            c = c * 0.7f; // worn edges
        for (float nv : {0.2f, 0.8f}) // nails
            for (float nu : {0.25f, 0.75f})
                if (std::hypot((u - nu) * 0.5f, v - nv) < 0.012f)
                    c = hex(0x2A2A2A);
        return c;
    });
    paint(img, kEndGrain, [](float u, float v) {
        float r = std::hypot(u - 0.3f, v + 0.6f);
        return mix(hex(0x7A5A38), hex(0xA8865A), 0.5f + 0.5f * std::sin(r * 60.0f));
    });
    paint(img, kBatten, [&](float u, float v) { return wood(u * 4.0f, v, 1602) * 0.85f; });
    paint(img, kRope, [](float u, float v) {
        float twist = std::fmod(u * 3.0f + v * 10.0f, 1.0f);
        return mix(hex(0x8A7450), hex(0xC8AE7C), twist < 0.5f ? twist * 2.0f : 2.0f - twist * 2.0f);
    });
    paint(img, kIron, [](float u, float v) { return mix(hex(0x2E2C2A), hex(0x5A4E44), fur_noise(u, v, 6, 1603)); });
    finish_skin(img, 0.02f, 1604);
    return img;
}

} // namespace

void build_bridge(ModelSet& set)
{
    Model b = make_model("media/objects/bridge/bridge.md2", "bridge.jpg", plank_mesh());
    b.cycles.push_back({"plank", 1, nullptr});
    set.models.push_back(b);
    set.skins.push_back({"media/objects/bridge/bridge.jpg", bridge_skin()});
}
