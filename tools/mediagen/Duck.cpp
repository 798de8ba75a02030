// The duck: a plump yellow duck with an orange bill, floating with its waterline at the
// origin and paddling with webbed feet under the surface.
#include <cmath>

#include "Models.h"
#include "Noise.h"

namespace {

const int kSkin = 256;
Rect cell(int c, int r, int cs = 1, int rs = 1) { return atlas_cell(kSkin, 4, 4, c, r, cs, rs, 4); }

const Rect kBody = cell(0, 0, 2, 2);
const Rect kHead = cell(2, 0, 2, 2);
const Rect kBill = cell(0, 2);
const Rect kEye = cell(1, 2);
const Rect kWing = cell(2, 2, 2, 1);
const Rect kFoot = cell(0, 3);

enum { kGBody = 0, kGHead = 1, kGFootL = 2, kGFootR = 3, kGWings = 4 };
const V3 kNeckBase(0.3f, 0.35f, 0.0f);
const V3 kHip[2] = {{-0.02f, -0.08f, -0.15f}, {-0.02f, -0.08f, 0.15f}};

Mesh duck_mesh()
{
    Mesh m;
    // body: an egg laid on its side (the lathe's top becomes the breast, its seam the belly)
    // with an upturned tail
    Mesh body;
    body.append(make_lathe({{0.0f, -1.0f}, {0.45f, -0.9f}, {0.78f, -0.6f}, {0.95f, -0.25f}, {1.0f, 0.1f},
                            {0.9f, 0.5f}, {0.62f, 0.85f}, {0.0f, 1.0f}},
                           20, kBody, false, false, 0.0f),
                Xf::scale(0.62f, 0.34f, 0.44f) * Xf::rot_z(-90.0f), kGBody);
    for (V3& p : body.pos) {
        float aft = std::max(0.0f, -p.x / 0.62f);
        p.y += 0.3f * aft * aft * aft * (p.y > -0.05f ? 1.0f : 0.4f) + 0.1f;
    }
    m.append(body, Xf(), kGBody);
    m.append(make_ellipsoid({0.15f, 0.2f, 0.15f}, 8, 14, kHead), Xf::translate({0.32f, 0.45f, 0}), kGHead);
    m.append(make_ellipsoid({0.25f, 0.24f, 0.24f}, 10, 18, kHead), Xf::translate({0.36f, 0.7f, 0}) * Xf::rot_y(180.0f), kGHead);
    // the bill, flat and broad
    m.append(make_ellipsoid({0.17f, 0.05f, 0.11f}, 6, 14, kBill), Xf::translate({0.6f, 0.64f, 0}) * Xf::rot_z(-8.0f), kGHead);
    for (float z : {-0.13f, 0.13f})
        m.append(make_ellipsoid({0.04f, 0.05f, 0.035f}, 5, 10, kEye),
                 Xf::translate({0.53f, 0.78f, z}) * Xf::rot_y(z < 0 ? 150.0f : -150.0f), kGHead);
    // folded wings
    for (float z : {-1.0f, 1.0f})
        m.append(make_ellipsoid({0.3f, 0.13f, 0.05f}, 6, 14, kWing),
                 Xf::translate({-0.08f, 0.26f, 0.37f * z}) * Xf::rot_z(-14.0f) * Xf::rot_x(-12.0f * z), kGWings);
    // legs and webbed feet under the water
    for (int side = 0; side < 2; ++side) {
        int g = side == 0 ? kGFootL : kGFootR;
        V3 hip = kHip[side];
        m.append(make_cylinder(0.025f, 0.02f, 0.16f, 6, kFoot), Xf::translate(hip) * Xf::rot_x(180.0f), g);
        std::vector<std::pair<float, float>> web = {{0.0f, 0.0f}, {0.16f, -0.09f}, {0.2f, 0.0f}, {0.16f, 0.09f}};
        m.append(make_slab(web, 0.02f, kFoot, kFoot), Xf::translate(hip + V3(-0.02f, -0.17f, 0)), g);
    }
    return m;
}

V3 duck_pose(const V3& p, int g, float kick_l, float kick_r, float nod, float pitch, float bob, float wing)
{
    V3 q = p;
    if (g == kGFootL)
        q = Xf::rot_about(kHip[0], {0, 0, 1}, kick_l).apply(q);
    if (g == kGFootR)
        q = Xf::rot_about(kHip[1], {0, 0, 1}, kick_r).apply(q);
    if (g == kGHead)
        q = Xf::rot_about(kNeckBase, {0, 0, 1}, nod).apply(q);
    if (g == kGWings)
        q = Xf::rot_about({0.15f, 0.3f, 0}, {0, 0, 1}, wing).apply(q);
    return Xf::rot_about({0, 0, 0}, {0, 0, 1}, pitch).apply(q) + V3(0, bob, 0);
}

Image duck_skin()
{
    Image img = blank_skin(kSkin);
    const Rgb yellow = hex(0xFFD21E), deep = hex(0xF0A810);
    auto feathers = [&](float u, float v, uint32_t seed) {
        float n = fur_noise(u, v, 8, seed);
        float scallop = noise::worley2(u * 20.0f, v * 14.0f, seed + 3, 20).f1;
        return mix(yellow, deep, 0.35f * n + 0.25f * smoothstep(0.3f, 0.9f, scallop));
    };
    paint(img, kBody, [&](float u, float v) {
        Rgb c = feathers(u, v, 901);
        // belly and waterline darker
        return mix(c, deep * 0.95f, smoothstep(0.55f, 1.0f, std::fabs(u - 0.5f) * 2.0f) * 0.4f);
    });
    paint(img, kHead, [&](float u, float v) {
        Rgb c = feathers(u, v, 902);
        // rosy cheeks under the eyes
        for (float cu : {0.38f, 0.62f}) {
            float d = std::hypot(u - cu, (v - 0.52f) * 0.8f);
            if (d < 0.05f)
                c = mix(hex(0xFF9A50), c, d / 0.05f);
        }
        return c;
    });
    paint(img, kBill, [](float u, float v) {
        Rgb c = mix(hex(0xFF7A10), hex(0xE05A08), v);
        for (float nu : {0.44f, 0.56f})
            if (std::hypot(u - nu, v - 0.3f) < 0.025f)
                c = hex(0x803008);
        if (std::fabs(v - 0.5f) < 0.02f)
            c = hex(0xB04808); // the line of the closed bill
        return c;
    });
    paint(img, kEye, [](float u, float v) {
        Rgb c = hex(0x0A0806);
        if (std::hypot(u - 0.45f, v - 0.35f) < 0.08f)
            c = hex(0xFFFFFF);
        return c;
    });
    paint(img, kWing, [&](float u, float v) {
        float rows = std::fmod(u * 6.0f + 0.3f * std::sin(v * 12.0f), 1.0f);
        Rgb c = feathers(u, v, 903);
        return rows < 0.12f ? c * 0.8f : c;
    });
    paint(img, kFoot, [](float u, float v) { return mix(hex(0xFF8A20), hex(0xD06010), fur_noise(u, v, 4, 904)); });
    finish_skin(img, 0.012f, 905);
    return img;
}

} // namespace

void build_duck(ModelSet& set)
{
    Model d = make_model("media/objects/duck/duck.md2", "duck.jpg", duck_mesh(), kSkin);
    // paddling: the feet kick in turn, the body bobs and rocks, the head nods along
    d.cycles.push_back({"paddle", 10, [](const V3& p, int g, float ph) {
                            float kick = 35.0f * wave(ph);
                            return duck_pose(p, g, kick, -kick, 6.0f * wave(ph, 2), 2.5f * wave(ph, 2, 0.25f),
                                             0.025f * wave(ph, 2), 0.0f);
                        }});
    // preening: a deeper nod with a flutter of the wings
    d.cycles.push_back({"preen", 8, [](const V3& p, int g, float ph) {
                            return duck_pose(p, g, 10.0f * wave(ph), -10.0f * wave(ph), -25.0f * std::fabs(wave(ph)),
                                             0.0f, 0.01f * wave(ph, 2), 8.0f * wave(ph, 4));
                        }});
    set.models.push_back(d);
    set.skins.push_back({"media/objects/duck/duck.jpg", duck_skin()});
}
