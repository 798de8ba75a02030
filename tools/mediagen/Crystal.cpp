// The crystal: an octagonal cut gem, about 0.5 across, centred on the origin. Its seven cycles
// (0 to 6) grow livelier step by step (the game asks for higher ones the more opponents chase
// a crystal): faster spin, higher bounce, stronger pulse, and from cycle 3 on sparks that
// circle it (in the calm cycles they rest hidden inside the stone).
#include <cmath>

#include "Models.h"
#include "Noise.h"
#include "Random.h"

namespace {

const int kSkin = 256;
const Rect kGem = atlas_cell(kSkin, 4, 4, 0, 0, 4, 3, 4);
const Rect kSpark = atlas_cell(kSkin, 4, 4, 0, 3, 4, 1, 4);

enum { kGGem = 0, kGSpark0 = 1 };
const int kSparks = 4;

Mesh crystal_mesh()
{
    Mesh m;
    m.append(make_lathe({{0.0f, -0.27f}, {0.25f, -0.01f}, {0.25f, 0.03f}, {0.17f, 0.14f}}, 8, kGem, true, true, 22.5f), Xf(),
             kGGem);
    for (int i = 0; i < kSparks; ++i)
        m.append(make_lathe({{0.0f, -0.08f}, {0.055f, 0.0f}, {0.0f, 0.08f}}, 4, kSpark, false, true), Xf(), kGSpark0 + i);
    return m;
}

struct Liveliness {
    const char* name;
    int frames;      // key frames per cycle: fewer is faster
    int turns;       // full turns per cycle
    float bounce;    // hop height
    int hops;        // hops per cycle
    float pulse;     // relative swelling
    float spark_r;   // orbit radius of the sparks (0: hidden inside)
    float wobble;    // tilt in degrees
};

const Liveliness kCycles[7] = {
    {"idle", 32, 1, 0.02f, 1, 0.0f, 0.0f, 0.0f},    {"glow", 24, 1, 0.03f, 1, 0.03f, 0.0f, 2.0f},
    {"turn", 20, 1, 0.05f, 2, 0.04f, 0.0f, 4.0f},   {"pulse", 16, 1, 0.07f, 2, 0.08f, 0.34f, 5.0f},
    {"spin", 16, 1, 0.1f, 2, 0.1f, 0.4f, 7.0f},     {"bounce", 12, 1, 0.16f, 2, 0.12f, 0.46f, 9.0f},
    {"frenzy", 10, 1, 0.22f, 2, 0.16f, 0.52f, 12.0f},
};

V3 crystal_pose(const V3& p, int g, float ph, const Liveliness& l)
{
    V3 q = p;
    float hop = l.bounce * std::fabs(wave(ph, float(l.hops) * 0.5f));
    if (g == kGGem) {
        float s = 1.0f + l.pulse * wave(ph, float(l.hops));
        q = V3(q.x * s, q.y * s, q.z * s);
        q = Xf::rot_y(360.0f * l.turns * ph).apply(q);
        q = Xf::rot_about({0, 0, 0}, {1, 0, 0}, l.wobble * wave(ph, 1)).apply(q);
        return q + V3(0, hop, 0);
    }
    int i = g - kGSpark0;
    float r = l.spark_r;
    if (r <= 0.0f) // resting inside the stone, turning with it
        return Xf::rot_y(360.0f * l.turns * ph + 90.0f * i).apply(q * 0.8f + V3(0.06f, 0, 0)) + V3(0, hop, 0);
    // sparks circle the other way, on tilted orbits, twice per cycle
    float a = -720.0f * ph + 90.0f * i;
    V3 orbit = Xf::rot_y(a).apply(V3(r, 0.08f * wave(ph, 2, 0.25f * i), 0));
    V3 spin = Xf::rot_y(1440.0f * ph).apply(q);
    return spin + orbit + V3(0, hop * 0.5f, 0);
}

Image crystal_skin()
{
    Image img = blank_skin(kSkin);
    paint(img, kGem, [](float u, float v) {
        // v: 0 at the table (top), growing down the crown and the pavilion
        Rgb deep = hex(0x0A4A8A), mid = hex(0x28B8E8), light = hex(0xC8F8FF);
        Rgb c = v < 0.35f ? mix(light, mid, v / 0.35f) : mix(mid, deep, (v - 0.35f) / 0.65f);
        // inner fire: bright streaks running across the facets
        float streak = noise::ridged2(u * 6.0f, v * 3.0f, 3, 0.5f, 1501, 6);
        c = c + Rgb(0.35f, 0.4f, 0.45f) * std::pow(streak, 4.0f);
        // facet edges catch the light
        float fu = std::fmod(u * 8.0f, 1.0f);
        if (fu < 0.04f || fu > 0.96f)
            c = mix(c, hex(0xFFFFFF), 0.6f);
        noise::Cells sp = noise::worley2(u * 20.0f, v * 10.0f, 1502, 20);
        if (sp.f1 < 0.08f && hash_unit(sp.id) > 0.6f)
            c = hex(0xFFFFFF);
        return c;
    });
    paint(img, kSpark, [](float u, float v) {
        (void)u;
        return mix(hex(0xFFFFFF), hex(0x90E8FF), v);
    });
    finish_skin(img, 0.0f, 1503);
    return img;
}

} // namespace

void build_crystal(ModelSet& set)
{
    Model c = make_model("media/objects/crystal/crystal.md2", "crystal.jpg", crystal_mesh());
    for (const Liveliness& l : kCycles)
        c.cycles.push_back({l.name, l.frames, [&l](const V3& p, int g, float ph) { return crystal_pose(p, g, ph, l); }});
    set.models.push_back(c);
    set.skins.push_back({"media/objects/crystal/crystal.jpg", crystal_skin()});
}
