#include "Common/OverlayBatch.h"

#include "Common/FontManager.h"
#include "Common/OverlayAtlas.h"

#include <algorithm>
#include <cmath>

namespace {

const float kPi = 3.14159265358979f;
const int kRimSegments = 48;

struct Rgba {
    float r, g, b, a;
};

Rgba rgba(const float rgb[3], float a) { return {rgb[0], rgb[1], rgb[2], a}; }

void vertex(std::vector<OverlayVertex>& out, float x, float y, float s, float t, const Rgba& c)
{
    out.push_back({x, y, s, t, c.r, c.g, c.b, c.a});
}

// A shape of the atlas centred on (x, y), `size` pixels across, turned by `angle` (radians,
// counter-clockwise on the screen).
void atlas_quad(std::vector<OverlayVertex>& out, AtlasShape shape, float x, float y, float size, float angle,
                const Rgba& c)
{
    const AtlasCell cell = atlas_cell(shape);
    const float h = 0.5f * size, ca = std::cos(angle) * h, sa = std::sin(angle) * h;
    // Corners (-1, -1), (1, -1), (1, 1), (-1, 1) of the cell, turned, counter-clockwise.
    const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const float s[4] = {cell.s0, cell.s1, cell.s1, cell.s0}, t[4] = {cell.t0, cell.t0, cell.t1, cell.t1};
    for (int k = 0; k < 4; ++k) {
        const float u = corner[k][0], v = corner[k][1];
        vertex(out, x + u * ca - v * sa, y + u * sa + v * ca, s[k], t[k], c);
    }
}

// The radar's rim: a dark band just outside its disc, in solid quads.
void rim(std::vector<OverlayVertex>& out, const RadarLayout& r)
{
    const AtlasCell solid = atlas_cell(ATLAS_SOLID);
    const float width = radar_rim_width(r.radius);
    const Rgba dark{0.08f, 0.09f, 0.1f, 0.85f};
    for (int k = 0; k < kRimSegments; ++k) {
        const float a0 = 2 * kPi * k / kRimSegments, a1 = 2 * kPi * (k + 1) / kRimSegments;
        const float r0 = r.radius - 0.5f, r1 = r.radius + width;
        vertex(out, r.cx + r0 * std::cos(a0), r.cy + r0 * std::sin(a0), solid.s0, solid.t0, dark);
        vertex(out, r.cx + r1 * std::cos(a0), r.cy + r1 * std::sin(a0), solid.s0, solid.t0, dark);
        vertex(out, r.cx + r1 * std::cos(a1), r.cy + r1 * std::sin(a1), solid.s0, solid.t0, dark);
        vertex(out, r.cx + r0 * std::cos(a1), r.cy + r0 * std::sin(a1), solid.s0, solid.t0, dark);
    }
}

AtlasShape radar_shape(RadarMarkKind kind)
{
    switch (kind) {
    case RADAR_CRYSTAL: return ATLAS_DIAMOND;
    case RADAR_OPPONENT: return ATLAS_DISC;
    case RADAR_SHIP: return ATLAS_SQUARE;
    case RADAR_PLAYER: return ATLAS_ARROW;
    }
    return ATLAS_DISC;
}

void radar(OverlayBatch& out, const RadarLayout& r)
{
    if (!r.shown) return;
    // The land a little see-through, so the scene behind still shows at its rim.
    const Rgba land{1, 1, 1, 0.88f};
    for (const RadarVertex& v : r.land) vertex(out.land, v.x, v.y, v.s, v.t, land);
    rim(out.marks, r);
    for (const RadarMark& m : r.marks) {
        // The player's arrow points up, along its nose; marks beyond the range fade a little.
        const float angle = m.kind == RADAR_PLAYER ? 0.5f * kPi : 0.0f;
        atlas_quad(out.marks, radar_shape(m.kind), m.x, m.y, m.size, angle, rgba(m.colour, m.on_rim ? 0.85f : 1.0f));
    }
}

// The label's quads at its anchor: shifted by its width as its alignment asks, a dark copy one
// pixel down and right first, so that it reads over any ground.
void label(OverlayBatch& out, const OverlayLabel& l, const OverlayFont& font, std::vector<GlyphQuad>& quads)
{
    const float scale = font.glyph_h > 0 ? l.height / font.glyph_h : 1.0f;
    layout_text(font.glyphs, l.text, l.x, l.y, scale, scale, 1.0f / font.texture_w, 1.0f / font.texture_h, quads);
    if (quads.empty()) return;
    const float width = quads.back().x1 - quads.front().x0;
    const float shift = l.align < 0 ? 0.0f : l.align == 0 ? -0.5f * width : -width;
    const float offset = std::max(1.0f, std::round(l.height / 12.0f));
    const Rgba shadow{0, 0, 0, 0.8f}, colour = rgba(l.colour, 1.0f);
    for (int pass = 0; pass < 2; ++pass) {
        const float dx = shift + (pass == 0 ? offset : 0), dy = pass == 0 ? -offset : 0;
        const Rgba& c = pass == 0 ? shadow : colour;
        for (const GlyphQuad& q : quads) {
            vertex(out.text, q.x0 + dx, q.y0 + dy, q.s0, q.t_bottom, c);
            vertex(out.text, q.x1 + dx, q.y0 + dy, q.s1, q.t_bottom, c);
            vertex(out.text, q.x1 + dx, q.y1 + dy, q.s1, q.t_top, c);
            vertex(out.text, q.x0 + dx, q.y1 + dy, q.s0, q.t_top, c);
        }
    }
}

} // namespace

void build_overlay_batch(const RaceOverlay& overlay, const OverlayFont& font, OverlayBatch& out)
{
    out.land.clear();
    out.marks.clear();
    out.text.clear();
    radar(out, overlay.radar);
    for (const CrystalMarker& m : overlay.markers) atlas_quad(out.marks, ATLAS_RING, m.x, m.y, m.size, 0, rgba(m.colour, 1));
    const EdgeArrow& a = overlay.arrow;
    if (a.shown) atlas_quad(out.marks, ATLAS_ARROW, a.x, a.y, a.size, a.angle, rgba(a.colour, 1));
    if (!font.glyphs || font.texture_w <= 0 || font.texture_h <= 0) return;
    static std::vector<GlyphQuad> quads; // the one label being laid out, kept to allocate nothing
    for (const OverlayLabel& l : overlay.labels) label(out, l, font, quads);
}
