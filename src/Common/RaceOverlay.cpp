#include "Common/RaceOverlay.h"

#include "Common/Camera.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const float kPi = 3.14159265358979f;
const int kRadarRimVertices = 48;

float clampf(float v, float lo, float hi) { return std::max(lo, std::min(hi, v)); }

float distance3(const float a[3], const float b[3])
{
    const float dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Where distances are measured from: the player's hover, or the eye in a race without one.
void race_origin(const RaceView& view, const Camera& eye, float out[3])
{
    if (view.has_player) {
        for (int k = 0; k < 3; ++k) out[k] = view.player[k];
        return;
    }
    out[0] = float(eye.pos.x), out[1] = float(eye.pos.y), out[2] = float(eye.pos.z);
}

OverlayLabel& add_label(std::vector<OverlayLabel>& labels, float x, float y, int align, float height,
                        const float colour[3])
{
    labels.emplace_back();
    OverlayLabel& l = labels.back();
    l.x = x, l.y = y, l.align = align, l.height = height;
    for (int k = 0; k < 3; ++k) l.colour[k] = colour[k];
    return l;
}

// Whether a point of the window lies under the radar's disc (with its rim): the radar covers
// what shows there.
bool behind_radar(const RadarLayout& r, float x, float y)
{
    if (!r.shown) return false;
    const float dx = x - r.cx, dy = y - r.cy, reach = r.radius + radar_rim_width(r.radius);
    return dx * dx + dy * dy <= reach * reach;
}

// A box in a corner of the window (x0, y0 to x1, y1): an arrow that would stand on it slides
// past it along the edge it stands on.
void keep_arrow_off(float x0, float y0, float x1, float y1, int width, float inset, EdgeArrow& a)
{
    if (x1 <= x0 || y1 <= y0) return;
    if (a.x < x0 - inset || a.x > x1 + inset || a.y < y0 - inset || a.y > y1 + inset) return;
    const bool on_side = a.x <= inset + 0.5f || a.x >= float(width) - inset - 0.5f;
    if (on_side)
        a.y = y0 <= 0.5f ? y1 + inset : y0 - inset; // above a box at the bottom, under one at the top
    else
        a.x = x0 <= 0.5f ? x1 + inset : x0 - inset; // right of a box at the left, left of one at the right
}

void layout_markers(const RaceView& view, const Camera& eye, const OverlaySettings& s, float ui, RaceOverlay& out)
{
    float origin[3];
    race_origin(view, eye, origin);
    const float tan_half = std::tan(eye.fov * kPi / 360.0f);
    const float min_size = std::max(12.0f, 18.0f * ui);
    const float max_size = std::max(min_size, 0.15f * float(s.height));
    const float label_height = std::max(11.0f, 15.0f * ui);
    for (size_t i = 0; i < view.crystals.size(); ++i) {
        const RaceCrystal& c = view.crystals[i];
        ScreenPoint p = project_to_window(eye, s.width, s.height, c.pos);
        if (!in_view(p, s.width, s.height) || behind_radar(out.radar, p.x, p.y)) continue;
        CrystalMarker m;
        m.x = p.x, m.y = p.y;
        // A ring a little wider than the crystal's own box where it shows large, never under the
        // smallest size that a glance finds; a crystal chased by more opponents is worth more and
        // shows larger (up to 1.4 times at 60 points).
        const float crystal_pixels = view.units_per_metre / std::max(p.depth * tan_half, 1e-3f) * 0.5f * float(s.height);
        const float worth = 1.0f + 0.08f * float(std::max(0, std::min(c.multiplier, 6) - 1));
        m.size = clampf(1.8f * crystal_pixels, min_size, max_size) * worth;
        m.distance_m = distance3(origin, c.pos) / view.units_per_metre;
        m.points = c.points;
        crystal_colour(c.points, m.colour);
        m.crystal = int(i);
        out.markers.push_back(m);
        OverlayLabel& l = add_label(out.labels, m.x, m.y + 0.5f * m.size + 2.0f, 0, label_height, m.colour);
        std::snprintf(l.text, sizeof l.text, "%d", c.points);
    }
}

void layout_arrow(const RaceView& view, const Camera& eye, const OverlaySettings& s, float ui, RaceOverlay& out)
{
    EdgeArrow& a = out.arrow;
    a = EdgeArrow();
    if (!out.markers.empty() || view.crystals.empty()) return;
    float origin[3];
    race_origin(view, eye, origin);
    int nearest = 0;
    float best = distance3(origin, view.crystals[0].pos);
    for (size_t i = 1; i < view.crystals.size(); ++i) {
        float d = distance3(origin, view.crystals[i].pos);
        if (d < best) best = d, nearest = int(i);
    }
    const RaceCrystal& c = view.crystals[nearest];
    place_edge_arrow(project_to_window(eye, s.width, s.height, c.pos), s.width, s.height,
                     std::max(16.0f, 30.0f * ui), a);
    const float inset = edge_arrow_inset(a.size);
    const RadarLayout& r = out.radar;
    if (r.shown) {
        const float reach = r.radius + radar_rim_width(r.radius);
        keep_arrow_off(r.cx - reach, r.cy - reach, float(s.width), float(s.height), s.width, inset, a);
    }
    keep_arrow_off(0, 0, s.scores_box[0], s.scores_box[1], s.width, inset, a);
    // Scores as wide as a small window leave no edge free of them: the arrow then stands over
    // their end, but always whole inside the window.
    a.x = std::clamp(a.x, inset, std::max(inset, float(s.width) - inset));
    a.y = std::clamp(a.y, inset, std::max(inset, float(s.height) - inset));
    a.distance_m = best / view.units_per_metre;
    a.points = c.points;
    crystal_colour(c.points, a.colour);
    a.crystal = nearest;

    // The distance stands beside the arrow on the window's side of it: after an arrow at the
    // left edge, before one at the right edge, under or over one at the top or the bottom.
    const float label_height = std::max(11.0f, 16.0f * ui);
    const float dx = std::cos(a.angle), dy = std::sin(a.angle);
    float lx = a.x - dx * 0.75f * a.size, ly = a.y - dy * 0.75f * a.size - 0.5f * label_height;
    int align = 0;
    if (dx < -0.5f) align = -1;
    else if (dx > 0.5f) align = 1;
    else ly = dy > 0 ? a.y - 0.6f * a.size - label_height : a.y + 0.6f * a.size;
    OverlayLabel& l = add_label(out.labels, lx, ly, align, label_height, a.colour);
    std::snprintf(l.text, sizeof l.text, "%d m", int(std::lround(a.distance_m)));
}

void add_radar_mark(RadarLayout& r, const float player[3], RadarMarkKind kind, int index, const float pos[3],
                    float size, const float colour[3], int points)
{
    RadarMark m;
    m.kind = kind;
    m.index = index;
    m.size = size;
    m.points = points;
    for (int k = 0; k < 3; ++k) m.colour[k] = colour[k];
    radar_position(r, player, pos[0], pos[2], 0.5f * size, m.x, m.y, m.on_rim);
    r.marks.push_back(m);
}

void layout_radar(const RaceView& view, const Camera& eye, const OverlaySettings& s, float ui, RadarLayout& r)
{
    r.marks.clear();
    r.land.clear();
    r.shown = s.radar_on && s.width > 0 && s.height > 0;
    if (!r.shown) return;
    const float side = float(std::min(s.width, s.height));
    r.radius = clampf(0.16f * side, 40.0f, 130.0f);
    const float margin = std::max(6.0f, 10.0f * ui);
    r.cx = float(s.width) - margin - r.radius;
    r.cy = float(s.height) - margin - r.radius;
    // About 75 m on the game's map: the crystals a race is about and the opponents after them
    // spread over the disc; the ship and what is farther sit on the rim, in their direction.
    r.range = s.radar_range > 0 ? s.radar_range : 0.15f * std::max(s.map_size[0], s.map_size[1]);
    if (r.range <= 0) r.range = 1;

    float centre[3];
    race_origin(view, eye, centre);
    float fx = 0, fz = -1;
    if (view.has_player) {
        nose_of_heading(view.heading, fx, fz);
    } else {
        // Without a player the radar turns with the eye's view (along -dir).
        const float ex = float(-eye.dir.x), ez = float(-eye.dir.z), len = std::sqrt(ex * ex + ez * ez);
        if (len > 1e-6f) fx = ex / len, fz = ez / len;
    }
    r.forward[0] = fx, r.forward[1] = fz;
    r.right[0] = -fz, r.right[1] = fx;

    // The land disc: the centre, then the rim counter-clockwise, each vertex reading the land
    // image where that point of the ground lies.
    auto land_vertex = [&](float ox, float oy) {
        RadarVertex v;
        v.x = r.cx + ox * r.radius, v.y = r.cy + oy * r.radius;
        const float wx = centre[0] + (ox * r.right[0] + oy * r.forward[0]) * r.range;
        const float wz = centre[2] + (ox * r.right[1] + oy * r.forward[1]) * r.range;
        v.s = s.map_size[0] > 0 ? (wx - s.map_origin[0]) / s.map_size[0] : 0;
        v.t = s.map_size[1] > 0 ? (wz - s.map_origin[1]) / s.map_size[1] : 0;
        r.land.push_back(v);
    };
    land_vertex(0, 0);
    for (int k = 0; k <= kRadarRimVertices; ++k) {
        const float a = 2.0f * kPi * float(k % kRadarRimVertices) / float(kRadarRimVertices);
        land_vertex(std::cos(a), std::sin(a));
    }

    // Large enough to tell apart at a glance in the smallest window.
    const float crystal_size = std::max(8.0f, 0.13f * r.radius);
    for (size_t i = 0; i < view.crystals.size(); ++i) {
        float colour[3];
        crystal_colour(view.crystals[i].points, colour);
        add_radar_mark(r, centre, RADAR_CRYSTAL, int(i), view.crystals[i].pos, crystal_size, colour,
                       view.crystals[i].points);
    }
    const float opponent_colour[3] = {1.0f, 0.22f, 0.15f};
    for (size_t i = 0; i < view.opponents.size(); ++i)
        add_radar_mark(r, centre, RADAR_OPPONENT, int(i), view.opponents[i].pos, std::max(8.0f, 0.13f * r.radius),
                       opponent_colour, view.opponents[i].points);
    if (view.has_ship) {
        const float ship_colour[3] = {0.8f, 0.6f, 1.0f};
        add_radar_mark(r, centre, RADAR_SHIP, 0, view.ship, std::max(11.0f, 0.2f * r.radius), ship_colour, 0);
    }
    if (view.has_player) {
        const float player_colour[3] = {1.0f, 1.0f, 1.0f};
        add_radar_mark(r, centre, RADAR_PLAYER, 0, view.player, std::max(14.0f, 0.2f * r.radius), player_colour,
                       view.player_points);
    }
}

} // namespace

