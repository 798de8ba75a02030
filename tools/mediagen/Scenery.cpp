// Scenery that grows out of the landscape: a fir tree of stacked needle tiers, the toadstool
// ("pilz": red cap, white spots) and the lazy-boy tree, a broad-crowned tree whose trunk
// leans and sags as if it were lounging. All stand with their base at the origin and sway.
#include <cmath>

#include "Models.h"
#include "Noise.h"
#include "Random.h"

namespace {

const int kSkin = 256;
Rect cell(int c, int r, int cs = 1, int rs = 1) { return atlas_cell(kSkin, 4, 4, c, r, cs, rs, 4); }

// A smooth random value per direction (angle in radians), the same for every vertex there.
float ripple(float angle, int lobes, float offset) { return std::sin(angle * lobes + offset); }

// ---- the fir tree ----
const Rect kTreeBark = cell(0, 0, 1, 4);
const Rect kNeedles = cell(1, 0, 3, 4);
const float kTreeHeight = 5.6f;

Mesh tree_mesh()
{
    Mesh m;
    m.append(make_lathe({{0.3f, -0.4f}, {0.22f, 0.0f}, {0.17f, 1.2f}, {0.12f, 3.0f}, {0.0f, 4.4f}}, 10, kTreeBark, true), Xf(), 0);
    struct Tier {
        float r, y0, h;
    } tiers[] = {{1.55f, 0.9f, 2.1f}, {1.25f, 1.9f, 1.9f}, {0.95f, 2.9f, 1.7f}, {0.62f, 3.9f, 1.7f}};
    int t = 0;
    for (const Tier& tier : tiers) {
        Mesh cone = make_lathe({{tier.r, tier.y0}, {tier.r * 0.55f, tier.y0 + tier.h * 0.35f}, {0.0f, tier.y0 + tier.h}}, 14,
                               kNeedles, true, false, 13.0f * t);
        // a ragged, drooping rim
        for (V3& p : cone.pos) {
            float rr = std::hypot(p.x, p.z);
            if (rr < tier.r * 0.3f)
                continue;
            float a = std::atan2(p.z, p.x);
            float k = rr / tier.r;
            float s = 1.0f + 0.1f * ripple(a, 7, float(t)) * k;
            p.x *= s;
            p.z *= s;
            p.y -= 0.14f * k * k * (0.6f + 0.4f * ripple(a, 7, float(t) + 1.0f));
        }
        m.append(cone, Xf(), 0);
        ++t;
    }
    return m;
}

Image tree_skin()
{
    Image img = blank_skin(kSkin);
    paint(img, kTreeBark, [](float u, float v) {
        float ridges = noise::value2(u * 8.0f, v * 2.0f, 1001, 8);
        float n = fur_noise(u, v, 8, 1002);
        return mix(hex(0x3A2616), hex(0x6E4C30), 0.6f * ridges + 0.4f * n);
    });
    paint(img, kNeedles, [](float u, float v) {
        float needles = noise::value2(u * 64.0f, v * 24.0f, 1003, 64);
        float clumps = fur_noise(u, v, 6, 1004);
        Rgb c = mix(hex(0x12361A), hex(0x2E6A2C), 0.5f * clumps + 0.5f * needles);
        // lighter, younger needles toward the tier's rim (v = 1)
        c = mix(c, hex(0x5C9A3A), 0.45f * smoothstep(0.6f, 1.0f, v) * needles);
        return c;
    });
    finish_skin(img, 0.02f, 1005);
    return img;
}

// ---- the toadstool ----
const Rect kCap = cell(0, 0, 4, 3);
const Rect kStem = cell(0, 3, 4, 1);
const float kCapBase = 0.88f;
enum { kGStem = 0, kGCap = 1 };

Mesh pilz_mesh()
{
    Mesh m;
    m.append(make_lathe({{0.24f, -0.15f}, {0.2f, 0.2f}, {0.16f, 0.6f}, {0.17f, 0.9f}, {0.0f, 0.98f}}, 14, kStem, true), Xf(),
             kGStem);
    // a skirt (ring) round the stem, as a closed thin ring
    m.append(make_lathe({{0.17f, 0.68f}, {0.27f, 0.6f}, {0.28f, 0.63f}, {0.18f, 0.74f}, {0.17f, 0.68f}}, 14, kStem, false),
             Xf(), kGStem);
    // the cap: gills underneath from the stem out to the rim, then the dome
    m.append(make_lathe({{0.16f, 0.86f},
                         {0.5f, 0.8f},
                         {0.76f, 0.78f},
                         {0.82f, 0.86f},
                         {0.8f, 0.98f},
                         {0.68f, 1.18f},
                         {0.45f, 1.34f},
                         {0.2f, 1.43f},
                         {0.0f, 1.46f}},
                        20, kCap, true),
             Xf(), kGCap);
    return m;
}

Image pilz_skin()
{
    Image img = blank_skin(kSkin);
    // v runs down the profile: the dome from the crown (v = 0) to the outer rim (v = 0.61), then
    // the underside back in to the stem. Spots are placed on the dome unrolled into a disc.
    paint(img, kCap, [](float u, float v) {
        if (v > 0.665f) { // gills: cream with fine radial lines
            float lines = std::fmod(u * 90.0f, 1.0f);
            return mix(hex(0xEDE2C8), hex(0xBFAE8C), lines < 0.35f ? 0.8f : 0.1f);
        }
        Rgb c = mix(hex(0xC8141A), hex(0xE8302A), fur_noise(u, v, 6, 1101));
        c = mix(c, hex(0x8E0C10), smoothstep(0.4f, 0.66f, v) * 0.5f);
        float rho = v / 0.61f, a = u * 6.2831853f;
        noise::Cells cells = noise::worley2(rho * std::cos(a) * 3.2f + 10.0f, rho * std::sin(a) * 3.2f + 10.0f, 1102, 0);
        float spot = 0.22f + 0.1f * hash_unit(cells.id);
        if (cells.f1 < spot && v < 0.57f)
            c = mix(hex(0xFFFFFA), hex(0xE0DCD0), smoothstep(0.5f, 1.0f, cells.f1 / spot));
        return c;
    });
    paint(img, kStem, [](float u, float v) {
        return mix(hex(0xF2ECDC), hex(0xD0C4A8), 0.6f * fur_noise(u, v, 8, 1103) + 0.4f * v);
    });
    finish_skin(img, 0.015f, 1104);
    return img;
}

// ---- the lazy-boy tree ----
const Rect kLazyBark = cell(0, 0, 1, 4);
const Rect kLeaves = cell(1, 0, 3, 4);
const float kLazyTrunk = 3.4f;
const float kLazyHeight = 5.0f;
enum { kGTrunk = 0, kGCrown = 1 };

// The trunk leans over towards +x, more the higher it gets.
V3 lean(const V3& p)
{
    float h = std::max(0.0f, p.y) / kLazyTrunk;
    return {p.x + 1.1f * h * h, p.y - 0.25f * h * h * h, p.z};
}

Mesh lazy_mesh()
{
    Mesh m;
    std::vector<std::pair<float, float>> prof;
    for (int i = 0; i <= 8; ++i) {
        float y = -0.4f + (kLazyTrunk + 0.6f) * i / 8.0f;
        prof.push_back({0.34f - 0.2f * i / 8.0f + (i == 0 ? 0.08f : 0.0f), y});
    }
    Mesh trunk = make_lathe(prof, 10, kLazyBark, true);
    for (V3& p : trunk.pos)
        p = lean(p);
    m.append(trunk, Xf(), kGTrunk);
    // a bough reaching back, as if stretching
    Mesh bough = make_cylinder(0.1f, 0.05f, 1.3f, 8, kLazyBark);
    m.append(bough, Xf::translate(lean({0, 2.2f, 0})) * Xf::rot_z(48.0f), kGTrunk);
    // the crown: leafy clumps round the top of the trunk and the end of the bough
    struct Blob {
        V3 c;
        float r;
    } blobs[] = {{{1.15f, 3.85f, 0.0f}, 1.05f}, {{0.45f, 3.65f, 0.55f}, 0.8f}, {{0.55f, 3.7f, -0.6f}, 0.78f},
                 {{1.75f, 3.45f, 0.35f}, 0.72f}, {{1.6f, 3.5f, -0.45f}, 0.7f}, {{0.9f, 4.45f, 0.1f}, 0.7f},
                 {{-0.75f, 3.05f, 0.0f}, 0.55f}};
    uint32_t seed = 1201;
    for (const Blob& b : blobs) {
        Mesh blob = make_ellipsoid({b.r, b.r * 0.8f, b.r}, 7, 12, kLeaves);
        for (V3& p : blob.pos) {
            float bump = noise::gradient3(p.x * 2.5f, p.y * 2.5f, p.z * 2.5f, seed);
            p = p * (1.0f + 0.18f * bump);
        }
        m.append(blob, Xf::translate(b.c), kGCrown);
        ++seed;
    }
    return m;
}

Image lazy_skin()
{
    Image img = blank_skin(kSkin);
    paint(img, kLazyBark, [](float u, float v) {
        float ridges = noise::value2(u * 10.0f, v * 3.0f, 1301, 10);
        return mix(hex(0x4A3A2C), hex(0x8A7660), 0.55f * ridges + 0.45f * fur_noise(u, v, 8, 1302));
    });
    paint(img, kLeaves, [](float u, float v) {
        noise::Cells leaves = noise::worley2(u * 40.0f, v * 30.0f, 1303, 40);
        float shade = fur_noise(u, v, 6, 1304);
        Rgb c = mix(hex(0x2C5A1A), hex(0x6CA030), 0.55f * shade + 0.45f * hash_unit(leaves.id));
        c = c * (0.75f + 0.25f * smoothstep(0.0f, 0.5f, leaves.f2 - leaves.f1));
        // autumn-touched leaves here and there
        if (hash_unit(leaves.id * 2654435761u) > 0.93f)
            c = mix(c, hex(0xC8A030), 0.6f);
        // darker underneath (bottom of the blob is v = 1)
        return c * (1.0f - 0.35f * smoothstep(0.55f, 1.0f, v));
    });
    finish_skin(img, 0.02f, 1305);
    return img;
}

} // namespace

