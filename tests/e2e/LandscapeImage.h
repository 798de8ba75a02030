// Reading a landscape screenshot the way a player would: what fraction of a region looks
// like sky, water, grass, rock or sand, and how much two frames differ.
#pragma once

#include "e2e/GameRunner.h"

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

// Shares of the region (x0, y0 inclusive; x1, y1 exclusive; row 0 at the top).
inline Share share_of(const Image& img, int x0, int y0, int x1, int y1)
{
    Share s;
    double n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            switch (looks_like(img.pixel(x, y))) {
            case Looks::Sky: s.sky += 1; break;
            case Looks::Water: s.water += 1; break;
            case Looks::Grass: s.grass += 1; break;
            case Looks::Rock: s.rock += 1; break;
            case Looks::Sand: s.sand += 1; break;
            case Looks::Other: s.other += 1; break;
            }
            n += 1;
        }
    if (n > 0) {
        s.sky /= n; s.water /= n; s.grass /= n; s.rock /= n; s.sand /= n; s.other /= n;
    }
    return s;
}

// Mean absolute difference per channel (0..255) of two images over a region.
inline double mean_difference(const Image& a, const Image& b, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    long n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = a.pixel(x, y);
            const unsigned char* q = b.pixel(x, y);
            for (int c = 0; c < 3; ++c) sum += std::abs(int(p[c]) - int(q[c]));
            n += 3;
        }
    return n ? sum / n : 0.0;
}

// Fraction of a region (x0, y0 inclusive; x1, y1 exclusive) whose pixels pass `is`.
template <class F>
double fraction_where(const Image& img, int x0, int y0, int x1, int y1, F is)
{
    double hit = 0, n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) hit += is(img.pixel(x, y)) ? 1 : 0;
    return n > 0 ? hit / n : 0;
}

// Standard deviation of the brightness over a region: 0 for a flat colour.
inline double brightness_spread(const Image& img, int x0, int y0, int x1, int y1)
{
    double sum = 0, sum2 = 0;
    long n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = img.pixel(x, y);
            double v = (p[0] + p[1] + p[2]) / 3.0;
            sum += v;
            sum2 += v * v;
            ++n;
        }
    if (!n) return 0;
    double mean = sum / n;
    return std::sqrt(std::max(0.0, sum2 / n - mean * mean));
}

inline double brightness(const Rgb& c) { return (c.r + c.g + c.b) / 3.0; }
