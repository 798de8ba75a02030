// The eskel ship: a flying wooden sailing ship with a skull on its sail, leathery bat wings
// that beat along its flanks and two propellers at the stern. Nose along +x, keel about 0.55
// below the origin, masthead 2.35 above it; about 6.3 long and 4 across the wings.
#include <cmath>

#include "Models.h"
#include "Noise.h"
#include "Random.h"

namespace {

const int kSkin = 512;
Rect cell(int c, int r, int cs = 1, int rs = 1) { return atlas_cell(kSkin, 4, 4, c, r, cs, rs, 6); }

const Rect kPlanks = cell(0, 0, 2, 1);
const Rect kDeck = cell(2, 0, 2, 1);
const Rect kSail = cell(0, 1, 2, 2);
const Rect kWing = cell(2, 1, 2, 1);
const Rect kCabin = cell(2, 2, 2, 1);
const Rect kIron = cell(0, 3);
const Rect kMast = cell(1, 3);
const Rect kFlag = cell(2, 3);
const Rect kBrass = cell(3, 3);

enum { kGHull = 0, kGWingL = 1, kGWingR = 2, kGProp0 = 3, kGProp1 = 4, kGFlag = 5, kGSail = 6 };

const float kStern = -2.7f, kBow = 2.8f;
const V3 kHinge[2] = {{0.0f, 0.3f, -0.8f}, {0.0f, 0.3f, 0.8f}};
const float kDihedral = 14.0f; // wings rest raised a little
const V3 kProp[2] = {{-2.85f, 0.1f, -0.42f}, {-2.85f, 0.1f, 0.42f}};
const float kMastX = 0.3f, kMastTop = 2.35f;

float half_width(float t) { return std::max(0.08f, 0.95f * std::pow(std::sin(3.14159f * (0.15f + 0.85f * t)), 0.6f)); }
float keel_depth(float t) { return 0.8f * std::pow(std::sin(3.14159f * (0.2f + 0.75f * t)), 0.5f); }
float deck_height(float t) { return 0.22f + 0.22f * (2.0f * t - 1.0f) * (2.0f * t - 1.0f) + 0.1f * t; }

Mesh hull_mesh()
{
    Mesh m;
    const int S = 14, K = 10;
    std::vector<std::vector<int>> ring(S + 1);
    std::vector<V3> centre(S + 1);
    for (int i = 0; i <= S; ++i) {
        float t = float(i) / S, x = kStern + (kBow - kStern) * t;
        float w = half_width(t), d = keel_depth(t), y = deck_height(t);
        centre[i] = V3(x, y - d * 0.5f, 0);
        for (int k = 0; k <= K; ++k) {
            float a = 3.14159265f * k / K;
            ring[i].push_back(m.add_vertex(V3(x, y - d * std::sin(a), w * std::cos(a)), kGHull));
        }
    }
    // outward winding is checked against the section centre, so the loft cannot turn inside out
    auto tri = [&](int a, int b, int c, V2 ta, V2 tb, V2 tc, const V3& inside) {
        V3 n = cross(m.pos[b] - m.pos[a], m.pos[c] - m.pos[a]);
        int ua = m.add_uv(ta), ub = m.add_uv(tb), uc = m.add_uv(tc);
        if (dot(n, m.pos[a] - inside) >= 0)
            m.add_tri(a, b, c, ua, ub, uc);
        else
            m.add_tri(a, c, b, ua, uc, ub);
    };
    for (int i = 0; i < S; ++i)
        for (int k = 0; k < K; ++k) {
            V2 t00 = kPlanks.at(float(i) / S, float(k) / K), t10 = kPlanks.at(float(i + 1) / S, float(k) / K);
            V2 t01 = kPlanks.at(float(i) / S, float(k + 1) / K), t11 = kPlanks.at(float(i + 1) / S, float(k + 1) / K);
            V3 in = (centre[i] + centre[i + 1]) * 0.5f;
            tri(ring[i][k], ring[i + 1][k], ring[i + 1][k + 1], t00, t10, t11, in);
            tri(ring[i][k], ring[i + 1][k + 1], ring[i][k + 1], t00, t11, t01, in);
        }
    // the deck, on its own vertices so its edge stays crisp
    std::vector<int> port, star;
    for (int i = 0; i <= S; ++i) {
        star.push_back(m.add_vertex(m.pos[ring[i][0]], kGHull));
        port.push_back(m.add_vertex(m.pos[ring[i][K]], kGHull));
    }
    for (int i = 0; i < S; ++i) {
        V3 below = (centre[i] + centre[i + 1]) * 0.5f;
        float s0 = float(i) / S, s1 = float(i + 1) / S;
        tri(star[i], star[i + 1], port[i + 1], kDeck.at(s0, 0), kDeck.at(s1, 0), kDeck.at(s1, 1), below);
        tri(star[i], port[i + 1], port[i], kDeck.at(s0, 0), kDeck.at(s1, 1), kDeck.at(s0, 1), below);
    }
    // transom at the stern and a small cap at the bow
    for (int end = 0; end < 2; ++end) {
        int i = end == 0 ? 0 : S;
        V3 c(m.pos[ring[i][0]].x, (m.pos[ring[i][0]].y + m.pos[ring[i][K / 2]].y) * 0.5f, 0);
        int cv = m.add_vertex(c, kGHull);
        V3 inner = c + V3(end == 0 ? 1.0f : -1.0f, 0, 0);
        for (int k = 0; k < K; ++k)
            tri(cv, ring[i][k], ring[i][k + 1], kPlanks.at(0.5f, 0.5f), kPlanks.at(0.0f, float(k) / K),
                kPlanks.at(0.0f, float(k + 1) / K), inner);
        tri(cv, ring[i][K], ring[i][0], kPlanks.at(0.5f, 0.5f), kPlanks.at(0, 1), kPlanks.at(0, 0), inner);
    }
    return m;
}

// A box of the given height and thickness standing on the segment a-b.
Mesh wall(const V3& a, const V3& b, float height, float thick, const Rect& r)
{
    V3 d = b - a;
    float len = length(d);
    V3 ex = d * (1.0f / len), ey(0, 1, 0), ez = normalized(cross(ex, ey));
    ey = cross(ez, ex);
    Xf basis;
    basis.m[0][0] = ex.x, basis.m[0][1] = ey.x, basis.m[0][2] = ez.x;
    basis.m[1][0] = ex.y, basis.m[1][1] = ey.y, basis.m[1][2] = ez.y;
    basis.m[2][0] = ex.z, basis.m[2][1] = ey.z, basis.m[2][2] = ez.z;
    basis.t = a;
    Mesh box = make_box({-0.03f, 0.0f, -thick * 0.5f}, {len + 0.03f, height, thick * 0.5f}, r);
    Mesh out;
    out.append(box, basis, 0);
    return out;
}

Mesh ship_mesh()
{
    Mesh m = hull_mesh();
    // bulwarks along both sides of the deck
    const int S = 14;
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i < S; ++i) {
            float t0 = float(i) / S, t1 = float(i + 1) / S;
            float sz = side == 0 ? 1.0f : -1.0f;
            V3 a(kStern + (kBow - kStern) * t0, deck_height(t0) - 0.02f, sz * (half_width(t0) - 0.02f));
            V3 b(kStern + (kBow - kStern) * t1, deck_height(t1) - 0.02f, sz * (half_width(t1) - 0.02f));
            m.append(wall(a, b, 0.17f, 0.05f, kPlanks), Xf(), kGHull);
        }
    // stern castle with its cabin windows, and the bowsprit
    Rect cabin[6] = {kCabin, kCabin, kDeck, kPlanks, kCabin, kCabin};
    m.append(make_box6({kStern + 0.12f, 0.3f, -0.52f}, {kStern + 1.1f, 0.85f, 0.52f}, cabin), Xf(), kGHull);
    m.append(make_cylinder(0.06f, 0.025f, 1.0f, 6, kMast), Xf::translate({kBow - 0.3f, deck_height(1.0f) - 0.05f, 0}) * Xf::rot_z(-62.0f),
             kGHull);
    // mast, yards and the square sail, bellied forward
    m.append(make_cylinder(0.075f, 0.045f, kMastTop - 0.2f, 8, kMast), Xf::translate({kMastX, 0.2f, 0}), kGHull);
    for (float y : {2.12f, 0.92f})
        m.append(make_cylinder(0.035f, 0.035f, 2.1f, 6, kMast), Xf::translate({kMastX + 0.08f, y, 1.05f}) * Xf::rot_x(-90.0f),
                 kGHull);
    Mesh sail = make_sheet(2.0f, 1.15f, 0.06f, 8, 6, kSail, kMast);
    for (V3& p : sail.pos) {
        float sx = p.x / 1.0f, sy = (p.y + 0.575f) / 1.15f;
        p.z += 0.3f * (1.0f - sx * sx) * std::sin(3.14159f * (0.1f + 0.9f * sy));
    }
    // the sheet is built facing +z: turn it to face the bow
    m.append(sail, Xf::translate({kMastX + 0.1f, 1.52f, 0}) * Xf::rot_y(90.0f), kGSail);
    // pennant at the masthead
    Mesh flag = make_sheet(0.6f, 0.3f, 0.05f, 5, 2, kFlag, kFlag);
    m.append(flag, Xf::translate({kMastX - 0.32f, kMastTop - 0.17f, 0}), kGFlag);
    // tail fin on the stern castle
    m.append(make_slab({{0.0f, 0.0f}, {-0.6f, 0.0f}, {-0.75f, 0.6f}, {-0.3f, 0.55f}}, 0.06f, kWing, kIron),
             Xf::translate({kStern + 0.7f, 0.85f, 0}) * Xf::rot_x(-90.0f), kGHull);
    // bat wings along the flanks: a scalloped membrane behind a bone spar
    for (int side = 0; side < 2; ++side) {
        float s = side == 0 ? -1.0f : 1.0f;
        std::vector<std::pair<float, float>> outline = {{0.6f, 0.0f},   {0.45f, 0.65f}, {0.15f, 1.3f},  {-0.2f, 1.05f},
                                                       {-0.4f, 1.22f}, {-0.6f, 0.85f}, {-0.9f, 0.95f}, {-0.85f, 0.45f},
                                                       {-0.7f, 0.0f}};
        for (auto& p : outline)
            p.second *= s;
        Xf rest = Xf::translate(kHinge[side]) * Xf::rot_x(-s * kDihedral);
        int g = side == 0 ? kGWingL : kGWingR;
        m.append(make_slab(outline, 0.05f, kWing, kIron), rest, g);
        m.append(make_box({-0.05f, -0.04f, 0.0f}, {0.05f, 0.04f, 1.33f}, kIron),
                 rest * Xf::translate({0.45f, 0.03f, 0}) * Xf::rot_y(side == 0 ? 180.0f + 11.0f : -11.0f), g);
    }
    // propellers on booms at the stern
    for (int i = 0; i < 2; ++i) {
        m.append(make_cylinder(0.045f, 0.045f, 0.5f, 6, kIron), Xf::translate(kProp[i] + V3(0.55f, 0, 0)) * Xf::rot_z(90.0f), kGHull);
        int g = i == 0 ? kGProp0 : kGProp1;
        m.append(make_lathe({{0.08f, 0.0f}, {0.07f, 0.07f}, {0.0f, 0.16f}}, 10, kBrass, true),
                 Xf::translate(kProp[i]) * Xf::rot_z(90.0f), g);
        for (int b = 0; b < 2; ++b)
            m.append(make_box({-0.02f, 0.05f, -0.07f}, {0.02f, 0.38f, 0.07f}, kBrass),
                     Xf::translate(kProp[i] + V3(0.03f, 0, 0)) * Xf::rot_x(180.0f * b) * Xf::rot_y(25.0f), g);
    }
    return m;
}

