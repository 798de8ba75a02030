// The teddy-bear rider (the player's in honey-brown fur, the opponents' "evil" one in dark
// purple with red eyes, same model) and the old film camera the opponents carry along.
// The teddy sits with its seat at the origin, facing +x, paws forward on the handlebar.
#include <cmath>

#include "Models.h"
#include "Noise.h"

namespace {

const int kSkin = 256;
Rect cell(int c, int r, int cs = 1, int rs = 1) { return atlas_cell(kSkin, 4, 4, c, r, cs, rs, 4); }

// atlas of teddy.jpg and evil.jpg
const Rect kBody = cell(0, 0, 2, 2);
const Rect kHead = cell(2, 0, 2, 2);
const Rect kMuzzle = cell(0, 2);
const Rect kEye = cell(1, 2);
const Rect kEar = cell(2, 2);
const Rect kPad = cell(3, 2);
const Rect kLimb = cell(0, 3, 2, 1);
const Rect kNose = cell(2, 3);

enum { kGBody = 0, kGHead = 1, kGArmL = 2, kGArmR = 3, kGLegs = 4 };

const V3 kNeck(0.0f, 0.5f, 0.0f);
const V3 kShoulder[2] = {{0.02f, 0.42f, -0.19f}, {0.02f, 0.42f, 0.19f}};
const float kArmReach = 45.0f; // degrees forward from hanging down

Mesh teddy_mesh()
{
    Mesh m;
    m.append(make_lathe({{0.0f, -0.26f}, {0.12f, -0.24f}, {0.19f, -0.15f}, {0.215f, -0.03f}, {0.2f, 0.09f},
                         {0.16f, 0.18f}, {0.1f, 0.23f}, {0.0f, 0.25f}},
                        18, kBody, false, false, 180.0f),
             Xf::translate({-0.02f, 0.26f, 0}) * Xf::scale(1.0f, 1.0f, 1.05f), kGBody);
    // head
    m.append(make_ellipsoid({0.19f, 0.17f, 0.19f}, 10, 18, kHead), Xf::translate({0.0f, 0.66f, 0}) * Xf::rot_y(180.0f), kGHead);
    m.append(make_ellipsoid({0.085f, 0.062f, 0.095f}, 6, 12, kMuzzle), Xf::translate({0.155f, 0.615f, 0}) * Xf::rot_y(180.0f),
             kGHead);
    m.append(make_ellipsoid({0.032f, 0.026f, 0.042f}, 5, 10, kNose), Xf::translate({0.235f, 0.64f, 0}), kGHead);
    for (float z : {-0.075f, 0.075f}) {
        m.append(make_ellipsoid({0.026f, 0.032f, 0.026f}, 5, 10, kEye), Xf::translate({0.158f, 0.71f, z}) * Xf::rot_y(180.0f),
                 kGHead);
        m.append(make_ellipsoid({0.045f, 0.07f, 0.07f}, 6, 12, kEar),
                 Xf::translate({-0.01f, 0.8f, z * 1.9f}) * Xf::rot_y(180.0f), kGHead);
    }
    // arms reach forward from the shoulders
    for (int side = 0; side < 2; ++side) {
        Xf arm = Xf::translate(kShoulder[side]) * Xf::rot_z(kArmReach) * Xf::translate({0, -0.15f, 0});
        m.append(make_ellipsoid({0.068f, 0.17f, 0.068f}, 8, 12, kLimb), arm, side == 0 ? kGArmL : kGArmR);
        m.append(make_ellipsoid({0.058f, 0.05f, 0.058f}, 6, 10, kPad), arm * Xf::translate({0, -0.15f, 0}),
                 side == 0 ? kGArmL : kGArmR);
    }
    // legs stretched forward, soles to the front
    for (float z : {-0.11f, 0.11f}) {
        m.append(make_ellipsoid({0.16f, 0.075f, 0.078f}, 8, 12, kLimb), Xf::translate({0.12f, 0.075f, z}), kGLegs);
        m.append(make_ellipsoid({0.045f, 0.08f, 0.066f}, 6, 12, kPad),
                 Xf::translate({0.27f, 0.09f, z * 1.05f}) * Xf::rot_y(180.0f), kGLegs);
    }
    return m;
}

// Head yaw and nod about the neck, arm swing about the shoulders, and a roll of the whole
// bear about its seat.
V3 teddy_pose(const V3& p, int g, float head_yaw, float head_nod, float arm_l, float arm_r, float roll, float bob)
{
    V3 q = p;
    if (g == kGHead)
        q = (Xf::rot_about(kNeck, {0, 1, 0}, head_yaw) * Xf::rot_about(kNeck, {0, 0, 1}, head_nod)).apply(q);
    if (g == kGArmL)
        q = Xf::rot_about(kShoulder[0], {0, 0, 1}, arm_l).apply(q);
    if (g == kGArmR)
        q = Xf::rot_about(kShoulder[1], {0, 0, 1}, arm_r).apply(q);
    if (g != kGLegs)
        q = Xf::rot_about({0, 0, 0}, {1, 0, 0}, roll).apply(q) + V3(0, bob, 0);
    return q;
}

struct FurColours {
    Rgb fur_dark, fur_light, belly, muzzle, eye, eye_glint, ear_inner, pad, nose;
    bool evil;
};

Rgb fur(const FurColours& c, float u, float v, uint32_t seed)
{
    float streak = noise::value2(u * 48.0f, v * 12.0f, seed, 48);
    float clump = fur_noise(u, v, 8, seed + 1);
    return mix(c.fur_dark, c.fur_light, 0.55f * clump + 0.45f * streak);
}

Image teddy_skin(const FurColours& c)
{
    Image img = blank_skin(kSkin);
    paint(img, kBody, [&](float u, float v) {
        Rgb f = fur(c, u, v, 101);
        // belly patch on the front (u = 0.5 faces +x)
        float d = std::hypot((u - 0.5f) * 3.2f, (v - 0.55f) * 2.4f);
        if (d < 0.55f)
            f = mix(c.belly, f, smoothstep(0.45f, 0.55f, d)) * (0.9f + 0.1f * fur_noise(u, v, 8, 7));
        if (c.evil && std::fabs(u - 0.5f) < 0.01f && v > 0.3f && v < 0.85f)
            f = hex(0x101010); // stitched seam
        if (c.evil && std::fabs(u - 0.5f) < 0.03f && std::fmod(v * 20.0f, 1.0f) < 0.25f && v > 0.3f && v < 0.85f)
            f = hex(0x101010);
        return f;
    });
    paint(img, kHead, [&](float u, float v) {
        Rgb f = fur(c, u, v, 202);
        // brows above the eyes
        for (float eu : {0.43f, 0.57f}) {
            // the evil brows slope down towards the nose
            float slope = c.evil ? (eu < 0.5f ? 0.8f : -0.8f) : 0.0f;
            float dy = v - (0.31f + slope * (u - eu));
            if (std::fabs(u - eu) < 0.035f && std::fabs(dy) < 0.015f)
                f = c.evil ? hex(0x080808) : c.fur_dark * 0.6f;
        }
        if (c.evil) { // scar across the left eye
            float t = (u - 0.36f) / 0.12f;
            if (t > 0 && t < 1 && std::fabs(v - (0.2f + 0.25f * t)) < 0.012f)
                f = hex(0xC03040);
            if (t > 0 && t < 1 && std::fmod(t * 5.0f, 1.0f) < 0.2f && std::fabs(v - (0.2f + 0.25f * t)) < 0.035f)
                f = hex(0xE0D0C0);
        }
        return f;
    });
    paint(img, kMuzzle, [&](float u, float v) {
        Rgb f = mix(c.muzzle, c.muzzle * 0.85f, fur_noise(u, v, 4, 303));
        // mouth: a smile (or a scowl) on the lower front
        float du = u - 0.5f;
        float curve = c.evil ? 0.62f - 2.0f * du * du : 0.6f + 2.5f * du * du;
        if (std::fabs(du) < 0.12f && std::fabs(v - curve) < 0.025f)
            f = hex(0x2A1810);
        if (std::fabs(du) < 0.012f && v > 0.45f && v < curve)
            f = hex(0x2A1810);
        return f;
    });
    paint(img, kEye, [&](float u, float v) {
        Rgb e = c.eye;
        float d = std::hypot(u - 0.44f, v - 0.35f);
        if (d < 0.06f)
            e = c.eye_glint;
        if (c.evil) {
            float slit = std::fabs(u - 0.5f);
            if (slit < 0.02f && v > 0.25f && v < 0.75f)
                e = hex(0x200000);
        }
        return e;
    });
    paint(img, kEar, [&](float u, float v) {
        float d = std::hypot((u - 0.5f) * 2.2f, (v - 0.5f) * 1.6f);
        return d < 0.45f ? mix(c.ear_inner, c.ear_inner * 0.8f, d) : fur(c, u, v, 404);
    });
    paint(img, kPad, [&](float u, float v) {
        float d = std::hypot((u - 0.5f) * 2.0f, (v - 0.5f) * 1.4f);
        return d < 0.55f ? c.pad * (0.9f + 0.1f * fur_noise(u, v, 4, 505)) : fur(c, u, v, 505);
    });
    paint(img, kLimb, [&](float u, float v) { return fur(c, u, v, 606); });
    paint(img, kNose, [&](float u, float v) {
        float glint = std::hypot(u - 0.45f, v - 0.3f) < 0.08f ? 0.35f : 0.0f;
        return c.nose + Rgb(glint, glint, glint);
    });
    finish_skin(img, 0.02f, c.evil ? 707 : 708);
    return img;
}

// ---- the camera ----
const Rect kCamBody = atlas_cell(kSkin, 4, 4, 0, 0, 2, 2, 4);
const Rect kCamMetal = atlas_cell(kSkin, 4, 4, 2, 0, 1, 1, 4);
const Rect kCamLens = atlas_cell(kSkin, 4, 4, 3, 0, 1, 1, 4);
const Rect kCamReel = atlas_cell(kSkin, 4, 4, 2, 1, 2, 2, 4);
const Rect kCamLight = atlas_cell(kSkin, 4, 4, 0, 2, 1, 1, 4);

enum { kGCam = 0, kGReel0 = 1, kGReel1 = 2, kGMast = 3 };
const V3 kReel[2] = {{-0.075f, 0.56f, 0.0f}, {0.075f, 0.54f, 0.0f}};

Mesh cam_mesh()
{
    Mesh m;
    m.append(make_cylinder(0.035f, 0.025f, 0.3f, 8, kCamMetal), Xf(), kGMast);
    m.append(make_box({-0.14f, 0.3f, -0.075f}, {0.13f, 0.46f, 0.075f}, kCamBody), Xf(), kGCam);
    // lens barrel along +x with a hood
    m.append(make_lathe({{0.05f, 0.0f}, {0.05f, 0.07f}, {0.07f, 0.1f}, {0.072f, 0.13f}}, 14, kCamLens, true),
             Xf::translate({0.13f, 0.38f, 0}) * Xf::rot_z(-90.0f), kGCam);
    // viewfinder and record lamp
    m.append(make_box({-0.2f, 0.38f, -0.03f}, {-0.14f, 0.43f, 0.03f}, kCamMetal), Xf(), kGCam);
    m.append(make_ellipsoid({0.02f, 0.02f, 0.02f}, 5, 8, kCamLight), Xf::translate({0.1f, 0.47f, 0.05f}), kGCam);
    // two film reels standing on top, their axles across
    for (int i = 0; i < 2; ++i)
        m.append(make_cylinder(0.085f, 0.085f, 0.035f, 16, kCamReel),
                 Xf::translate(kReel[i]) * Xf::rot_x(90.0f) * Xf::translate({0, -0.0175f, 0}), i == 0 ? kGReel0 : kGReel1);
    return m;
}

Image cam_skin()
{
    Image img = blank_skin(kSkin);
    paint(img, kCamBody, [](float u, float v) {
        float pebble = noise::worley2(u * 24.0f, v * 24.0f, 808, 24).f1;
        Rgb c = mix(hex(0x141416), hex(0x2A2A2E), clamp01(pebble));
        if (v > 0.42f && v < 0.48f)
            c = hex(0xA8A8A8); // chrome trim
        if (u > 0.62f && u < 0.9f && v > 0.6f && v < 0.8f)
            c = hex(0xB02020); // maker's badge
        return c;
    });
    paint(img, kCamMetal, [](float u, float v) { return mix(hex(0x707880), hex(0xC8CED4), noise::value2(u * 2, v * 40, 809, 0)); });
    paint(img, kCamLens, [](float u, float v) {
        (void)u;
        if (v < 0.35f) // the glass (the cap at the front end)
            return mix(hex(0x50A0E0), hex(0x0A1830), v * 2.5f);
        return std::fmod(v * 8.0f, 1.0f) < 0.3f ? hex(0xB0B0B0) : hex(0x18181A);
    });
    paint(img, kCamReel, [](float u, float v) {
        Rgb c = mix(hex(0x9098A0), hex(0xD0D4D8), noise::value2(u * 3, v * 30, 810, 0));
        // three holes (the caps are mapped from the rim texel column; spokes show on the rim)
        if (std::fmod(u * 3.0f, 1.0f) < 0.3f)
            c = hex(0x202024);
        return c;
    });
    paint(img, kCamLight, [](float u, float v) {
        float d = std::hypot(u - 0.5f, v - 0.4f);
        return mix(hex(0xFF6050), hex(0xA00000), std::min(1.0f, d * 2.5f));
    });
    finish_skin(img, 0.015f, 811);
    return img;
}

} // namespace