float edge_arrow_inset(float size) { return 0.6f * size + 4.0f; }

float radar_rim_width(float radius) { return std::max(2.0f, 0.05f * radius); }

float overlay_ui_scale(int width, int height)
{
    return clampf(float(std::min(width, height)) / 600.0f, 0.5f, 1.6f);
}

ScreenPoint project_to_window(const Camera& eye, int width, int height, const float p[3])
{
    ScreenPoint out;
    const Vec3d d(p[0] - eye.pos.x, p[1] - eye.pos.y, p[2] - eye.pos.z);
    auto unit = [](const Vec3d& v) {
        const double len = v.length();
        return len > 0 ? v / len : v;
    };
    // Eye space: x along the side axis, y along up, and the view looks along -dir.
    out.eye_x = float(d.dot(unit(eye.str)));
    out.eye_y = float(d.dot(unit(eye.up)));
    out.depth = float(-d.dot(unit(eye.dir)));
    out.in_front = out.depth > eye.near_plane && width > 0 && height > 0;
    if (!out.in_front) return out;
    const float tan_half = std::tan(eye.fov * kPi / 360.0f);
    const float aspect = float(width) / float(height);
    const float ndc_x = out.eye_x / (out.depth * tan_half * aspect);
    const float ndc_y = out.eye_y / (out.depth * tan_half);
    out.x = (ndc_x + 1.0f) * 0.5f * float(width);
    out.y = (ndc_y + 1.0f) * 0.5f * float(height);
    return out;
}

