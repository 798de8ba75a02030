// The title screen (media/title.jpg): the game's name over a moor at dusk, a lake in the
// middle distance reflecting the sky and a ruined hold on the far hill.
//
// The game stretches the image over the whole window (4:3), so the picture is composed in a
// 1024 x 768 scene and drawn into the 1024 x 1024 texture squeezed vertically; on screen it
// regains its proportions.
#include "Title.h"

#include "Font.h"
#include "ImageWrite.h"
#include "Noise.h"
#include "Output.h"
#include "Parallel.h"
#include "Random.h"

#include <cmath>

namespace {

const float kW = 1024.0f, kH = 768.0f;
const float kHorizon = 468.0f;   // where the sky meets the farthest hills
const float kWaterline = 530.0f; // the lake's surface line

inline float n1(float x, uint32_t seed, int octaves = 5) { return noise::fbm2(x, 0.5f, octaves, 0.5f, seed); }

const Rgb kHaze = hex(0xB98F78);

Rgb sky(float X, float Y)
{
    float t = clamp01(Y / kHorizon);
    Rgb c = mix(hex(0x141B2B), hex(0x3C4060), smoothstep(0.0f, 0.55f, t));
    c = mix(c, hex(0x8A6A6E), smoothstep(0.45f, 0.85f, t));
    c = mix(c, hex(0xE0A56E), smoothstep(0.8f, 1.0f, t));
    // The sun low behind the clouds, right of centre.
    float d = std::hypot(X - 730.0f, (Y - 450.0f) * 1.6f);
    c = c + hex(0xFFB070) * (0.55f * std::exp(-d / 90.0f) + 0.25f * std::exp(-d / 260.0f));
    // Long streaks of cloud, dark above, fired orange on their undersides near the sun.
    float u = X / 340.0f, v = Y / 55.0f;
    float cl = noise::fbm2(u + 0.4f * noise::fbm2(u, v, 3, 0.5f, 902u), v, 6, 0.55f, 901u);
    float dens = smoothstep(-0.05f, 0.35f, cl) * (1.0f - smoothstep(0.85f, 1.0f, t));
    float under = clamp01(noise::fbm2(u, (Y + 6.0f) / 55.0f, 6, 0.55f, 901u) - cl + 0.5f);
    Rgb cloud = mix(hex(0x2A2C3E), hex(0x6A5060), t);
    cloud = mix(cloud, hex(0xF0A060), clamp01(std::exp(-d / 330.0f) * 1.2f) * (1.0f - under) * 0.9f);
    return mix(c, cloud, dens * 0.85f);
}

// Height (Y) of a hill ridge across the picture.
float ridge(float X, float base, float amp, float scale, uint32_t seed)
{
    return base - amp * (0.5f + 0.5f * n1(X / scale, seed));
}

// The ruined hold on the far hill: a keep with battlements and a broken tower.
bool hold(float X, float Y, float ground)
{
    const float cx = 300.0f;
    if (X > cx - 34.0f && X < cx + 34.0f && Y > ground - 40.0f) {
        // Crenellations along the top of the wall.
        float top = ground - 40.0f;
        bool merlon = int(std::floor((X - cx + 34.0f) / 8.5f)) % 2 == 0;
        if (Y > top + 6.0f || merlon) return true;
    }
    if (X > cx + 16.0f && X < cx + 34.0f && Y > ground - 72.0f) {
        // The tower, broken off at a slant.
        float broken = ground - 72.0f + (X - cx - 16.0f) * 0.9f;
        return Y > broken;
    }
    if (X > cx - 52.0f && X < cx - 34.0f && Y > ground - 22.0f + (cx - 34.0f - X) * 0.5f) return true;
    return false;
}

Rgb scene(float X, float Y)
{
    // Far hills, hazier the farther they are; the hold stands on the second range.
    float r1 = ridge(X, kHorizon + 4.0f, 46.0f, 170.0f, 911u);
    float r2 = ridge(X, kHorizon + 26.0f, 52.0f, 240.0f, 912u) + 18.0f * std::exp(-std::pow((X - 300.0f) / 80.0f, 2.0f)) * -1.0f;
    float r3 = ridge(X, kWaterline + 6.0f, 30.0f, 120.0f, 913u);

    Rgb c = sky(X, Y);
    if (Y > r1) c = mix(hex(0x5A5068), kHaze, 0.55f - 0.25f * clamp01((Y - r1) / 60.0f));
    if (Y > r2 || hold(X, Y, r2 + 4.0f)) {
        float depth = clamp01((Y - r2) / 80.0f);
        c = mix(hex(0x3C3248), hex(0x5B4A58), 0.5f + 0.5f * n1(X / 40.0f + Y / 30.0f, 914u));
        c = mix(c, kHaze, 0.35f * (1.0f - depth));
    }
    // Mist lying in the valley between the ranges.
    float mist = std::exp(-std::pow((Y - (kHorizon + 40.0f)) / 22.0f, 2.0f)) *
                 (0.5f + 0.5f * noise::fbm2(X / 200.0f, Y / 20.0f, 4, 0.5f, 915u));
    c = mix(c, hex(0xC8A8A0), clamp01(mist) * 0.55f);

    // The lake: the sky and hills mirrored, broken by ripples, darker and cooler.
    if (Y > kWaterline && Y > r3) {
        float depth = (Y - kWaterline);
        float ripple = noise::fbm2(X / 60.0f, depth / 6.0f, 3, 0.5f, 916u) * (1.5f + depth * 0.08f);
        float my = 2.0f * kWaterline - Y + ripple;
        Rgb refl = sky(X + ripple * 2.0f, my);
        if (my > r1) refl = mix(hex(0x5A5068), kHaze, 0.45f);
        if (my > r2) refl = mix(hex(0x3C3248), kHaze, 0.2f);
        c = mix(refl * 0.72f, hex(0x1A2430), clamp01(depth / 260.0f) * 0.6f);
        // Glints where the sun's path crosses the water.
        float path = std::exp(-std::pow((X - 730.0f) / (18.0f + depth * 0.6f), 2.0f));
        float glint = smoothstep(0.55f, 0.9f, noise::fbm2(X / 7.0f, Y / 1.6f, 2, 0.5f, 917u) + 0.5f);
        c = c + hex(0xFFC080) * (path * glint * 0.9f);
    }

    // Near moor framing the lake: dark heather on both sides, rising toward the edges.
    float bank_l = kWaterline + 130.0f - 250.0f * smoothstep(400.0f, 0.0f, X) + 12.0f * n1(X / 50.0f, 918u);
    float bank_r = kWaterline + 150.0f - 210.0f * smoothstep(720.0f, 1024.0f, X) + 12.0f * n1(X / 50.0f, 919u);
    float bank = std::min(bank_l, bank_r);
    if (Y > bank) {
        float k = clamp01((Y - bank) / 260.0f);
        float tuft = noise::fbm2(X / 7.0f, Y / 4.0f, 4, 0.6f, 920u);
        Rgb heather = mix(hex(0x2A1C28), hex(0x46293A), 0.5f + tuft);
        Rgb grass = mix(hex(0x23251A), hex(0x383A22), 0.5f + tuft);
        c = mix(heather, grass, 0.35f * smoothstep(-0.1f, 0.3f, noise::fbm2(X / 90.0f, Y / 40.0f, 3, 0.5f, 921u)));
        c = c * (0.9f - 0.55f * k);
        // Warm light catching the crest of the bank.
        c = c + hex(0xC07040) * (0.3f * std::exp(-(Y - bank) / 5.0f));
    }
    // Grass blades against the sky along the bottom edge.
    float blades = kH - 40.0f - 50.0f * std::pow(std::fabs(noise::fbm2(X / 3.0f, 0.5f, 2, 0.5f, 922u)), 0.6f);
    if (Y > blades) c = c * 0.25f;

    // Vignette.
    float vx = (X / kW - 0.5f) * 2.0f, vy = (Y / kH - 0.5f) * 2.0f;
    c = c * (1.0f - 0.35f * clamp01(vx * vx * 0.6f + vy * vy * 0.8f));
    return c;
}

} // namespace

