// The hover vehicle: a hovercraft hull on an inflated skirt with a seat for the rider, and two
// ducted fans at the stern whose propellers are the separate rotor models (drawn at the
// hull's pose, so their geometry sits where the ducts are).
#include <cmath>

#include "Models.h"
#include "Noise.h"

namespace {

const int kSkin = 512;

Rect cell(int c, int r, int cs = 1, int rs = 1) { return atlas_cell(kSkin, 4, 4, c, r, cs, rs); }

// atlas of hover.jpg
const Rect kDeck = cell(0, 0, 2, 2);
const Rect kRubber = cell(2, 0);
const Rect kSteel = cell(3, 0);
const Rect kDuctInner = cell(2, 1);
const Rect kBlade = cell(3, 1);
const Rect kSeat = cell(0, 2);
const Rect kGlass = cell(1, 2);
const Rect kLamp = cell(2, 2);
const Rect kSpinner = cell(3, 2);
const Rect kRim = cell(0, 3);
const Rect kEngine = cell(1, 3);
const Rect kCowl = cell(2, 3);

const V3 kFan[2] = {{-1.05f, 0.42f, -0.5f}, {-1.05f, 0.42f, 0.5f}};
const float kDuctOuter = 0.34f, kDuctRadiusIn = 0.29f, kDuctDepth = 0.3f;

enum { kGroupBody = 0, kGroupSkirt = 1 };

Mesh hull_mesh()
{
    Mesh m;
    // inflated skirt: a rounded puck stretched to 3 x 2
    Mesh skirt = make_lathe({{0.80f, -0.50f}, {0.95f, -0.43f}, {1.0f, -0.31f}, {0.97f, -0.19f}, {0.88f, -0.12f}},
                            28, kRubber, true, false, 180.0f);
    m.append(skirt, Xf::scale(1.5f, 1.0f, 1.0f), kGroupSkirt);

    // deck with a pointed nose
    std::vector<std::pair<float, float>> deck = {{1.46f, 0.0f},   {1.28f, -0.42f}, {0.85f, -0.70f}, {-0.9f, -0.78f},
                                                 {-1.34f, -0.70f}, {-1.42f, -0.4f}, {-1.42f, 0.4f},  {-1.34f, 0.70f},
                                                 {-0.9f, 0.78f},  {0.85f, 0.70f},  {1.28f, 0.42f}};
    m.append(make_slab(deck, 0.18f, kDeck, kRim), Xf::translate({0, -0.04f, 0}), kGroupBody);

    // engine cowling over the bow
    m.append(make_ellipsoid({0.55f, 0.2f, 0.44f}, 8, 20, kCowl), Xf::translate({0.72f, 0.04f, 0}), kGroupBody);

    // windscreen, leaning back
    m.append(make_box({-0.015f, 0, -0.36f}, {0.015f, 0.34f, 0.36f}, kGlass),
             Xf::translate({0.42f, 0.1f, 0}) * Xf::rot_z(28.0f), kGroupBody);

    // seat and backrest
    m.append(make_box({-0.36f, 0.05f, -0.28f}, {0.16f, 0.2f, 0.28f}, kSeat), Xf(), kGroupBody);
    m.append(make_box({-0.46f, 0.05f, -0.28f}, {-0.34f, 0.56f, 0.28f}, kSeat), Xf::rot_about({-0.4f, 0.05f, 0}, {0, 0, 1}, 12.0f),
             kGroupBody);

    // handlebar: a column and a cross bar in front of the rider
    m.append(make_box({-0.025f, 0.0f, -0.025f}, {0.025f, 0.34f, 0.025f}, kEngine),
             Xf::translate({0.3f, 0.05f, 0}) * Xf::rot_z(20.0f), kGroupBody);
    m.append(make_box({-0.025f, -0.025f, -0.24f}, {0.025f, 0.025f, 0.24f}, kEngine), Xf::translate({0.19f, 0.37f, 0}),
             kGroupBody);

    // engine block between the fans
    m.append(make_box({-1.38f, 0.05f, -0.16f}, {-0.82f, 0.32f, 0.16f}, kEngine), Xf(), kGroupBody);

    // the two fan ducts (closed rings about the fore-and-aft axis) on their pylons
    for (const V3& c : kFan) {
        float h = kDuctDepth * 0.5f;
        Mesh duct = make_lathe({{kDuctRadiusIn, -h},
                                {kDuctOuter - 0.02f, -h},
                                {kDuctOuter, -h + 0.04f},
                                {kDuctOuter, h - 0.04f},
                                {kDuctOuter - 0.02f, h},
                                {kDuctRadiusIn, h},
                                {kDuctRadiusIn, -h}},
                               24, kSteel, false);
        // the inner wall is the last profile segment, the top rows of the steel cell
        m.append(duct, Xf::translate(c) * Xf::rot_z(90.0f), kGroupBody);
        m.append(make_box({-0.1f, 0.0f, -0.05f}, {0.1f, c.y - kDuctOuter + 0.04f - 0.03f, 0.05f}, kEngine),
                 Xf::translate({c.x, 0.03f, c.z}), kGroupBody);
        // stator cross behind the propeller
        m.append(make_box({-0.02f, -kDuctRadiusIn, -0.02f}, {0.02f, kDuctRadiusIn, 0.02f}, kDuctInner),
                 Xf::translate({c.x - 0.1f, c.y, c.z}), kGroupBody);
        m.append(make_box({-0.02f, -0.02f, -kDuctRadiusIn}, {0.02f, 0.02f, kDuctRadiusIn}, kDuctInner),
                 Xf::translate({c.x - 0.1f, c.y, c.z}), kGroupBody);
    }

    // head lamps
    for (float z : {-0.36f, 0.36f})
        m.append(make_ellipsoid({0.05f, 0.05f, 0.09f}, 6, 10, kLamp), Xf::translate({1.2f, 0.02f, z}), kGroupBody);
    return m;
}

Mesh rotor_mesh(const V3& c, float pitch)
{
    Mesh m;
    // spinner pointing aft
    m.append(make_lathe({{0.075f, 0.0f}, {0.07f, 0.04f}, {0.045f, 0.1f}, {0.0f, 0.15f}}, 12, kSpinner, true),
             Xf::translate(c) * Xf::rot_z(90.0f) * Xf::translate({0, -0.04f, 0}), 0);
    // three pitched blades
    for (int i = 0; i < 3; ++i) {
        Mesh blade = make_box({-0.013f, 0.05f, -0.05f}, {0.013f, 0.275f, 0.05f}, kBlade);
        m.append(blade, Xf::translate(c) * Xf::rot_x(120.0f * i) * Xf::rot_y(pitch), 0);
    }
    return m;
}

Image hover_skin()
{
    Image img = blank_skin(kSkin);
    // deck: racing red with a white stripe along the length, panel seams and a hazard band aft
    paint(img, kDeck, [](float u, float v) {
        float n = fur_noise(u, v, 8, 11);
        Rgb c = mix(hex(0xB8221C), hex(0xD8402A), n);
        float stripe = std::fabs(v - 0.5f);
        if (stripe < 0.09f)
            c = mix(hex(0xF2F0E8), hex(0xDAD6CC), n);
        if (stripe > 0.09f && stripe < 0.11f)
            c = hex(0x1A1A1A);
        float seam = std::fmod(u * 6.0f, 1.0f);
        if (seam < 0.02f)
            c = c * 0.6f;
        if (u < 0.08f) // stern: hazard stripes
            c = std::fmod((u + v) * 14.0f, 1.0f) < 0.5f ? hex(0xF0C020) : hex(0x202020);
        for (float rx : {0.2f, 0.5f, 0.8f}) // rivets
            for (float ry : {0.2f, 0.8f}) {
                float d = std::hypot(u - rx, (v - ry) * 1.0f);
                if (d < 0.012f)
                    c = hex(0xC8C8C8);
            }
        return c;
    });
    paint(img, kRubber, [](float u, float v) {
        float rib = 0.5f + 0.5f * std::cos(u * 6.2831853f * 28.0f);
        return mix(hex(0x1E1E22), hex(0x3A3A40), 0.5f * rib + 0.3f * fur_noise(u, v, 4, 21));
    });
    paint(img, kSteel, [](float u, float v) {
        float brushed = noise::value2(u * 2.0f, v * 64.0f, 31, 0);
        Rgb c = mix(hex(0x8A9098), hex(0xC4CAD0), 0.4f + 0.6f * brushed);
        if (v < 0.45f)
            c = mix(hex(0x2A2D32), hex(0x44484E), brushed); // inside of the duct
        if (v > 0.69f && v < 0.76f)
            c = hex(0xB8221C); // red ring round the duct
        return c;
    });
    paint(img, kDuctInner, [](float u, float v) { return mix(hex(0x25282C), hex(0x3C4046), fur_noise(u, v, 4, 41)); });
    paint(img, kBlade, [](float u, float v) {
        (void)u;
        return v < 0.18f ? hex(0xE03020) : mix(hex(0xD8D8D0), hex(0xB0B0A8), v);
    });
    paint(img, kSeat, [](float u, float v) {
        float quilt = (std::fmod(u * 5.0f, 1.0f) < 0.06f || std::fmod(v * 5.0f, 1.0f) < 0.06f) ? 0.6f : 1.0f;
        return mix(hex(0x2A1C14), hex(0x4A3224), fur_noise(u, v, 6, 51)) * quilt;
    });
    paint(img, kGlass, [](float u, float v) {
        float streak = std::fabs(std::fmod(u * 1.4f + v * 0.8f, 1.0f) - 0.5f) < 0.06f ? 0.25f : 0.0f;
        return mix(hex(0x9CD0F0), hex(0x306890), v) + Rgb(streak, streak, streak);
    });
    paint(img, kLamp, [](float u, float v) {
        float d = std::hypot(u - 0.5f, v - 0.5f);
        return mix(hex(0xFFFDE0), hex(0xE8C040), std::min(1.0f, d * 2.0f));
    });
    paint(img, kSpinner, [](float u, float v) {
        return std::fmod(u * 3.0f + v * 0.8f, 1.0f) < 0.5f ? hex(0xF0F0F0) : hex(0xC02018);
    });
    paint(img, kRim, [](float u, float v) {
        Rgb c = mix(hex(0x70140F), hex(0x902018), fur_noise(u, v, 8, 61));
        if (std::fabs(v - 0.5f) < 0.08f && std::fmod(u * 24.0f, 1.0f) < 0.3f)
            c = hex(0xB0B0B0);
        return c;
    });
    paint(img, kEngine, [](float u, float v) {
        float grill = std::fmod(v * 10.0f, 1.0f) < 0.3f ? 0.55f : 1.0f;
        return mix(hex(0x3C3F44), hex(0x5A5E64), fur_noise(u, v, 6, 71)) * grill;
    });
    paint(img, kCowl, [](float u, float v) {
        Rgb c = mix(hex(0xB8221C), hex(0xD84030), fur_noise(u, v, 6, 81) * 0.6f + (1.0f - v) * 0.4f);
        // white stripe over the crown (u = 0.5 faces forward)
        if (std::fabs(u - 0.5f) < 0.05f && v < 0.6f)
            c = hex(0xF2F0E8);
        // air intakes at the sides
        if (std::fabs(std::fabs(u - 0.5f) - 0.25f) < 0.05f && v > 0.35f && v < 0.55f)
            c = hex(0x18181A);
        return c;
    });
    finish_skin(img, 0.015f, 91);
    return img;
}

} // namespace