void build_teddy(ModelSet& set)
{
    Model t = make_model("media/objects/teddy/teddy.md2", "teddy.jpg", teddy_mesh(), kSkin);
    // riding: rocks with the hull, looks about, steers
    t.cycles.push_back({"ride", 12, [](const V3& p, int g, float ph) {
                            float steer = 6.0f * wave(ph);
                            return teddy_pose(p, g, 14.0f * wave(ph, 1, 0.25f), 4.0f * wave(ph, 2), steer, -steer,
                                              4.0f * wave(ph), 0.012f * wave(ph, 2));
                        }});
    // cheering: both paws up, waving
    t.cycles.push_back({"cheer", 8, [](const V3& p, int g, float ph) {
                            float lift = 95.0f + 25.0f * wave(ph, 2);
                            return teddy_pose(p, g, 0.0f, -10.0f + 6.0f * wave(ph, 2), lift, lift + 10.0f * wave(ph, 2, 0.5f),
                                              3.0f * wave(ph), 0.03f * std::fabs(wave(ph, 1)));
                        }});
    set.models.push_back(t);

    FurColours teddy = {hex(0x7A4A22), hex(0xB07838), hex(0xE8C896), hex(0xD8B080), hex(0x0C0A08), hex(0xFFFFFF),
                        hex(0xE0A0A0), hex(0xE2C49A), hex(0x1E1410), false};
    FurColours evil = {hex(0x1C1024), hex(0x3E2650), hex(0x6A1020), hex(0x5A5560), hex(0xFF2010), hex(0xFFE080),
                       hex(0x901020), hex(0x3A0A14), hex(0x080808), true};
    set.skins.push_back({"media/objects/teddy/teddy.jpg", teddy_skin(teddy)});
    set.skins.push_back({"media/objects/evil/evil.jpg", teddy_skin(evil)});

    Model cam = make_model("media/objects/cam/cam.md2", "cam.jpg", cam_mesh(), kSkin);
    // filming: the reels turn while the camera pans from side to side
    cam.cycles.push_back({"film", 16, [](const V3& p, int g, float ph) {
                              V3 q = p;
                              if (g == kGReel0 || g == kGReel1)
                                  q = Xf::rot_about(kReel[g - kGReel0], {0, 0, 1}, -360.0f * ph).apply(q);
                              if (g != kGMast)
                                  q = Xf::rot_about({0, 0, 0}, {0, 1, 0}, 25.0f * wave(ph)).apply(q);
                              return q;
                          }});
    set.models.push_back(cam);
    set.skins.push_back({"media/objects/cam/cam.jpg", cam_skin()});
}