bool in_view(const ScreenPoint& p, int width, int height)
{
    return p.in_front && p.x >= 0 && p.x <= float(width) && p.y >= 0 && p.y <= float(height);
}

void place_edge_arrow(const ScreenPoint& p, int width, int height, float size, EdgeArrow& arrow)
{
    const float cx = 0.5f * float(width), cy = 0.5f * float(height);
    float dx, dy;
    arrow.behind = !p.in_front;
    if (p.in_front) {
        dx = p.x - cx, dy = p.y - cy;
    } else {
        // Behind the eye a projection would mirror the point; its side offset says which way to
        // turn. Seen from behind, "up" means nothing to a driver: level or down.
        dx = p.eye_x, dy = std::min(p.eye_y, 0.0f);
    }
    const float len = std::sqrt(dx * dx + dy * dy);
    if (len < 1e-6f) dx = 0, dy = -1;
    // The ray from the window's centre meets the border inset by the arrow's reach.
    const float inset = edge_arrow_inset(size);
    const float hx = std::max(1.0f, cx - inset), hy = std::max(1.0f, cy - inset);
    const float tx = std::fabs(dx) > 1e-9f ? hx / std::fabs(dx) : 1e30f;
    const float ty = std::fabs(dy) > 1e-9f ? hy / std::fabs(dy) : 1e30f;
    const float t = std::min(tx, ty);
    arrow.shown = true;
    arrow.x = cx + t * dx;
    arrow.y = cy + t * dy;
    arrow.angle = std::atan2(dy, dx);
    arrow.size = size;
}

