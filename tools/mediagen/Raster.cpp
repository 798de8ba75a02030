#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb_easy_font.h>
#pragma GCC diagnostic pop

OrthoView::OrthoView(float az_deg, float el_deg)
{
    const float d = 3.14159265f / 180.0f;
    V3 eye(std::sin(az_deg * d) * std::cos(el_deg * d), std::sin(el_deg * d), std::cos(az_deg * d) * std::cos(el_deg * d));
    forward = -eye;
    right = normalized(cross(forward, V3(0, 1, 0)));
    up = cross(right, forward);
}

Raster::Raster(int w_, int h_, const Rgb& background)
    : w(w_), h(h_), color(size_t(w_) * h_, background), depth(size_t(w_) * h_, 1e30f)
{
}

V3 Raster::to_screen(const OrthoView& view, const V3& p) const
{
    V3 s = view.project(p);
    return {s.x * zoom + ox, s.y * zoom + oy, s.z};
}

void Raster::fit(const OrthoView& view, const std::vector<V3>& points, float margin)
{
    float x0 = 1e30f, x1 = -1e30f, y0 = 1e30f, y1 = -1e30f;
    for (const V3& p : points) {
        V3 s = view.project(p);
        x0 = std::min(x0, s.x);
        x1 = std::max(x1, s.x);
        y0 = std::min(y0, s.y);
        y1 = std::max(y1, s.y);
    }
    float span = std::max(x1 - x0, y1 - y0);
    zoom = span > 0 ? (std::min(w, h) * (1.0f - 2 * margin)) / span : 1.0f;
    ox = w * 0.5f - (x0 + x1) * 0.5f * zoom;
    oy = h * 0.5f - (y0 + y1) * 0.5f * zoom;
}

Rgb sample(const Image& tex, float s, float t)
{
    float fs = s - std::floor(s), ft = t - std::floor(t);
    int x = std::min(tex.w - 1, int(fs * tex.w)), y = std::min(tex.h - 1, int(ft * tex.h));
    const uint8_t* p = tex.at(x, y);
    if (tex.channels >= 3)
        return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
    return {p[0] / 255.0f, p[0] / 255.0f, p[0] / 255.0f};
}