void build_scenery(ModelSet& set)
{
    Model tree = make_model("media/objects/trees/tree.md2", "tree.jpg", tree_mesh(), 256, true);
    tree.cycles.push_back({"sway", 12, [](const V3& p, int, float ph) { return sway(p, kTreeHeight, 0.22f, 0.1f, ph); }});
    set.models.push_back(tree);
    set.skins.push_back({"media/objects/trees/tree.jpg", tree_skin()});

    Model pilz = make_model("media/objects/pilz/pilz.md2", "pilz.jpg", pilz_mesh(), 256, true);
    // the cap wobbles like jelly on its stem
    pilz.cycles.push_back({"wobble", 10, [](const V3& p, int g, float ph) {
                               V3 q = p;
                               if (g == kGCap) {
                                   float s = wave(ph, 2);
                                   float dy = q.y - kCapBase;
                                   q = V3(q.x * (1.0f - 0.05f * s), kCapBase + dy * (1.0f + 0.1f * s), q.z * (1.0f - 0.05f * s));
                               }
                               return sway(q, 1.46f, 0.08f, 0.05f, ph);
                           }});
    set.models.push_back(pilz);
    set.skins.push_back({"media/objects/pilz/pilz.jpg", pilz_skin()});

    Model lazy = make_model("media/objects/tree_lazy_boy/tree_lazy_boy.md2", "tree_lazy_boy.jpg", lazy_mesh(), 256, true);
    // a slow, heavy sway along the lean with the crown breathing
    lazy.cycles.push_back({"lazy", 16, [](const V3& p, int g, float ph) {
                               V3 q = p;
                               if (g == kGCrown) {
                                   V3 c(1.0f, 3.8f, 0.0f);
                                   q = c + (q - c) * (1.0f + 0.03f * wave(ph, 2));
                               }
                               return sway(q, kLazyHeight, 0.3f, 0.14f, ph);
                           }});
    set.models.push_back(lazy);
    set.skins.push_back({"media/objects/tree_lazy_boy/tree_lazy_boy.jpg", lazy_skin()});
}
