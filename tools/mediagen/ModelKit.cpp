#include "ModelKit.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Random.h"

Rect atlas_cell(int size, int cols, int rows, int col, int row, int col_span, int row_span, int pad)
{
    float cw = float(size) / cols, ch = float(size) / rows;
    Rect r;
    r.u0 = (std::round(col * cw) + pad) / size;
    r.v0 = (std::round(row * ch) + pad) / size;
    r.u1 = (std::round((col + col_span) * cw) - pad) / size;
    r.v1 = (std::round((row + row_span) * ch) - pad) / size;
    return r;
}

void paint(Image& img, const Rect& r, const std::function<Rgb(float u, float v)>& fn, int bleed)
{
    float x0 = r.u0 * img.w, x1 = r.u1 * img.w, y0 = r.v0 * img.h, y1 = r.v1 * img.h;
    int ix0 = std::max(0, int(std::floor(x0)) - bleed), ix1 = std::min(img.w, int(std::ceil(x1)) + bleed);
    int iy0 = std::max(0, int(std::floor(y0)) - bleed), iy1 = std::min(img.h, int(std::ceil(y1)) + bleed);
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            float u = std::clamp((x + 0.5f - x0) / (x1 - x0), 0.0f, 1.0f);
            float v = std::clamp((y + 0.5f - y0) / (y1 - y0), 0.0f, 1.0f);
            put_rgb(img, x, y, fn(u, v));
        }
}

float fur_noise(float u, float v, int cells, uint32_t seed)
{
    return clamp01(0.5f + 0.5f * noise::fbm2(u * cells, v * cells, 4, 0.5f, seed, cells));
}

namespace {
const uint8_t kUnused[3] = {1, 2, 3};
bool unused(const uint8_t* p) { return p[0] == kUnused[0] && p[1] == kUnused[1] && p[2] == kUnused[2]; }
} // namespace

Image blank_skin(int size)
{
    Image img(size, size, 3);
    for (size_t i = 0; i < img.pixels.size(); i += 3)
        std::copy(kUnused, kUnused + 3, &img.pixels[i]);
    return img;
}

void finish_skin(Image& img, float grain, uint32_t seed)
{
    double sum[3] = {0, 0, 0};
    size_t painted = 0;
    for (size_t i = 0; i + 2 < img.pixels.size(); i += 3)
        if (!unused(&img.pixels[i])) {
            for (int c = 0; c < 3; ++c)
                sum[c] += img.pixels[i + c];
            ++painted;
        }
    for (size_t i = 0; i + 2 < img.pixels.size(); i += 3)
        if (unused(&img.pixels[i]))
            for (int c = 0; c < 3; ++c)
                img.pixels[i + c] = uint8_t(std::lround(painted ? sum[c] / painted : 0.0));
    Rng rng(seed);
    for (size_t i = 0; i + 2 < img.pixels.size(); i += 3) {
        float d = float(rng.uniform() - 0.5) * 2.0f * grain * 255.0f;
        for (int c = 0; c < 3; ++c)
            img.pixels[i + c] = uint8_t(std::clamp(int(std::lround(img.pixels[i + c] + d)), 0, 255));
    }
}

V3 sway(const V3& p, float height, float amp_x, float amp_z, float phase, float periods)
{
    float h = std::max(0.0f, p.y) / height;
    float k = h * h;
    float s = wave(phase, periods);
    float c = wave(phase, periods, 0.25f);
    // a slight drop keeps the length of the bending trunk about the same
    float drop = 0.5f * k * k * (amp_x * amp_x * s * s + amp_z * amp_z * c * c) / std::max(height, 1e-3f);
    return {p.x + amp_x * k * s, p.y - drop, p.z + amp_z * k * c};
}
