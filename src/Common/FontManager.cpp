#include "Common/FontManager.h"

#include "Common/ParameterFile.h"
#include "Gfx/Texture.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

fontManager* font_manager = nullptr;

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
    layout_text(glyphs, text, position[0], position[1], scale[0], scale[1], su, sv, quads);
    for (const GlyphQuad& q : quads) {
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
