// 8-bit images and colour arithmetic shared by the texture generators.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Row-major, first row at the top, `channels` interleaved bytes per pixel (1, 3 or 4).
struct Image {
    Image() = default;
    Image(int w, int h, int channels) : w(w), h(h), channels(channels), pixels(size_t(w) * h * channels) {}

    uint8_t* at(int x, int y) { return &pixels[(size_t(y) * w + x) * channels]; }
    const uint8_t* at(int x, int y) const { return &pixels[(size_t(y) * w + x) * channels]; }

    int w = 0;
    int h = 0;
    int channels = 0;
    std::vector<uint8_t> pixels;
};

inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
inline float mixf(float a, float b, float t) { return a + (b - a) * t; }
inline float smoothstep(float e0, float e1, float x)
{
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

// Linear-ish RGB colour in [0, 1] per channel (values outside are clamped on output).
struct Rgb {
    float r = 0.0f, g = 0.0f, b = 0.0f;

    constexpr Rgb() = default;
    constexpr Rgb(float r, float g, float b) : r(r), g(g), b(b) {}

    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator-(const Rgb& o) const { return {r - o.r, g - o.g, b - o.b}; }
    Rgb operator*(float s) const { return {r * s, g * s, b * s}; }
    Rgb operator*(const Rgb& o) const { return {r * o.r, g * o.g, b * o.b}; }
    Rgb& operator+=(const Rgb& o) { r += o.r; g += o.g; b += o.b; return *this; }
};

inline Rgb mix(const Rgb& a, const Rgb& b, float t) { return a + (b - a) * t; }

// Colour from 0xRRGGBB.
inline Rgb hex(uint32_t c)
{
    return {float((c >> 16) & 255) / 255.0f, float((c >> 8) & 255) / 255.0f, float(c & 255) / 255.0f};
}

inline uint8_t to_byte(float v) { return uint8_t(std::lround(clamp01(v) * 255.0f)); }

inline void put_rgb(Image& img, int x, int y, const Rgb& c)
{
    uint8_t* p = img.at(x, y);
    p[0] = to_byte(c.r);
    p[1] = to_byte(c.g);
    p[2] = to_byte(c.b);
}

inline Rgb get_rgb(const Image& img, int x, int y)
{
    const uint8_t* p = img.at(x, y);
    return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
}