void crystal_colour(int points, float rgb[3])
{
    // Cyan, yellow and magenta stand apart from the moor's greens and browns, the water's blues
    // and the opponents' red, and from each other.
    const float cyan[3] = {0.25f, 0.95f, 1.0f}, yellow[3] = {1.0f, 0.92f, 0.2f}, magenta[3] = {1.0f, 0.3f, 0.9f};
    const float t = clampf((float(points) - 10.0f) / 50.0f, 0.0f, 1.0f);
    const float* a = t < 0.4f ? cyan : yellow;
    const float* b = t < 0.4f ? yellow : magenta;
    const float u = t < 0.4f ? t / 0.4f : (t - 0.4f) / 0.6f;
    for (int k = 0; k < 3; ++k) rgb[k] = a[k] + (b[k] - a[k]) * u;
}

void radar_position(const RadarLayout& radar, const float player[3], float x, float z, float inset, float& out_x,
                    float& out_y, bool& on_rim)
{
    const float rx = x - player[0], rz = z - player[2];
    const float scale = radar.range > 0 ? radar.radius / radar.range : 0;
    float sx = (rx * radar.right[0] + rz * radar.right[1]) * scale;
    float sy = (rx * radar.forward[0] + rz * radar.forward[1]) * scale;
    const float reach = std::max(0.0f, radar.radius - inset);
    const float len = std::sqrt(sx * sx + sy * sy);
    on_rim = len > reach;
    if (on_rim) {
        sx *= reach / len;
        sy *= reach / len;
    }
    out_x = radar.cx + sx;
    out_y = radar.cy + sy;
}

void layout_race_overlay(const RaceView& view, const Camera& eye, const OverlaySettings& settings, RaceOverlay& out)
{
    out.markers.clear();
    out.labels.clear();
    const float ui = overlay_ui_scale(settings.width, settings.height);
    // The radar first: the markers and the arrow keep clear of it.
    layout_radar(view, eye, settings, ui, out.radar);
    if (settings.width > 0 && settings.height > 0) {
        layout_markers(view, eye, settings, ui, out);
        layout_arrow(view, eye, settings, ui, out);
    } else {
        out.arrow = EdgeArrow();
    }
}