Image ship_skin()
{
    Image img = blank_skin(kSkin);
    paint(img, kPlanks, [](float u, float v) {
        float plank = v * 9.0f;
        int row = int(plank);
        float grain = noise::value2(u * 60.0f + row * 17.0f, plank * 3.0f, 1401, 0);
        Rgb c = mix(hex(0x4A2C18), hex(0x7A4A28), 0.5f * grain + 0.5f * hash_unit(hash2(row, 0, 1402)));
        if (std::fmod(plank, 1.0f) < 0.08f)
            c = hex(0x1E120A); // caulked seams
        if (std::fmod(u * 12.0f + row * 0.37f, 1.0f) < 0.01f)
            c = hex(0x1E120A); // butt joints
        if (v < 0.1f)
            c = mix(hex(0xC89628), hex(0xE8C050), grain); // gilded gunwale stripe
        // gun ports
        if (v > 0.16f && v < 0.27f && std::fmod(u * 7.0f, 1.0f) > 0.4f && std::fmod(u * 7.0f, 1.0f) < 0.58f && u > 0.15f &&
            u < 0.85f)
            c = hex(0x100A06);
        return c;
    });
    paint(img, kDeck, [](float u, float v) {
        float plank = v * 7.0f;
        int row = int(plank);
        float grain = noise::value2(u * 40.0f + row * 11.0f, plank * 4.0f, 1403, 0);
        Rgb c = mix(hex(0x9A7448), hex(0xC09460), 0.6f * grain + 0.4f * hash_unit(hash2(row, 1, 1404)));
        if (std::fmod(plank, 1.0f) < 0.06f)
            c = hex(0x3A2816);
        return c;
    });
    paint(img, kSail, [](float u, float v) {
        Rgb c = mix(hex(0xE8DCC0), hex(0xC8B898), 0.6f * fur_noise(u, v, 8, 1405) + 0.2f * v);
        if (std::fmod(u * 6.0f, 1.0f) < 0.015f)
            c = c * 0.85f; // cloth seams
        // the skull: a round cranium, eye sockets, nose and teeth, with crossed bones
        float x = (u - 0.5f) * 2.0f, y = (v - 0.46f) * 2.0f;
        auto in_bone = [](float x0, float y0, float dx, float dy, float x, float y) {
            float t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
            t = std::clamp(t, 0.0f, 1.0f);
            float px = x0 + dx * t - x, py = y0 + dy * t - y;
            return std::hypot(px, py) < 0.06f || std::hypot(x - x0, y - y0) < 0.1f ||
                   std::hypot(x - x0 - dx, y - y0 - dy) < 0.1f;
        };
        if (in_bone(-0.55f, 0.45f, 1.1f, 0.4f, x, y) || in_bone(-0.55f, 0.85f, 1.1f, -0.4f, x, y))
            c = hex(0x1A1210);
        float skull = std::hypot(x / 0.42f, (y + 0.12f) / 0.4f);
        float jaw = std::hypot(x / 0.26f, (y - 0.25f) / 0.2f);
        if (skull < 1.0f || jaw < 1.0f) {
            c = hex(0x1A1210);
            for (float ex : {-0.17f, 0.17f})
                if (std::hypot(x - ex, y + 0.08f) < 0.11f)
                    c = hex(0xB01818);
            if (std::fabs(x) < 0.05f && y > 0.06f && y < 0.16f)
                c = hex(0xE8DCC0);
            if (y > 0.3f && y < 0.38f && std::fmod((x + 1.0f) * 14.0f, 1.0f) < 0.5f && std::fabs(x) < 0.2f)
                c = hex(0xE8DCC0);
        }
        return c;
    });
    paint(img, kWing, [](float u, float v) {
        Rgb c = mix(hex(0x3A1424), hex(0x6A2838), 0.7f * fur_noise(u, v, 6, 1406) + 0.3f * v);
        // bones radiating from the root
        float ang = std::atan2(v - 0.5f, u - 0.85f);
        if (std::fabs(std::fmod(ang * 4.0f + 10.0f, 1.0f) - 0.5f) < 0.04f)
            c = hex(0xD8C8A8);
        return c;
    });
    paint(img, kCabin, [](float u, float v) {
        float plank = v * 6.0f;
        Rgb c = mix(hex(0x5A3420), hex(0x7A4A2C), noise::value2(u * 30.0f, plank * 2.0f, 1411, 0));
        if (std::fmod(plank, 1.0f) < 0.07f)
            c = hex(0x2A1A0E);
        // a row of lit windows with frames
        float wx = std::fmod(u * 4.0f, 1.0f);
        if (v > 0.3f && v < 0.62f && wx > 0.25f && wx < 0.75f) {
            c = mix(hex(0xFFE890), hex(0xE09030), (v - 0.3f) / 0.32f);
            if (std::fabs(wx - 0.5f) < 0.03f || std::fabs(v - 0.46f) < 0.02f)
                c = hex(0x2A1A0E);
        }
        if (v < 0.08f)
            c = mix(hex(0xC89628), hex(0xE8C050), noise::value2(u * 20.0f, v, 1412, 0));
        return c;
    });
    paint(img, kIron, [](float u, float v) { return mix(hex(0x2A2C30), hex(0x5A5E64), fur_noise(u, v, 6, 1407)); });
    paint(img, kMast, [](float u, float v) {
        return mix(hex(0x5A3A20), hex(0x8A6038), noise::value2(u * 4.0f, v * 40.0f, 1408, 4));
    });
    paint(img, kFlag, [](float u, float v) {
        Rgb c = hex(0x121212);
        float x = (u - 0.5f) * 2.0f, y = (v - 0.5f) * 2.0f;
        if (std::hypot(x / 0.3f, (y + 0.1f) / 0.45f) < 1.0f)
            c = hex(0xF0F0F0);
        for (float ex : {-0.12f, 0.12f})
            if (std::hypot(x - ex, y + 0.05f) < 0.08f)
                c = hex(0x121212);
        return c;
    });
    paint(img, kBrass, [](float u, float v) { return mix(hex(0x8A6A20), hex(0xE0B850), noise::value2(u * 3, v * 30, 1409, 3)); });
    finish_skin(img, 0.015f, 1410);
    return img;
}

} // namespace

