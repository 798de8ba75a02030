// The landscape's surface textures: sand, grass, rock, the detail noise with its normal map
// and the neutral "unit" texture. Every one tiles seamlessly: all noise is periodic over the
// texture and everything drawn wraps around its edges.
#include "Textures.h"

#include "ImageWrite.h"
#include "Noise.h"
#include "Output.h"
#include "Parallel.h"
#include "Random.h"

#include <cmath>

namespace {

// A float RGB canvas that wraps around at its edges.
struct Canvas {
    Canvas(int size) : size(size), px(size_t(size) * size) {}
    Rgb& at(int x, int y)
    {
        x = ((x % size) + size) % size;
        y = ((y % size) + size) % size;
        return px[size_t(y) * size + x];
    }
    void blend(int x, int y, const Rgb& c, float a)
    {
        Rgb& d = at(x, y);
        d = mix(d, c, clamp01(a));
    }
    Image to_image() const
    {
        Image img(size, size, 3);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) put_rgb(img, x, y, px[size_t(y) * size + x]);
        return img;
    }
    int size;
    std::vector<Rgb> px;
};

// Periodic fractal noise over the texture: (u, v) in [0, 1), `cells` lattice cells across.
inline float tile_fbm(float u, float v, int cells, int octaves, float gain, uint32_t seed)
{
    return noise::fbm2(u * float(cells), v * float(cells), octaves, gain, seed, cells);
}

// Per-pixel grain (white noise), tiling trivially.
inline float grain(int x, int y, uint32_t seed) { return hash_unit(hash2(x, y, seed)); }

// Draws a soft line (a grass blade) of the given width, tapering to its tip, wrapping.
void blade(Canvas& c, float x0, float y0, float x1, float y1, float width, const Rgb& base, const Rgb& tip,
           float alpha)
{
    float minx = std::floor(std::min(x0, x1) - width - 1), maxx = std::ceil(std::max(x0, x1) + width + 1);
    float miny = std::floor(std::min(y0, y1) - width - 1), maxy = std::ceil(std::max(y0, y1) + width + 1);
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    if (len2 < 1e-6f) return;
    for (int y = int(miny); y <= int(maxy); ++y) {
        for (int x = int(minx); x <= int(maxx); ++x) {
            float px = float(x) + 0.5f, py = float(y) + 0.5f;
            float t = clamp01(((px - x0) * dx + (py - y0) * dy) / len2);
            float ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
            float d = std::sqrt(ex * ex + ey * ey);
            float w = width * (1.0f - 0.85f * t);
            float cover = clamp01(w + 0.5f - d);
            if (cover > 0.0f) c.blend(x, y, mix(base, tip, t), cover * alpha);
        }
    }
}

// Lambert shading of a periodic height field (values per pixel) from the upper left.
std::vector<float> shade(const std::vector<float>& h, int size, float strength)
{
    std::vector<float> s(h.size());
    const float lx = -0.55f, ly = -0.55f, lz = 0.63f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            auto H = [&](int a, int b) { return h[size_t((b + size) % size) * size + size_t((a + size) % size)]; };
            float dx = (H(x + 1, y) - H(x - 1, y)) * strength, dy = (H(x, y + 1) - H(x, y - 1)) * strength;
            float nx = -dx, ny = -dy, nz = 1.0f, l = std::sqrt(nx * nx + ny * ny + nz * nz);
            s[size_t(y) * size + x] = std::max(0.0f, (nx * lx + ny * ly + nz * lz) / l) / lz;
        }
    }
    return s;
}

} // namespace

