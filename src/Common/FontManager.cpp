#include "Common/FontManager.h"

#include "Common/ParameterFile.h"
#include "Gfx/Texture.h"

#include <GL/glew.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

fontManager* font_manager = nullptr;

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

std::vector<GlyphQuad> layout_text(const Glyph* glyphs, const char* text, float x, float y,
                                   float scale_x, float scale_y, float su, float sv)
{
    std::vector<GlyphQuad> quads;
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
        advance += g.w * scale_x;
        if (*p == ' ') advance += 1.5f * g.w * scale_x;
    }
    return quads;
}

fontManager::fontManager(const char* path)
{
    std::fprintf(stderr, "fontManager constructor\n");
    std::unique_ptr<ParameterFile> description(new ParameterFile(path));
    parameters = description.get();
    transparent = true;
    max_char_w = max_char_h = 0;

    try {
        const std::string font_tex = parameters->getString("font_tex");
        std::printf("\n\tloading %s as font texture\n\n", font_tex.c_str());
        texture = new Texture(font_tex.c_str());
    } catch (...) {
        parameters = nullptr;
        throw;
    }

    first_char = 0;
    _char_cnt = count_line_feeds(parameters->file->text, parameters->file->length);
    std::printf("_char_cnt= %d\n", _char_cnt);

    GlyphTable table = build_glyph_table(*parameters, first_char);
    glyphs = new Glyph[256];
    std::copy(table.glyphs, table.glyphs + 256, glyphs);
    max_char_w = table.max_char_w;
    max_char_h = table.max_char_h;

    std::fprintf(stderr, "max char dims: ( %g | %g )\n", max_char_w, max_char_h);
    parameters = nullptr; // released with `description`
    std::fprintf(stderr, "fontManager constructor end\n");
}

fontManager::~fontManager()
{
    delete[] glyphs;
    glyphs = nullptr;
    // The font owns its texture: release the GL name with the object.
    if (texture) {
        texture->delete_texture();
        delete texture;
        texture = nullptr;
    }
    std::fprintf(stderr, "fontManager destructor end\n");
}

void fontManager::set_transparent(bool flag) { transparent = flag; }

void fontManager::draw_text(const char* text, const float position[2], const float colour[3],
                            const float scale[2])
{
    // Without a font image there is nothing to cut glyphs from (and no size to divide by).
    if (!texture || texture->id == 0 || texture->_texW <= 0 || texture->_texH <= 0) return;
    const float su = 1.0f / static_cast<float>(texture->_texW);
    const float sv = 1.0f / static_cast<float>(texture->_texH);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    texture->bind_to_unit(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (transparent) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.175f);
    }
    glEnable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    glColor3f(colour[0], colour[1], colour[2]);
    for (const GlyphQuad& q :
         layout_text(glyphs, text, position[0], position[1], scale[0], scale[1], su, sv)) {
        // Counter-clockwise on screen, so the quads face the viewer.
        glTexCoord2f(q.s0, q.t_bottom);
        glVertex2f(q.x0, q.y0);
        glTexCoord2f(q.s1, q.t_bottom);
        glVertex2f(q.x1, q.y0);
        glTexCoord2f(q.s1, q.t_top);
        glVertex2f(q.x1, q.y1);
        glTexCoord2f(q.s0, q.t_top);
        glVertex2f(q.x0, q.y1);
    }
    glEnd();
    glEnable(GL_CULL_FACE);
    texture->unbind();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}