void build_ship(ModelSet& set)
{
    Model s = make_model("media/objects/ship/ship_anim.md2", "ship.jpg", ship_mesh(), kSkin, true);
    s.cycles.push_back({"fly", 16, [](const V3& p, int g, float ph) {
                            V3 q = p;
                            float flap = 30.0f * wave(ph);
                            if (g == kGWingL)
                                q = Xf::rot_about(kHinge[0], {1, 0, 0}, flap).apply(q);
                            if (g == kGWingR)
                                q = Xf::rot_about(kHinge[1], {1, 0, 0}, -flap).apply(q);
                            if (g == kGProp0 || g == kGProp1) {
                                float dir = g == kGProp0 ? 1.0f : -1.0f;
                                q = Xf::rot_about(kProp[g - kGProp0], {1, 0, 0}, dir * 360.0f * ph).apply(q);
                            }
                            if (g == kGFlag) { // the pennant ripples, more towards its free end
                                float k = std::max(0.0f, (kMastX - q.x) / 0.6f);
                                q.z += 0.08f * k * wave(ph, 2, -k * 0.8f);
                            }
                            if (g == kGSail) {
                                float k = std::max(0.0f, 1.0f - std::fabs(q.z) / 1.0f);
                                q.x += 0.03f * k * wave(ph, 1);
                            }
                            // the whole ship rises as the wings beat down, and pitches gently
                            q = Xf::rot_about({0, 0, 0}, {0, 0, 1}, 2.0f * wave(ph, 1, 0.25f)).apply(q);
                            return q + V3(0, 0.07f * wave(ph, 1, 0.5f), 0);
                        }});
    set.models.push_back(s);
    set.skins.push_back({"media/objects/ship/ship.jpg", ship_skin()});
}
