#include "Font.h"

#include "ImageWrite.h"
#include "Output.h"

#include <stb_truetype.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

const char* const kHudFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kTitleFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";

namespace {

const char* const kFontImage = "media/font/font.png";
const char* const kFontImageGamePath = ".\\media\\font\\font.png";

const float kGlyphPixels = 44.0f; // ascent to descent
const int kPad = 3;               // outline room around the ink, inside the cell
const int kGutter = 4;            // transparent pixels between cells
const float kOutline = 2.2f;      // outline radius

} // namespace

bool TtfFont::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    info.assign(sizeof(stbtt_fontinfo), 0);
    auto* fi = reinterpret_cast<stbtt_fontinfo*>(info.data());
    return !data.empty() && stbtt_InitFont(fi, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)) != 0;
}

std::vector<uint8_t> TtfFont::glyph(int c, float scale, int& w, int& h, int& x0, int& y0) const
{
    const auto* fi = reinterpret_cast<const stbtt_fontinfo*>(info.data());
    int x1 = 0, y1 = 0;
    stbtt_GetCodepointBitmapBox(fi, c, scale, scale, &x0, &y0, &x1, &y1);
    w = x1 - x0;
    h = y1 - y0;
    std::vector<uint8_t> bits(size_t(std::max(w, 0)) * size_t(std::max(h, 0)));
    if (w > 0 && h > 0) stbtt_MakeCodepointBitmap(fi, bits.data(), w, h, w, scale, scale, c);
    return bits;
}

float TtfFont::scale_for_height(float pixels) const
{
    return stbtt_ScaleForPixelHeight(reinterpret_cast<const stbtt_fontinfo*>(info.data()), pixels);
}

void TtfFont::vmetrics(int& ascent, int& descent, int& gap) const
{
    stbtt_GetFontVMetrics(reinterpret_cast<const stbtt_fontinfo*>(info.data()), &ascent, &descent, &gap);
}

void TtfFont::hmetrics(int c, int& advance, int& lsb) const
{
    stbtt_GetCodepointHMetrics(reinterpret_cast<const stbtt_fontinfo*>(info.data()), c, &advance, &lsb);
}

int TtfFont::kern(int a, int b) const
{
    return stbtt_GetCodepointKernAdvance(reinterpret_cast<const stbtt_fontinfo*>(info.data()), a, b);
}

bool load_font(TtfFont& font, const char* file)
{
    if (font.load(file)) return true;
    std::fprintf(stderr, "mediagen: cannot load the font %s (Debian package fonts-dejavu-core)\n", file);
    return false;
}

FontLayout make_font_layout(const TtfFont& font)
{
    FontLayout L;
    L.image_w = 512;
    L.image_h = 512;
    const float scale = font.scale_for_height(kGlyphPixels);
    int ascent = 0, descent = 0, gap = 0;
    font.vmetrics(ascent, descent, gap);
    L.baseline = kPad + int(std::ceil(float(ascent) * scale));
    L.line_h = L.baseline + int(std::ceil(float(-descent) * scale)) + kPad;

    // The blank: the font manager advances by two and a half times its width, so its cell is
    // that fraction of the font's own space. It sits in the top-left corner, whose 80 x 20
    // pixels are also what undefined high characters show: transparent, like the blank.
    int space_adv = 0, lsb = 0;
    font.hmetrics(' ', space_adv, lsb);
    int space_w = std::max(2, int(std::lround(float(space_adv) * scale / 2.5f - 0.25f)));
    L.glyphs.push_back({' ', kGutter, kGutter, space_w, L.line_h});

    int x = 84, y = kGutter;
    for (int c = 33; c < 127; ++c) {
        if (c == '#' || c == '=') continue; // a description file cannot define them
        int adv = 0;
        font.hmetrics(c, adv, lsb);
        int w = 0, h = 0, x0 = 0, y0 = 0;
        font.glyph(c, scale, w, h, x0, y0);
        // The cell spans the advance, widened where the ink and its outline reach beyond it.
        int left = std::min(0, x0 - kPad), right = std::max(int(std::lround(float(adv) * scale)), x0 + w + kPad);
        int cell_w = right - left;
        if (x + cell_w + kGutter > L.image_w) {
            x = kGutter;
            y += L.line_h + kGutter;
        }
        L.glyphs.push_back({char(c), x, y, cell_w, L.line_h});
        x += cell_w + kGutter;
    }
    return L;
}

