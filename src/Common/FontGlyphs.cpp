// The font's glyph table and text layout: no GL here, so the description file's reader can
// be exercised without a window.
#include "Common/FontManager.h"

#include "Common/ParameterFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

void print_slot(int i, const Glyph& g)
{
    std::fprintf(stderr, "texcoords[%d] = ( %g | %g | %g | %g )\n", i, g.x, g.y, g.w, g.h);
}

} // namespace

GlyphTable build_glyph_table(const ParameterFile& description, int first_char)
{
    GlyphTable table;
    for (Glyph& g : table.glyphs) g = Glyph{0, 0, 80, 20};
    for (int i = 0; i < 128; ++i) {
        const int c = first_char + i;
        Glyph& g = table.glyphs[i];
        char s[2] = {static_cast<char>(c), '\0'};
        try {
            if (c >= 0 && c < 256 && std::isprint(c)) {
                std::printf("str=%s, i=%c\n", s, c);
                float v[4] = {g.x, g.y, g.w, g.h};
                description.get4f(s, v);
                // Pixels of the font's image: anything beyond the largest image is no glyph.
                for (float n : v)
                    if (!(std::fabs(n) <= 16384.0f)) throw BadValueException();
                g = Glyph{v[0] - 1.5f, v[1], v[2] + 0.25f, v[3]};
                table.max_char_w = std::max(table.max_char_w, g.w);
                table.max_char_h = std::max(table.max_char_h, g.h);
            } else {
                g = Glyph{0, 0, 80, 0};
            }
        } catch (const BadValueException&) {
            std::fprintf(stderr, "aj karamba, bad value found\n");
            g = Glyph{0, 0, 100, 0};
        }
        print_slot(i, g);
    }
    return table;
}

int count_line_feeds(const char* text, size_t length)
{
    return static_cast<int>(std::count(text, text + length, '\n'));
}

float glyph_advance(const Glyph& g, unsigned char c, float scale_x)
{
    const float w = g.w * scale_x;
    return c == ' ' ? w + 1.5f * w : w;
}

float text_width(const Glyph* glyphs, const char* text, float scale_x)
{
    float width = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        width += glyph_advance(glyphs[*p], *p, scale_x);
    return width;
}

void layout_text(const Glyph* glyphs, const char* text, float x, float y, float scale_x, float scale_y,
                 float su, float sv, std::vector<GlyphQuad>& quads)
{
    quads.clear();
    float advance = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const Glyph& g = glyphs[*p];
        GlyphQuad q;
        q.x0 = x + advance;
        q.x1 = x + advance + g.w * scale_x;
        q.y0 = y;
        q.y1 = y + g.h * scale_y;
        q.s0 = g.x * su;
        q.s1 = (g.x + g.w) * su;
        q.t_top = g.y * sv;
        q.t_bottom = (g.y + g.h) * sv;
        quads.push_back(q);
        advance += glyph_advance(g, *p, scale_x);
    }
}

