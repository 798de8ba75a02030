// The daytime sky cube map (media/cubemap/cubemap_daytime_X4.jpg): six square faces side by
// side in the order +X, -X, +Y, -Y, +Z, -Z, as the game's strip loader uploads them.
//
// Every texel is computed from its direction, so the faces meet without seams. Face
// orientation follows the OpenGL cube-map convention: for a texel at (s, t) of a face, with
// sc = 2s - 1 and tc = 2t - 1 (s along the image row, t down the rows, the first row being
// t = 0 because the loader uploads rows as stored):
//   +X: ( 1, -tc, -sc)    -X: (-1, -tc,  sc)
//   +Y: (sc,   1,  tc)    -Y: (sc,  -1, -tc)
//   +Z: (sc, -tc,   1)    -Z: (-sc, -tc, -1)
// y is up, matching the world; the sun stands toward the game's light direction.
#include "Sky.h"

#include "ImageWrite.h"
#include "Noise.h"
#include "Output.h"
#include "Parallel.h"

#include <cmath>

namespace {

struct V3 {
    float x, y, z;
};

V3 normalize(V3 v)
{
    float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}

float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

const V3 kSun = normalize({-0.2f, 0.85f, -0.15f});

} // namespace

V3f cube_direction(int face, float s, float t)
{
    float sc = 2.0f * s - 1.0f, tc = 2.0f * t - 1.0f;
    switch (face) {
    case 0: return {1.0f, -tc, -sc};
    case 1: return {-1.0f, -tc, sc};
    case 2: return {sc, 1.0f, tc};
    case 3: return {sc, -1.0f, -tc};
    case 4: return {sc, -tc, 1.0f};
    default: return {-sc, -tc, -1.0f};
    }
}

Rgb sky_colour(float dx, float dy, float dz)
{
    const V3 d = normalize({dx, dy, dz});
    const float e = d.y;

    // Clear sky: deep blue overhead fading to a pale haze at the horizon, which matches the
    // fog colour of the landscape so that distant hills melt into it.
    const Rgb zenith = hex(0x2F64B8), mid = hex(0x6F9DD6), horizon = hex(0xB5CDE6);
    float up = clamp01(e);
    Rgb sky = mix(horizon, mid, std::pow(up, 0.45f));
    sky = mix(sky, zenith, std::pow(up, 1.6f));

    // Below the horizon (seen only in reflections): haze darkening into sea-grey blue.
    if (e < 0.0f) sky = mix(horizon, hex(0x51708C), std::pow(clamp01(-e * 2.5f), 0.7f));

    // Sun: a wide warm glow, a brighter halo and the disc itself.
    float cs = std::max(0.0f, dot(d, kSun));
    Rgb glow = hex(0xFFF0D0);
    sky = sky + glow * (0.22f * std::pow(cs, 6.0f) + 0.45f * std::pow(cs, 60.0f));
    float disc = smoothstep(0.99965f, 0.99985f, cs);
    sky = mix(sky, hex(0xFFFBEF), disc);

    // Clouds on a layer above the land: soft fair-weather cumulus, thinning toward the
    // horizon where they merge into the haze.
    if (e > 0.0f) {
        float k = 1.0f / (e + 0.12f);
        float cx = d.x * k * 1.6f, cz = d.z * k * 1.6f;
        float n = noise::fbm3(cx, cz, 0.37f, 6, 0.5f, 801u);
        float detail = noise::fbm3(cx * 3.1f, cz * 3.1f, 1.7f, 4, 0.5f, 802u);
        float density = smoothstep(0.02f, 0.32f, n + 0.25f * detail);
        float fade = smoothstep(0.02f, 0.25f, e);
        density *= fade;
        // Lit tops toward the sun, grey bases, bright silver linings near it.
        float shade_n = noise::fbm3(cx + 0.15f * kSun.x, cz + 0.15f * kSun.z, 0.37f, 5, 0.5f, 801u);
        float self_shadow = clamp01((shade_n - n) * 3.0f + 0.5f);
        Rgb lit = hex(0xFBFBF8), base = hex(0x9DAABB);
        Rgb cloud = mix(lit, base, clamp01(0.25f + 0.75f * smoothstep(0.1f, 0.55f, n) * (0.6f + 0.4f * self_shadow)));
        cloud = cloud + glow * (0.35f * std::pow(cs, 12.0f));
        sky = mix(sky, cloud, density * 0.92f);
    }

    // A thin bright haze band right on the horizon.
    float band = std::exp(-std::fabs(e) * 18.0f);
    sky = mix(sky, hex(0xD4E0EC), 0.35f * band);
    return sky;
}

Image make_sky_strip(int face)
{
    Image img(6 * face, face, 3);
    parallel_rows(face, [&](int y) {
        for (int f = 0; f < 6; ++f)
            for (int x = 0; x < face; ++x) {
                V3f d = cube_direction(f, (float(x) + 0.5f) / face, (float(y) + 0.5f) / face);
                put_rgb(img, f * face + x, y, sky_colour(d.x, d.y, d.z));
            }
    });
    return img;
}

bool generate_sky(Output& out)
{
    return write_jpg(out, "media/cubemap/cubemap_daytime_X4.jpg", make_sky_strip(512), 94);
}