void Raster::triangle(const OrthoView& view, const V3 world[3], const V2 uv[3], const Image* tex, const Rgb& flat)
{
    V3 n = cross(world[1] - world[0], world[2] - world[0]);
    if (dot(n, view.forward) >= 0) { // seen from behind (or edge on): the game culls it
        ++culled;
        return;
    }
    ++drawn;
    static const V3 light = normalized(V3(0.35f, 0.85f, 0.45f));
    float shade = 0.38f + 0.62f * std::max(0.0f, dot(normalized(n), light));

    V3 s[3];
    for (int k = 0; k < 3; ++k)
        s[k] = to_screen(view, world[k]);
    float area = (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[1].y - s[0].y) * (s[2].x - s[0].x);
    if (std::fabs(area) < 1e-12f)
        return;
    int xa = std::max(0, int(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
    int xb = std::min(w - 1, int(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
    int ya = std::max(0, int(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
    int yb = std::min(h - 1, int(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
    for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float w0 = ((s[1].x - px) * (s[2].y - py) - (s[1].y - py) * (s[2].x - px)) / area;
            float w1 = ((s[2].x - px) * (s[0].y - py) - (s[2].y - py) * (s[0].x - px)) / area;
            float w2 = 1.0f - w0 - w1;
            if (w0 < 0 || w1 < 0 || w2 < 0)
                continue;
            float z = w0 * s[0].z + w1 * s[1].z + w2 * s[2].z;
            size_t i = size_t(y) * w + x;
            if (z >= depth[i])
                continue;
            depth[i] = z;
            Rgb c = flat;
            if (tex)
                c = sample(*tex, w0 * uv[0].u + w1 * uv[1].u + w2 * uv[2].u, w0 * uv[0].v + w1 * uv[1].v + w2 * uv[2].v);
            color[i] = c * shade;
        }
}

void Raster::line(const OrthoView& view, const V3& a, const V3& b, const Rgb& c)
{
    V3 sa = to_screen(view, a), sb = to_screen(view, b);
    int steps = int(std::max(std::fabs(sb.x - sa.x), std::fabs(sb.y - sa.y))) + 1;
    for (int i = 0; i <= steps; ++i) {
        float t = float(i) / steps;
        int x = int(sa.x + (sb.x - sa.x) * t), y = int(sa.y + (sb.y - sa.y) * t);
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                if (x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h)
                    color[size_t(y + dy) * w + x + dx] = c;
    }
}

void Raster::resolve_into(Image& dst, int x0, int y0) const
{
    for (int y = 0; y + 1 < h; y += 2)
        for (int x = 0; x + 1 < w; x += 2) {
            int dx = x0 + x / 2, dy = y0 + y / 2;
            if (dx < 0 || dy < 0 || dx >= dst.w || dy >= dst.h)
                continue;
            Rgb c = (color[size_t(y) * w + x] + color[size_t(y) * w + x + 1] + color[size_t(y + 1) * w + x] +
                     color[size_t(y + 1) * w + x + 1]) *
                    0.25f;
            put_rgb(dst, dx, dy, c);
        }
}

void Raster::resolve_over(Image& dst) const
{
    for (int y = 0; y + 1 < h && y / 2 < dst.h; y += 2)
        for (int x = 0; x + 1 < w && x / 2 < dst.w; x += 2) {
            Rgb sum(0, 0, 0);
            int drawn = 0;
            for (int k = 0; k < 4; ++k) {
                size_t i = size_t(y + (k >> 1)) * w + x + (k & 1);
                if (depth[i] >= 1e30f) continue;
                sum = sum + color[i];
                ++drawn;
            }
            if (!drawn) continue;
            const float a = drawn * 0.25f;
            const Rgb c = sum * (1.0f / drawn);
            uint8_t* p = dst.at(x / 2, y / 2);
            const float under = p[3] / 255.0f, out_a = a + under * (1 - a);
            const float mine[3] = {c.r, c.g, c.b};
            for (int ch = 0; ch < 3; ++ch) {
                float v = (mine[ch] * a + p[ch] / 255.0f * under * (1 - a)) / out_a;
                p[ch] = uint8_t(clamp01(v) * 255.0f + 0.5f);
            }
            p[3] = uint8_t(clamp01(out_a) * 255.0f + 0.5f);
        }
}

void fill_rect(Image& img, int x, int y, int w, int h, const Rgb& c)
{
    for (int j = std::max(0, y); j < std::min(img.h, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(img.w, x + w); ++i)
            put_rgb(img, i, j, c);
}

void draw_circle(Image& img, float cx, float cy, float r, const Rgb& c, bool filled)
{
    int x0 = int(cx - r - 2), x1 = int(cx + r + 2), y0 = int(cy - r - 2), y1 = int(cy + r + 2);
    for (int y = std::max(0, y0); y <= std::min(img.h - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(img.w - 1, x1); ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (filled ? d <= r : std::fabs(d - r) <= 1.0f)
                put_rgb(img, x, y, c);
        }
}

void draw_text(Image& img, int x, int y, const char* text, const Rgb& c, int scale)
{
    static char buffer[200000];
    unsigned char col[4] = {255, 255, 255, 255};
    char copy[1024];
    std::strncpy(copy, text, sizeof copy - 1);
    copy[sizeof copy - 1] = 0;
    int quads = stb_easy_font_print(0, 0, copy, col, buffer, sizeof buffer);
    for (int q = 0; q < quads; ++q) {
        const float* v = reinterpret_cast<const float*>(buffer + q * 64);
        // four vertices of 16 bytes: x, y, z, colour
        float qx0 = v[0], qy0 = v[1], qx1 = v[8], qy1 = v[9];
        fill_rect(img, x + int(qx0 * scale), y + int(qy0 * scale), int((qx1 - qx0) * scale), int((qy1 - qy0) * scale), c);
    }
}

int text_width(const char* text)
{
    char copy[1024];
    std::strncpy(copy, text, sizeof copy - 1);
    copy[sizeof copy - 1] = 0;
    return stb_easy_font_width(copy);
}
