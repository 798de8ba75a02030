// Reading a landscape screenshot the way a player would: what fraction of a region looks
// like sky, water, grass, rock or sand, and how much two frames differ.
#pragma once

#include "e2e/GameRunner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>

enum class Looks { Sky, Water, Grass, Rock, Sand, Other };

inline Looks looks_like(const unsigned char* p)
{
    const int r = p[0], g = p[1], b = p[2];
    const int bright = (r + g + b) / 3;
    if (b > r + 20 && b >= g && bright >= 140) return Looks::Sky;
    if (b > r + 12 && bright < 150) return Looks::Water;
    if (g > r + 4 && g > b + 12) return Looks::Grass;
    if (r > b + 40 && g > b + 20 && bright >= 140) return Looks::Sand;
    if (std::abs(r - g) < 24 && std::abs(g - b) < 30 && b <= r + 12 && bright >= 55 && bright < 215)
        return Looks::Rock;
    return Looks::Other;
}

struct Share {
    double sky = 0, water = 0, grass = 0, rock = 0, sand = 0, other = 0;
};

inline std::ostream& operator<<(std::ostream& o, const Share& s)
{
    return o << "sky " << s.sky << " water " << s.water << " grass " << s.grass << " rock " << s.rock
             << " sand " << s.sand << " other " << s.other;
}

// Visits every pixel of a region (x0, y0 inclusive; x1, y1 exclusive; row 0 at the top) and
// returns how many there were.
template <class F>
double each_pixel(int x0, int y0, int x1, int y1, F f)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) f(x, y);
    return std::max(0, x1 - x0) * double(std::max(0, y1 - y0));
}

inline Share share_of(const Image& img, int x0, int y0, int x1, int y1)
{
    Share s;
    double* slot[] = {&s.sky, &s.water, &s.grass, &s.rock, &s.sand, &s.other}; // in the order of Looks
    double n = each_pixel(x0, y0, x1, y1, [&](int x, int y) { *slot[int(looks_like(img.pixel(x, y)))] += 1; });
    if (n > 0)
        for (double* v : slot) *v /= n;
    return s;
}

// Mean absolute difference per channel (0..255) of two images over a region.
inline double mean_difference(const Image& a, const Image& b, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    double n = each_pixel(x0, y0, x1, y1, [&](int x, int y) {
        for (int c = 0; c < 3; ++c) sum += std::abs(int(a.pixel(x, y)[c]) - int(b.pixel(x, y)[c]));
    });
    return n > 0 ? sum / (3 * n) : 0.0;
}

// Fraction of a region whose pixels pass `is`.
template <class F>
double fraction_where(const Image& img, int x0, int y0, int x1, int y1, F is)
{
    double hit = 0;
    double n = each_pixel(x0, y0, x1, y1, [&](int x, int y) { hit += is(img.pixel(x, y)) ? 1 : 0; });
    return n > 0 ? hit / n : 0;
}

// Standard deviation of the brightness over a region: 0 for a flat colour.
inline double brightness_spread(const Image& img, int x0, int y0, int x1, int y1)
{
    double sum = 0, sum2 = 0;
    double n = each_pixel(x0, y0, x1, y1, [&](int x, int y) {
        const unsigned char* p = img.pixel(x, y);
        double v = (p[0] + p[1] + p[2]) / 3.0;
        sum += v;
        sum2 += v * v;
    });
    if (n <= 0) return 0;
    return std::sqrt(std::max(0.0, sum2 / n - (sum / n) * (sum / n)));
}

// The player's "you:" line of the heads-up display: orange-yellow text.
inline bool you_text(const unsigned char* p) { return p[0] > 150 && p[1] > 90 && p[2] < 70 && p[0] > p[1]; }

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// Mean colour of a region.
inline Rgb mean_colour(const Image& img, int x0, int y0, int x1, int y1)
{
    Rgb m;
    double n = each_pixel(x0, y0, x1, y1, [&](int x, int y) {
        const unsigned char* p = img.pixel(x, y);
        m.r += p[0];
        m.g += p[1];
        m.b += p[2];
    });
    if (n > 0) m = {m.r / n, m.g / n, m.b / n};
    return m;
}

inline double brightness(const Rgb& c) { return (c.r + c.g + c.b) / 3.0; }