Image make_sand(int size)
{
    // Height: low wind ripples over soft undulation, with scattered pebbles.
    std::vector<float> h(size_t(size) * size);
    std::vector<float> pebble(h.size());
    std::vector<uint32_t> pebble_id(h.size());
    parallel_rows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size;
            float warp = tile_fbm(u, v, 4, 3, 0.5f, 301u);
            // 11 ripples across, slanted by 2 per tile: both whole numbers, so they tile.
            float phase = 2.0f * float(M_PI) * (11.0f * v + 2.0f * u + 1.6f * warp);
            float ripple = std::pow(0.5f + 0.5f * std::sin(phase), 1.6f);
            ripple *= 0.6f + 0.4f * tile_fbm(u, v, 6, 2, 0.5f, 302u);
            float soft = tile_fbm(u, v, 3, 4, 0.5f, 303u);
            float wu = u + 0.006f * tile_fbm(u, v, 64, 2, 0.5f, 310u), wv = v + 0.006f * tile_fbm(u, v, 64, 2, 0.5f, 311u);
            noise::Cells c = noise::worley2(wu * 48.0f, wv * 48.0f, 304u, 48);
            float radius = 0.08f + 0.22f * hash_unit(hash_u32(c.id ^ 0x1234u));
            float p = hash_unit(c.id) > 0.955f ? 1.0f - smoothstep(radius * 0.6f, radius, c.f1) : 0.0f;
            pebble[size_t(y) * size + x] = p;
            pebble_id[size_t(y) * size + x] = c.id;
            h[size_t(y) * size + x] = 1.2f * ripple + 2.0f * soft + 1.5f * p + 0.25f * grain(x, y, 305u);
        }
    });
    std::vector<float> light = shade(h, size, 1.6f);

    const Rgb dry = hex(0xD9BF8C), damp = hex(0xB99A6B), light_grain = hex(0xF2E2BC), dark_grain = hex(0x6E5A44);
    const Rgb pebble_col = hex(0x8C8072);
    Canvas out(size);
    parallel_rows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size;
            size_t i = size_t(y) * size + x;
            float tone = tile_fbm(u, v, 3, 4, 0.5f, 306u);
            Rgb c = mix(dry, damp, clamp01(0.45f + 1.2f * tone));
            float g = grain(x, y, 307u);
            if (g > 0.93f) c = mix(c, light_grain, 0.6f);
            else if (g < 0.05f) c = mix(c, dark_grain, 0.45f);
            c = c * (0.9f + 0.2f * grain(x + 7, y + 3, 308u));
            float pb = pebble[i];
            if (pb > 0.0f) {
                // Each pebble its own colour, from grey flint to brown sandstone and pale shell.
                uint32_t id = pebble_id[i];
                Rgb pc = mix(pebble_col, hex(0xA4866A), hash_unit(id));
                if (hash_unit(hash_u32(id ^ 77u)) > 0.75f) pc = hex(0xE8DFCF);
                c = mix(c, pc * (0.85f + 0.3f * grain(x, y, 309u)), clamp01(pb * 1.5f));
            }
            c = c * (0.78f + 0.3f * light[i]);
            out.px[i] = c;
        }
    });
    return out.to_image();
}

