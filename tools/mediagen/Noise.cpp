#include "Noise.h"

#include "Random.h"

#include <cmath>

namespace noise {
namespace {

inline float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }

inline int wrap(int i, int period)
{
    if (period <= 0) return i;
    int r = i % period;
    return r < 0 ? r + period : r;
}

// One of 16 evenly spread unit gradients.
inline float grad2(uint32_t h, float dx, float dy)
{
    static const float gx[16] = {1.0f,       0.9238795f,  0.7071068f,  0.3826834f,
                                 0.0f,       -0.3826834f, -0.7071068f, -0.9238795f,
                                 -1.0f,      -0.9238795f, -0.7071068f, -0.3826834f,
                                 0.0f,       0.3826834f,  0.7071068f,  0.9238795f};
    unsigned k = h & 15u;
    return gx[k] * dx + gx[(k + 4u) & 15u] * dy;
}

// The 12 edge midpoints of a cube, the classic 3-D gradient set.
inline float grad3(uint32_t h, float x, float y, float z)
{
    switch (h % 12u) {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
    }
}

} // namespace

float gradient2(float x, float y, uint32_t seed, int period)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float dx = x - fx, dy = y - fy;
    int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    float n00 = grad2(hash2(x0, y0, seed), dx, dy);
    float n10 = grad2(hash2(x1, y0, seed), dx - 1.0f, dy);
    float n01 = grad2(hash2(x0, y1, seed), dx, dy - 1.0f);
    float n11 = grad2(hash2(x1, y1, seed), dx - 1.0f, dy - 1.0f);
    float u = fade(dx), v = fade(dy);
    return 1.4142135f * lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
}

float gradient3(float x, float y, float z, uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int ix = int(fx), iy = int(fy), iz = int(fz);
    float dx = x - fx, dy = y - fy, dz = z - fz;
    float u = fade(dx), v = fade(dy), w = fade(dz);
    float c[2][2][2];
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                c[k][j][i] = grad3(hash3(ix + i, iy + j, iz + k, seed), dx - float(i),
                                   dy - float(j), dz - float(k));
    float a = lerp(lerp(c[0][0][0], c[0][0][1], u), lerp(c[0][1][0], c[0][1][1], u), v);
    float b = lerp(lerp(c[1][0][0], c[1][0][1], u), lerp(c[1][1][0], c[1][1][1], u), v);
    return lerp(a, b, w);
}

float value2(float x, float y, uint32_t seed, int period)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float u = fade(x - fx), v = fade(y - fy);
    int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    float a = hash_unit(hash2(x0, y0, seed)), b = hash_unit(hash2(x1, y0, seed));
    float c = hash_unit(hash2(x0, y1, seed)), d = hash_unit(hash2(x1, y1, seed));
    return lerp(lerp(a, b, u), lerp(c, d, u), v);
}

float fbm2(float x, float y, int octaves, float gain, uint32_t seed, int period)
{
    float sum = 0.0f, amp = 1.0f, norm = 0.0f, f = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * gradient2(x * f, y * f, seed + uint32_t(o) * 1013u, period > 0 ? period << o : 0);
        norm += amp;
        amp *= gain;
        f *= 2.0f;
    }
    return sum / norm;
}

float fbm3(float x, float y, float z, int octaves, float gain, uint32_t seed)
{
    float sum = 0.0f, amp = 1.0f, norm = 0.0f, f = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * gradient3(x * f, y * f, z * f, seed + uint32_t(o) * 1013u);
        norm += amp;
        amp *= gain;
        f *= 2.0f;
    }
    return sum / norm;
}

float ridged2(float x, float y, int octaves, float gain, uint32_t seed, int period)
{
    float sum = 0.0f, amp = 1.0f, norm = 0.0f, f = 1.0f, weight = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        float n = 1.0f - std::fabs(gradient2(x * f, y * f, seed + uint32_t(o) * 7919u,
                                             period > 0 ? period << o : 0));
        n *= n;
        n *= weight;
        weight = std::fmin(1.0f, std::fmax(0.0f, n * 1.5f));
        sum += amp * n;
        norm += amp;
        amp *= gain;
        f *= 2.0f;
    }
    return sum / norm;
}

Cells worley2(float x, float y, uint32_t seed, int period)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    Cells c{1e9f, 1e9f, 0u};
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            uint32_t h = hash2(wrap(ix + i, period), wrap(iy + j, period), seed);
            float px = float(ix + i) + hash_unit(h);
            float py = float(iy + j) + hash_unit(hash_u32(h ^ 0x5bd1e995u));
            float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < c.f1) {
                c.f2 = c.f1;
                c.f1 = d;
                c.id = h;
            } else if (d < c.f2) {
                c.f2 = d;
            }
        }
    }
    return c;
}

} // namespace noise