void build_hover(ModelSet& set)
{
    Model hull = make_model("media/objects/hover/hover.md2", "hover.jpg", hull_mesh(), kSkin, true);
    // the skirt breathes on the air cushion
    hull.cycles.push_back({"hover", 8, [](const V3& p, int group, float phase) {
                               if (group != kGroupSkirt)
                                   return p;
                               float ang = std::atan2(p.z, p.x) / 6.2831853f;
                               float s = 1.0f + 0.02f * wave(phase, 1, ang * 3.0f);
                               return V3(p.x * s, p.y, p.z * s);
                           }});
    set.models.push_back(hull);

    for (int i = 0; i < 2; ++i) {
        Model rotor;
        rotor.path = i == 0 ? "media/objects/hover/rotor1.md2" : "media/objects/hover/rotor2.md2";
        rotor.skin = "hover.jpg";
        rotor.skin_w = rotor.skin_h = kSkin;
        rotor.mesh = rotor_mesh(kFan[i], i == 0 ? 28.0f : -28.0f);
        // the two fans turn in opposite senses; a full turn per cycle so the loop is seamless
        float dir = i == 0 ? 1.0f : -1.0f;
        V3 c = kFan[i];
        rotor.cycles.push_back({"spin", 18, [c, dir](const V3& p, int, float phase) {
                                    return Xf::rot_about(c, {1, 0, 0}, dir * 360.0f * phase).apply(p);
                                }});
        set.models.push_back(rotor);
    }
    set.skins.push_back({"media/objects/hover/hover.jpg", hover_skin()});
}
