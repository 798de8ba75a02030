// What the screen shows of the race over the 3-D view: a marker on every crystal in view, an
// arrow at the window's edge toward the nearest crystal when none is in view, and the radar
// in the top-right corner. This is the layout alone, in window pixels (origin at the
// bottom-left corner, y up, as the HUD's 2-D projection): it reads a race snapshot, the eye
// and the window size, and calls no GL, so tests and the human-like autopilot use exactly
// what the drawing uses.
//
// The lists of a RaceOverlay keep their storage: laying it out again every frame allocates
// nothing once they have grown.
#pragma once

#include "Ai/RaceView.h"

#include <vector>

class Camera;

// The window and what the overlay may show.
struct OverlaySettings {
    int width = 0, height = 0; // window pixels
    bool radar_on = true;      // the radar (key X)
    // The height map's extent in graphics x and z: its lowest corner and its size. The radar's
    // land image covers exactly this square.
    float map_origin[2] = {0, 0};
    float map_size[2] = {8192, 8192};
    // Graphics units from the player to the radar's rim; 0 takes 0.15 of the map's larger side.
    float radar_range = 0;
    // The HUD's score column in the bottom-left corner (width, height in pixels), which the
    // arrow keeps clear of.
    float scores_box[2] = {0, 0};
};

// A crystal in view (and not under the radar).
struct CrystalMarker {
    float x = 0, y = 0;    // window pixels: where the crystal's centre shows
    float size = 0;        // pixels across
    float distance_m = 0;  // from the player's hover (from the eye when there is none), metres
    int points = 0;        // what it scores now
    float colour[3] = {0, 0, 0};
    int crystal = 0;       // index into RaceView::crystals
};

// The arrow toward the nearest crystal, shown while no crystal is in view (or only under the
// radar); it keeps clear of the radar and of the scores, sliding past them along the window's
// edge.
struct EdgeArrow {
    bool shown = false;
    float x = 0, y = 0;    // the arrow's centre, window pixels
    float angle = 0;       // radians, the way it points on the screen: 0 right, pi/2 up
    float size = 0;        // pixels from its tail to its tip
    bool behind = false;   // the crystal lies behind the eye
    float distance_m = 0;  // from the player's hover, metres
    int points = 0;
    float colour[3] = {0, 0, 0};
    int crystal = -1;      // index into RaceView::crystals
};

enum RadarMarkKind { RADAR_CRYSTAL, RADAR_OPPONENT, RADAR_SHIP, RADAR_PLAYER };

struct RadarMark {
    RadarMarkKind kind = RADAR_CRYSTAL;
    int index = 0;         // crystal or opponent index; 0 for the ship and the player
    float x = 0, y = 0;    // window pixels
    float size = 0;        // pixels across
    bool on_rim = false;   // beyond the radar's range: on its rim, in its direction
    int points = 0;        // a crystal's worth
    float colour[3] = {0, 0, 0};
};

// One vertex of the radar's land disc: window pixels, and where it reads the land image
// (0 to 1 over the height map's square, s along x and t along z).
struct RadarVertex {
    float x = 0, y = 0;
    float s = 0, t = 0;
};

struct RadarLayout {
    bool shown = false;
    float cx = 0, cy = 0;  // its centre, window pixels
    float radius = 0;      // pixels
    float range = 0;       // graphics units from the player to the rim
    // The ground axes that show as the radar's right and up: the player's right and its nose
    // (the radar turns with the player), as (x, z) unit vectors.
    float right[2] = {1, 0}, forward[2] = {0, -1};
    std::vector<RadarMark> marks;   // crystals, opponents, the ship, the player last (on top)
    std::vector<RadarVertex> land;  // a triangle fan: the centre, then the rim all round, closed
};

// A short text of the overlay (a marker's worth, the arrow's distance), drawn with the HUD font.
struct OverlayLabel {
    char text[16] = {0};
    float x = 0, y = 0;    // window pixels of its anchor; the text's baseline is at y
    int align = 0;         // -1: the text starts at x; 0: centred on x; 1: it ends at x
    float height = 0;      // pixels: the font's glyph height at the label's scale
    float colour[3] = {1, 1, 1};
};

struct RaceOverlay {
    std::vector<CrystalMarker> markers;
    EdgeArrow arrow;
    RadarLayout radar;
    std::vector<OverlayLabel> labels; // the markers' worth, then the arrow's distance
};

// The whole overlay of one frame, from the race, the eye it is seen through and the window.
void layout_race_overlay(const RaceView& view, const Camera& eye, const OverlaySettings& settings,
                         RaceOverlay& out);

// ---- the pieces, for the tests and for whoever needs one alone ----

// A world point as the eye's perspective view puts it in a window of w x h (the eye's field of
// view, the window's aspect): in_front false when it lies behind the eye's near plane. eye_x
// and eye_y are the point's offsets along the eye's side and up axes (graphics units), the
// direction in which it lies off the view even when it is behind.
struct ScreenPoint {
    bool in_front = false;
    float x = 0, y = 0;   // window pixels (meaningful when in_front)
    float depth = 0;      // distance in front of the eye along its view
    float eye_x = 0, eye_y = 0;
};
ScreenPoint project_to_window(const Camera& eye, int width, int height, const float p[3]);

// Whether a projected point is one the player sees: in front and inside the window.
bool in_view(const ScreenPoint& p, int width, int height);

// The edge arrow toward `p` in a w x h window for an arrow of `size` pixels: its centre inset
// from the edge on the line from the window's centre toward the point, pointing that way. A
// point behind the eye points by its side offset, and down (behind you) when it lies straight
// behind or below; a point behind and above is taken as level.
void place_edge_arrow(const ScreenPoint& p, int width, int height, float size, EdgeArrow& arrow);

// The colour of a crystal's worth, from cyan (10) through yellow (30) to magenta (60 and more).
void crystal_colour(int points, float rgb[3]);

// A point (x, z) of the ground as the radar shows it: offset from the player, turned so that the
// nose points up, scaled from `range` graphics units to `radius` pixels. Beyond the range it is
// put on the rim (inset by `inset` pixels) and on_rim is set.
void radar_position(const RadarLayout& radar, const float player[3], float x, float z, float inset,
                    float& out_x, float& out_y, bool& on_rim);

// How far from the window's edge an arrow of `size` pixels stands (its centre).
float edge_arrow_inset(float size);

// The width in pixels of the dark rim around a radar of `radius` pixels.
float radar_rim_width(float radius);

// The pixel size of the overlay's marks in a window: 1 at 600 pixels high (or wide, the smaller),
// within 0.5 and 1.6.
float overlay_ui_scale(int width, int height);