Image make_title(int size)
{
    // Scene colours first, in the picture's own 4:3 coordinates.
    Image img(size, size, 3);
    const float sx = kW / float(size), sy = kH / float(size);
    std::vector<Rgb> px(size_t(size) * size);
    parallel_rows(size, [&](int y) {
        for (int x = 0; x < size; ++x) px[size_t(y) * size + x] = scene((float(x) + 0.5f) * sx, (float(y) + 0.5f) * sy);
    });

    // The name: gilded serif capitals with a dark rim and a soft shadow, in the upper third.
    TtfFont font;
    if (load_font(font, kTitleFontFile)) {
        const char* name = "Moorhold";
        const float scale = font.scale_for_height(190.0f);
        int ascent = 0, descent = 0, gap = 0;
        font.vmetrics(ascent, descent, gap);
        // Coverage of the whole word in scene pixels.
        float width = 0.0f;
        for (const char* c = name; *c; ++c) {
            int adv = 0, lsb = 0;
            font.hmetrics(*c, adv, lsb);
            width += float(adv) * scale;
            if (c[1]) width += float(font.kern(c[0], c[1])) * scale;
        }
        const int TW = int(kW), TH = int(kH);
        std::vector<float> cover(size_t(TW) * TH, 0.0f);
        float pen = (kW - width) * 0.5f;
        const float baseline = 250.0f;
        for (const char* c = name; *c; ++c) {
            int w = 0, h = 0, x0 = 0, y0 = 0;
            std::vector<uint8_t> bits = font.glyph(*c, scale, w, h, x0, y0);
            int ox = int(std::lround(pen)) + x0, oy = int(baseline) + y0;
            for (int by = 0; by < h; ++by)
                for (int bx = 0; bx < w; ++bx) {
                    int X = ox + bx, Y = oy + by;
                    if (X >= 0 && Y >= 0 && X < TW && Y < TH)
                        cover[size_t(Y) * TW + X] = std::max(cover[size_t(Y) * TW + X], bits[size_t(by) * w + bx] / 255.0f);
                }
            int adv = 0, lsb = 0;
            font.hmetrics(*c, adv, lsb);
            pen += float(adv) * scale;
            if (c[1]) pen += float(font.kern(c[0], c[1])) * scale;
        }
        auto C = [&](float X, float Y) {
            int ix = int(std::floor(X)), iy = int(std::floor(Y));
            if (ix < 0 || iy < 0 || ix >= TW - 1 || iy >= TH - 1) return 0.0f;
            float fx = X - ix, fy = Y - iy;
            const float* r0 = &cover[size_t(iy) * TW + ix];
            const float* r1 = r0 + TW;
            return mixf(mixf(r0[0], r0[1], fx), mixf(r1[0], r1[1], fx), fy);
        };
        const float top = baseline - float(ascent) * scale, bottom = baseline;
        parallel_rows(size, [&](int y) {
            for (int x = 0; x < size; ++x) {
                float X = (float(x) + 0.5f) * sx, Y = (float(y) + 0.5f) * sy;
                if (Y < top - 40.0f || Y > bottom + 60.0f) continue;
                Rgb& c = px[size_t(y) * size + x];
                // Shadow and glow: blurred coverage, offset down and right.
                float shadow = 0.0f, glow = 0.0f, rim = 0.0f;
                for (int k = 0; k < 12; ++k) {
                    float a = float(k) * 0.5235988f;
                    shadow += C(X - 7.0f + 6.0f * std::cos(a), Y - 9.0f + 6.0f * std::sin(a));
                    glow += C(X + 16.0f * std::cos(a), Y + 16.0f * std::sin(a));
                    rim = std::max(rim, C(X + 3.5f * std::cos(a), Y + 3.5f * std::sin(a)));
                }
                shadow /= 12.0f;
                glow /= 12.0f;
                c = c + hex(0xFF9A50) * (0.25f * glow);
                c = mix(c, hex(0x05060A), clamp01(shadow * 0.8f));
                c = mix(c, hex(0x1A1008), clamp01(rim));
                float fill = C(X, Y);
                if (fill > 0.0f) {
                    // Gold, bright along the top of the letters, deeper toward the base.
                    float g = clamp01((Y - top) / (bottom - top));
                    Rgb gold = mix(hex(0xFFF1B8), hex(0xE0A040), smoothstep(0.0f, 0.6f, g));
                    gold = mix(gold, hex(0x9A5A20), smoothstep(0.6f, 1.0f, g));
                    gold = gold * (0.92f + 0.16f * noise::fbm2(X / 14.0f, Y / 14.0f, 3, 0.5f, 930u));
                    c = mix(c, gold, fill);
                }
            }
        });
    }
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) put_rgb(img, x, y, px[size_t(y) * size + x]);
    return img;
}

bool generate_title(Output& out)
{
    Image img = make_title(1024);
    TtfFont probe;
    if (!probe.load(kTitleFontFile)) out.fail("the title needs " + std::string(kTitleFontFile));
    return write_jpg(out, "media/title.jpg", img, 92);
}
