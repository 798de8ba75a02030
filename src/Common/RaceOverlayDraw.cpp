#include "Common/RaceOverlayDraw.h"

#include "Common/FontManager.h"
#include "Common/SDLGL.h"
#include "Gfx/Texture.h"

#include <cstddef>
#include <cstdio>

namespace {

// One list as one call: the vertex, texture-coordinate and colour arrays of the interleaved
// vertices, with `texture` bound on unit 0.
void draw_list(const std::vector<OverlayVertex>& list, GLenum mode, GLuint texture, OverlayDrawCount& count)
{
    if (list.empty() || texture == 0) return;
    const GLsizei stride = sizeof(OverlayVertex);
    const OverlayVertex* v = list.data();
    glBindTexture(GL_TEXTURE_2D, texture);
    glVertexPointer(2, GL_FLOAT, stride, &v->x);
    glTexCoordPointer(2, GL_FLOAT, stride, &v->s);
    glColorPointer(4, GL_FLOAT, stride, &v->r);
    glDrawArrays(mode, 0, GLsizei(list.size()));
    ++count.draws;
    count.vertices += int(list.size());
}

GLuint texture_id(const Texture* t) { return t ? t->id : 0; }

} // namespace

RaceOverlayFrame& race_overlay_frame()
{
    static RaceOverlayFrame frame;
    return frame;
}

void reserve_race_overlay(size_t crystals)
{
    RaceOverlayFrame& f = race_overlay_frame();
    const size_t marks = crystals + 16; // the crystals, the opponents, the ship, the player
    f.layout.markers.reserve(crystals);
    f.layout.labels.reserve(crystals + 1);
    f.layout.radar.marks.reserve(marks);
    f.layout.radar.land.reserve(64);
    f.batch.land.reserve(64);
    f.batch.marks.reserve(4 * (marks + crystals + 64));
    f.batch.text.reserve(8 * 4 * (crystals + 1)); // a few glyphs each, shadow and label
}

OverlayDrawCount draw_overlay_batch(const OverlayBatch& batch, GLuint land_texture, GLuint atlas_texture,
                                    GLuint font_texture)
{
    OverlayDrawCount count;
    // The HUD's state: flat, unlit, blended text-like quads over the finished image.
    glUseProgram(0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);

    draw_list(batch.land, GL_TRIANGLE_FAN, land_texture, count);
    draw_list(batch.marks, GL_QUADS, atlas_texture, count);
    draw_list(batch.text, GL_QUADS, font_texture, count);

    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    return count;
}

const RaceOverlayFrame& draw_race_overlay(SDLGL& gl, fontManager& font, const RaceView& view, const Camera& eye,
                                          const OverlaySettings& settings)
{
    RaceOverlayFrame& f = race_overlay_frame();
    layout_race_overlay(view, eye, settings, f.layout);
    OverlayFont of;
    if (font.texture && font.texture->_texW > 0 && font.texture->_texH > 0) {
        of.glyphs = font.glyphs;
        of.texture_w = float(font.texture->_texW);
        of.texture_h = float(font.texture->_texH);
        of.glyph_h = font.max_char_h;
    }
    build_overlay_batch(f.layout, of, f.batch);
    f.count = draw_overlay_batch(f.batch, texture_id(gl.textures.radar_land_tex),
                                 texture_id(gl.textures.overlay_atlas_tex), texture_id(font.texture));
    return f;
}

void print_race_overlay(const RaceOverlayFrame& f, int width, int height)
{
    const RaceOverlay& o = f.layout;
    std::printf("overlay: window %d %d\n", width, height);
    for (const CrystalMarker& m : o.markers)
        std::printf("overlay: marker %.1f %.1f size %.1f points %d distance %.1f m\n", m.x, m.y, m.size, m.points,
                    m.distance_m);
    if (o.arrow.shown)
        std::printf("overlay: arrow %.1f %.1f angle %.1f size %.1f distance %.1f m%s\n", o.arrow.x, o.arrow.y,
                    o.arrow.angle * 57.2957795f, o.arrow.size, o.arrow.distance_m, o.arrow.behind ? " behind" : "");
    if (o.radar.shown) {
        std::printf("overlay: radar at %.1f %.1f radius %.1f\n", o.radar.cx, o.radar.cy, o.radar.radius);
        static const char* const kinds[] = {"crystal", "opponent", "ship", "player"};
        for (const RadarMark& m : o.radar.marks)
            std::printf("overlay: radar-mark %s %d %.1f %.1f size %.1f%s\n", kinds[m.kind], m.index, m.x, m.y, m.size,
                        m.on_rim ? " rim" : "");
    }
    std::printf("overlay: %d draws, %d vertices\n", f.count.draws, f.count.vertices);
}