Image render_font(const TtfFont& font, const FontLayout& L)
{
    Image img(L.image_w, L.image_h, 4); // all transparent
    const float scale = font.scale_for_height(kGlyphPixels);
    const int R = int(std::ceil(kOutline));
    for (const Glyph& g : L.glyphs) {
        if (g.c == ' ') continue;
        int w = 0, h = 0, x0 = 0, y0 = 0;
        std::vector<uint8_t> bits = font.glyph(g.c, scale, w, h, x0, y0);
        // Ink origin inside the cell: the pen starts at the cell's left edge, moved right when
        // the ink and its outline reach left of the pen.
        const int ox = std::max(0, kPad - x0) + x0, oy = L.baseline + y0;
        auto cover = [&](int px, int py) -> float {
            int bx = px - ox, by = py - oy;
            if (bx < 0 || by < 0 || bx >= w || by >= h) return 0.0f;
            return bits[size_t(by) * w + bx] / 255.0f;
        };
        for (int py = 0; py < g.h; ++py) {
            for (int px = 0; px < g.w; ++px) {
                float fill = cover(px, py);
                // Soft outline: the glyph grown by the outline radius.
                float ring = 0.0f;
                for (int dy = -R; dy <= R; ++dy)
                    for (int dx = -R; dx <= R; ++dx) {
                        float d = std::sqrt(float(dx * dx + dy * dy));
                        float k = clamp01(kOutline + 0.5f - d);
                        if (k > 0.0f) ring = std::max(ring, cover(px + dx, py + dy) * k);
                    }
                float a = fill + ring * 0.9f * (1.0f - fill);
                if (a <= 0.0f) continue;
                float white = fill / a; // white glyph over a near-black outline
                uint8_t* p = img.at(g.x + px, g.y + py);
                uint8_t v = to_byte(0.08f + 0.92f * white);
                p[0] = p[1] = p[2] = v;
                p[3] = to_byte(a);
            }
        }
    }
    return img;
}

std::string font_description(const FontLayout& L)
{
    std::string s = "# Glyph rectangles of the HUD font: <character>=x y w h in pixels of the font image,\n"
                    "# from its top-left corner. Written by the data generator (mediagen --text) from the\n"
                    "# same layout as the image; '#' and '=' cannot be keys of this file format.\n";
    s += "font_tex=";
    s += kFontImageGamePath;
    s += "\n";
    char line[96];
    for (const Glyph& g : L.glyphs) {
        std::snprintf(line, sizeof line, "%c=%.1f %d %.2f %d\n", g.c, g.x + 1.5, g.y, g.w - 0.25, g.h);
        s += line;
    }
    return s;
}

Image make_font_test(const FontLayout& L, const Image& atlas)
{
    const int W = 512, H = 256;
    Image img(W, H, 3);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) put_rgb(img, x, y, mix(hex(0x1C2A36), hex(0x3A4E3A), float(y) / H));

    auto find = [&](char c) -> const Glyph* {
        for (const Glyph& g : L.glyphs)
            if (g.c == c) return &g;
        return nullptr;
    };
    // Draws like the font manager: cell after cell, blanks advancing 2.5 times their width.
    auto draw = [&](const char* text, float px, float top, float scale, Rgb colour) {
        for (const char* t = text; *t; ++t) {
            const Glyph* g = find(*t);
            if (!g) {
                px += 100.0f * scale;
                continue;
            }
            int dw = int(std::ceil(g->w * scale)), dh = int(std::ceil(g->h * scale));
            for (int y = 0; y < dh; ++y)
                for (int x = 0; x < dw; ++x) {
                    int tx = int(px) + x, ty = int(top) + y;
                    if (tx < 0 || ty < 0 || tx >= W || ty >= H) continue;
                    // Box-filtered sample of the atlas.
                    float sx = g->x + (x + 0.5f) / scale, sy = g->y + (y + 0.5f) / scale;
                    int ix = std::min(std::max(int(sx), 0), atlas.w - 1), iy = std::min(std::max(int(sy), 0), atlas.h - 1);
                    const uint8_t* a = atlas.at(ix, iy);
                    float alpha = a[3] / 255.0f;
                    if (alpha <= 0.175f) continue; // the font manager's alpha test
                    Rgb c = Rgb(a[0] / 255.0f, a[1] / 255.0f, a[2] / 255.0f) * colour;
                    put_rgb(img, tx, ty, mix(get_rgb(img, tx, ty), c, alpha));
                }
            px += g->w * scale;
            if (*t == ' ') px += 1.5f * g->w * scale;
        }
    };
    draw("Moorhold", 16, 8, 1.5f, {1.0f, 0.85f, 0.45f});
    draw("you: 120", 16, 86, 0.75f, {0.8f, 0.6f, 0.0f});
    draw("Dr. Evil 4: 60", 220, 86, 0.75f, {0.8f, 0.0f, 0.0f});
    draw("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 16, 128, 0.5f, {1, 1, 1});
    draw("abcdefghijklmnopqrstuvwxyz", 16, 156, 0.5f, {1, 1, 1});
    draw("0123456789 .,:;!?'\"()[]{}<>+-*/%&@$_~^|\\`", 16, 184, 0.5f, {0.7f, 0.9f, 1.0f});
    draw("fps: 59.9   filtering: trilinear", 16, 218, 0.5f, {0.2f, 0.9f, 0.3f});
    return img;
}

bool generate_font(Output& out)
{
    TtfFont font;
    if (!load_font(font, kHudFontFile)) {
        out.fail("the HUD font image needs " + std::string(kHudFontFile));
        return false;
    }
    FontLayout layout = make_font_layout(font);
    Image atlas = render_font(font, layout);
    bool ok = write_png(out, kFontImage, atlas);
    ok = write_png(out, "media/font_test.png", make_font_test(layout, atlas)) && ok;
    return ok;
}

bool generate_font_description(Output& out)
{
    TtfFont font;
    if (!load_font(font, kHudFontFile)) {
        out.fail("the font description needs " + std::string(kHudFontFile));
        return false;
    }
    return out.write("media/font/out.fnt", font_description(make_font_layout(font)));
}
