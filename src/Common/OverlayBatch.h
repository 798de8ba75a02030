// The race overlay turned into vertex lists, one list per kind of drawing: the radar's land
// disc (read from the land image), every mark cut from the overlay atlas (the radar's rim and
// marks, the crystal markers, the edge arrow), and every label in the HUD font. Each list is
// drawn with one call and one texture, so a frame full of crystals changes no state per mark.
// No GL here: the vertices are computed for the drawing and for the tests alike.
#pragma once

#include "Common/RaceOverlay.h"

#include <vector>

struct Glyph;

// One vertex: window pixels, texture coordinates, colour with alpha.
struct OverlayVertex {
    float x, y;
    float s, t;
    float r, g, b, a;
};

struct OverlayBatch {
    std::vector<OverlayVertex> land;  // a triangle fan (empty without the radar)
    std::vector<OverlayVertex> marks; // quads, in drawing order: rim, radar marks, markers, arrow
    std::vector<OverlayVertex> text;  // quads: each label's shadow, then the label
};

// The font the labels are cut from: its glyph table (256 slots) and its image's size.
struct OverlayFont {
    const Glyph* glyphs = nullptr;
    float texture_w = 0, texture_h = 0;
    float glyph_h = 0; // the font's tallest glyph, pixels at scale 1
};

// Fills `out` from the layout (its lists keep their storage). Labels need `font`; without
// glyphs they are left out.
void build_overlay_batch(const RaceOverlay& overlay, const OverlayFont& font, OverlayBatch& out);