Image make_grass(int size)
{
    Canvas c(size);
    // Ground between the blades: dark, earthy green with patches.
    parallel_rows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size;
            float n = tile_fbm(u, v, 8, 4, 0.5f, 401u);
            c.px[size_t(y) * size + x] = mix(hex(0x1E3212), hex(0x2E3A16), clamp01(0.5f + 1.5f * n));
        }
    });

    // Blades in several layers, later layers on top and lighter (closer to the light).
    Rng rng(0x6A55u);
    const Rgb deep = hex(0x2F5A1C), mid = hex(0x4E8A2A), bright = hex(0x86B63E), dry = hex(0xA7A55A);
    const int layers = 4;
    const int per_layer = size * size / 22;
    for (int layer = 0; layer < layers; ++layer) {
        float lift = float(layer) / float(layers - 1);
        for (int i = 0; i < per_layer; ++i) {
            float x = float(rng.uniform() * size), y = float(rng.uniform() * size);
            float u = x / size, v = y / size;
            // Patches: lusher, yellower or darker areas, and a mown direction per patch.
            float lush = tile_fbm(u, v, 4, 3, 0.5f, 402u);
            float yellow = tile_fbm(u, v, 5, 3, 0.5f, 403u);
            float lean = tile_fbm(u, v, 3, 2, 0.5f, 404u) * 3.0f;
            float angle = lean + float(rng.range(-0.9, 0.9));
            float len = float(rng.range(5.0, 15.0)) * (0.8f + 0.5f * clamp01(0.5f + lush));
            float width = float(rng.range(0.7, 1.4));
            Rgb base = mix(deep, mid, clamp01(0.3f + 0.7f * lift + 0.8f * lush));
            Rgb tip = mix(mid, bright, clamp01(0.2f + 0.8f * lift + float(rng.range(-0.3, 0.3))));
            float dry_mix = clamp01((yellow - 0.12f) * 3.0f) * float(rng.uniform());
            tip = mix(tip, dry, dry_mix);
            base = mix(base, dry * 0.7f, dry_mix * 0.5f);
            float shade_k = float(rng.range(0.75, 1.1));
            blade(c, x, y, x + len * std::cos(angle), y + len * std::sin(angle), width, base * shade_k, tip * shade_k,
                  0.9f);
        }
    }
    // Clover and small flowers, sparse.
    for (int i = 0; i < size * size / 4000; ++i) {
        float x = float(rng.uniform() * size), y = float(rng.uniform() * size);
        bool flower = rng.uniform() < 0.3;
        Rgb col = flower ? (rng.uniform() < 0.5 ? hex(0xF0EEDC) : hex(0xE8D25A)) : hex(0x3C7A2A);
        float r = flower ? 1.6f : 3.0f;
        for (int k = 0; k < (flower ? 5 : 3); ++k) {
            float a = float(k) * 2.0f * float(M_PI) / (flower ? 5.0f : 3.0f) + float(rng.uniform());
            float cx = x + r * std::cos(a), cy = y + r * std::sin(a);
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    float d = std::hypot(float(dx), float(dy));
                    c.blend(int(cx) + dx, int(cy) + dy, col, clamp01((flower ? 1.4f : 2.4f) - d));
                }
        }
    }
    // Overall light variation.
    parallel_rows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size;
            float n = tile_fbm(u, v, 2, 3, 0.5f, 405u);
            c.px[size_t(y) * size + x] = c.px[size_t(y) * size + x] * (1.0f + 0.25f * n);
        }
    });
    return c.to_image();
}

Image make_rock(int size)
{
    // Height field: layered strata (a whole number of layers per tile) with ledges, weathered
    // by ridged noise and split by a few irregular joints; colour follows the layers.
    std::vector<float> h(size_t(size) * size);
    std::vector<float> layer_of(h.size());
    std::vector<float> crack_of(h.size());
    const int layers = 7;
    parallel_rows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size;
            float warp = tile_fbm(u, v, 3, 4, 0.5f, 501u);
            float t = (v + 0.10f * warp + 0.04f * tile_fbm(u, v, 12, 3, 0.5f, 511u)) * layers;
            float f = t - std::floor(t);
            // Each stratum a ledge: a sharp step at its lower edge, a weathered face above.
            float ledge = smoothstep(0.0f, 0.1f, f) * (1.0f - 0.5f * f);
            // Joints: the edges of large, warped cells, broken up so that only some show.
            float wu = u + 0.04f * tile_fbm(u, v, 8, 3, 0.5f, 512u), wv = v + 0.04f * tile_fbm(u, v, 8, 3, 0.5f, 513u);
            noise::Cells cells = noise::worley2(wu * 6.0f, wv * 6.0f, 502u, 6);
            float joint = 1.0f - smoothstep(0.0f, 0.035f, cells.f2 - cells.f1);
            joint *= smoothstep(-0.05f, 0.15f, tile_fbm(u, v, 5, 3, 0.5f, 514u));
            // Hairline fractures from ridged noise.
            float hair = std::pow(noise::ridged2(u * 24.0f, v * 24.0f, 3, 0.5f, 515u, 24), 6.0f);
            float rough = tile_fbm(u, v, 16, 6, 0.55f, 504u);
            float pits = noise::ridged2(u * 40.0f, v * 40.0f, 3, 0.5f, 505u, 40);
            size_t i = size_t(y) * size + x;
            h[i] = 2.4f * ledge + 2.2f * rough + 0.5f * pits - 1.4f * joint - 0.5f * hair +
                   0.25f * hash_unit(hash2(x, y, 506u));
            layer_of[i] = t;
            crack_of[i] = std::max(joint, 0.5f * hair);
        }
    });
    std::vector<float> light = shade(h, size, 1.1f);

    Canvas c(size);
    const Rgb tones[4] = {hex(0x8C857A), hex(0x7B7165), hex(0x99907F), hex(0x6F6960)};
    parallel_rows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size;
            size_t i = size_t(y) * size + x;
            int band = int(std::floor(layer_of[i])) % layers;
            if (band < 0) band += layers;
            Rgb col = tones[hash_u32(uint32_t(band) * 7919u + 17u) % 4u];
            float tint = tile_fbm(u, v, 6, 4, 0.5f, 507u);
            col = mix(col, hex(0x9C8466), clamp01(0.35f + 1.2f * tint));       // iron staining
            col = mix(col, hex(0x5E5A55), clamp01(-0.2f - 1.5f * tint));       // weathered grey
            col = col * (0.9f + 0.2f * hash_unit(hash2(x, y, 508u)));          // grain
            float lichen = tile_fbm(u, v, 10, 4, 0.5f, 509u);
            if (lichen > 0.3f) {
                Rgb lc = hash_unit(hash2(x / 2, y / 2, 510u)) > 0.4f ? hex(0x9E9A5E) : hex(0xBDB8A6);
                col = mix(col, lc, clamp01((lichen - 0.3f) * 6.0f) * 0.6f);
            }
            col = mix(col, hex(0x25211D), crack_of[i] * 0.75f);
            c.px[i] = col * (0.55f + 0.5f * light[i]);
        }
    });
    return c.to_image();
}

std::vector<float> make_noise_field(int size)
{
    std::vector<float> n(size_t(size) * size);
    float lo = 1e9f, hi = -1e9f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = float(x) / size, v = float(y) / size;
            float value = tile_fbm(u, v, 8, 6, 0.55f, 601u);
            n[size_t(y) * size + x] = value;
            lo = std::min(lo, value);
            hi = std::max(hi, value);
        }
    for (float& v : n) v = (v - lo) / (hi - lo);
    return n;
}

Image make_noise(int size)
{
    std::vector<float> n = make_noise_field(size);
    Image img(size, size, 3);
    for (size_t i = 0; i < n.size(); ++i) img.pixels[3 * i] = img.pixels[3 * i + 1] = img.pixels[3 * i + 2] = to_byte(n[i]);
    return img;
}

Image make_noise_normals(int size)
{
    // Tangent-space normals of the noise as a height field: x right, y up the image, z out.
    std::vector<float> n = make_noise_field(size);
    Image img(size, size, 3);
    const float strength = 6.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            auto H = [&](int a, int b) { return n[size_t((b + size) % size) * size + size_t((a + size) % size)]; };
            float dx = (H(x + 1, y) - H(x - 1, y)) * 0.5f * strength;
            float dy = (H(x, y - 1) - H(x, y + 1)) * 0.5f * strength;
            float nx = -dx, ny = -dy, nz = 1.0f, l = std::sqrt(nx * nx + ny * ny + nz * nz);
            uint8_t* p = img.at(x, y);
            p[0] = to_byte(0.5f + 0.5f * nx / l);
            p[1] = to_byte(0.5f + 0.5f * ny / l);
            p[2] = to_byte(0.5f + 0.5f * nz / l);
        }
    return img;
}

Image make_unit(int size)
{
    // Neutral light grey with the faintest grain, so that lit models keep their own colours.
    Image img(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float v = 0.86f + 0.03f * (hash_unit(hash2(x, y, 701u)) - 0.5f);
            put_rgb(img, x, y, {v, v, v});
        }
    return img;
}

bool generate_surface_textures(Output& out)
{
    bool ok = true;
    ok = write_jpg(out, "media/sand_base1.jpg", make_sand(1024), 92) && ok;
    ok = write_jpg(out, "media/Grass6.jpg", make_grass(1024), 92) && ok;
    ok = write_jpg(out, "media/nature072b.jpg", make_rock(1024), 92) && ok;
    ok = write_jpg(out, "media/noise.jpg", make_noise(512), 95) && ok;
    ok = write_png(out, "media/noise_nm.png", make_noise_normals(512)) && ok;
    ok = write_jpg(out, "media/objects/unit/unit.jpg", make_unit(64), 95) && ok;
    return ok;
}
