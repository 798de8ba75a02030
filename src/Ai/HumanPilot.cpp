#include "Ai/HumanPilot.h"

#include <algorithm>
#include <cmath>

namespace {

const float kDegrees = 180.0f / 3.14159265358979f;

// How a player weighs a crystal: its worth against the way to it.
float worth_the_way(int points, float distance_m)
{
    return static_cast<float>(std::max(points, 1)) / (std::max(distance_m, 0.0f) + 30.0f);
}

float bearing_difference(float a, float b)
{
    float d = std::fmod(a - b + 540.0f, 360.0f) - 180.0f;
    return std::fabs(d);
}

// The same crystal as last time, as far as the eye can tell: about where it was.
bool looks_like(const HumanSight& candidate, const HumanSight* previous)
{
    if (!previous || !previous->has_aim || !previous->crystal) return false;
    if (bearing_difference(candidate.bearing, previous->bearing) > 20.0f) return false;
    if (candidate.distance_m < 0 || previous->distance_m < 0) return true;
    return std::fabs(candidate.distance_m - previous->distance_m) < std::max(10.0f, 0.25f * previous->distance_m);
}

struct RadarReading {
    bool shown = false;
    float metres_per_pixel = 0;
};

// A radar mark's bearing from the nose (up on the radar) and its distance, in metres.
void radar_bearing(const RadarLayout& radar, const RadarMark& m, const RadarReading& r, float& bearing,
                   float& distance_m)
{
    const float dx = m.x - radar.cx, dy = m.y - radar.cy;
    bearing = std::atan2(dx, dy) * kDegrees;
    distance_m = std::hypot(dx, dy) * r.metres_per_pixel;
}

// Less worth chasing when an opponent on the radar stands nearer to it than the hover.
float contested(const RaceOverlay& overlay, const RadarMark& crystal)
{
    const RadarLayout& radar = overlay.radar;
    const float mine = std::hypot(crystal.x - radar.cx, crystal.y - radar.cy);
    for (const RadarMark& m : radar.marks) {
        if (m.kind != RADAR_OPPONENT || m.on_rim) continue;
        if (std::hypot(crystal.x - m.x, crystal.y - m.y) < 0.7f * mine) return 0.4f;
    }
    return 1.0f;
}

} // namespace

PlayerControls keys_for_bearing(float bearing, bool fast)
{
    PlayerControls c;
    const float a = std::fabs(bearing);
    const bool right = bearing > 0;
    if (a <= 6.0f) {
        c.forward = true;
    } else if (a <= 40.0f) {
        c.forward = true;
        (right ? c.right : c.left) = true;
    } else {
        (right ? c.right : c.left) = true;
        c.backward = fast && a > 100.0f;
    }
    return c;
}

HumanSight read_screen(const RaceOverlay& overlay, const ScreenFacts& facts, const HumanSight* previous)
{
    HumanSight best;
    float best_score = -1;
    auto consider = [&](HumanSight s, float score) {
        if (looks_like(s, previous)) score *= 1.5f;
        if (score > best_score) best = s, best_score = score;
    };

    const RadarLayout& radar = overlay.radar;
    RadarReading reading;
    reading.shown = radar.shown && radar.radius > 0;
    if (reading.shown) reading.metres_per_pixel = radar.range / radar.radius / std::max(facts.units_per_metre, 1e-6f);

    // Crystals on the radar: their place round the hover, to the metre.
    std::vector<int> on_radar; // crystal indices read off the radar (a marker of one adds nothing)
    if (reading.shown)
        for (const RadarMark& m : radar.marks) {
            if (m.kind != RADAR_CRYSTAL) continue;
            HumanSight s;
            s.has_aim = s.crystal = true;
            s.points = m.points;
            radar_bearing(radar, m, reading, s.bearing, s.distance_m);
            if (m.on_rim) {
                // Farther than the rim: its way is known, its distance only from the arrow.
                s.distance_m = overlay.arrow.shown && overlay.arrow.crystal == m.index ? overlay.arrow.distance_m
                                                                                     : 2.0f * radar.range /
                                                                                           std::max(facts.units_per_metre, 1e-6f);
                consider(s, worth_the_way(s.points, s.distance_m));
                continue;
            }
            on_radar.push_back(m.index);
            consider(s, worth_the_way(s.points, s.distance_m) * contested(overlay, m));
        }

    // Crystals in the picture: the bearing from where the marker stands across the window.
    const float focal = 0.5f * static_cast<float>(facts.height) / std::tan(0.5f * facts.fov_deg / kDegrees);
    for (const CrystalMarker& k : overlay.markers) {
        if (std::find(on_radar.begin(), on_radar.end(), k.crystal) != on_radar.end()) continue;
        HumanSight s;
        s.has_aim = s.crystal = true;
        s.points = k.points;
        s.distance_m = k.distance_m;
        s.bearing = std::atan((k.x - 0.5f * static_cast<float>(facts.width)) / std::max(focal, 1.0f)) * kDegrees;
        consider(s, worth_the_way(s.points, s.distance_m));
    }

    // Nothing better: the edge arrow's way (0 up, 90 to the right, 180 behind).
    if (best_score < 0 && overlay.arrow.shown) {
        HumanSight s;
        s.has_aim = s.crystal = true;
        s.points = overlay.arrow.points;
        s.distance_m = overlay.arrow.distance_m;
        s.bearing = std::atan2(std::cos(overlay.arrow.angle), std::sin(overlay.arrow.angle)) * kDegrees;
        // Behind: it points to the side to turn to (or down); the crystal is further round.
        if (overlay.arrow.behind) s.bearing = (s.bearing < 0 ? -1.0f : 1.0f) * std::max(std::fabs(s.bearing), 150.0f);
        consider(s, worth_the_way(s.points, s.distance_m));
    }

    // No crystal anywhere: stay with the ship, which drops the next ones.
    if (best_score < 0 && reading.shown)
        for (const RadarMark& m : radar.marks)
            if (m.kind == RADAR_SHIP) {
                best = HumanSight();
                best.has_aim = true;
                radar_bearing(radar, m, reading, best.bearing, best.distance_m);
                if (m.on_rim) best.distance_m = -1;
                break;
            }
    return best;
}

void HumanPilot::reset()
{
    sights.clear();
    aim = HumanSight();
    turned = 0;
    last_act = -1;
    last_turn = 0;
    moving_since = -1;
    backing_until = -1;
}

void HumanPilot::look(const RaceOverlay& overlay, const ScreenFacts& facts, float time, const float player_gfx[3])
{
    HumanSight s = read_screen(overlay, facts, aim.has_aim ? &aim : nullptr);
    s.time = time;
    s.player[0] = player_gfx[0];
    s.player[1] = player_gfx[2];
    s.turned = turned;
    aim = s;
    // Looks older than a second are of no more use.
    size_t old = 0;
    while (old < sights.size() && sights[old].time < time - reaction - 1.0f) ++old;
    sights.erase(sights.begin(), sights.begin() + static_cast<long>(old));
    sights.push_back(s);
    units_per_metre = facts.units_per_metre;
}

PlayerControls HumanPilot::act(float time)
{
    if (last_act >= 0 && time > last_act) turned += static_cast<float>(last_turn) * (time - last_act);
    last_act = time;

    // The newest look that is a reaction time old, and one about half a second before it.
    const HumanSight* seen = nullptr;
    const HumanSight* before = nullptr;
    for (const HumanSight& s : sights) {
        if (s.time > time - reaction) break;
        seen = &s;
    }
    PlayerControls c;
    if (!seen) {
        last_turn = 0;
        return c;
    }
    for (const HumanSight& s : sights) {
        if (s.time > seen->time - 0.4f) break;
        before = &s;
    }
    float speed = -1; // metres a game second, as the land moves by
    if (before && seen->time > before->time)
        speed = std::hypot(seen->player[0] - before->player[0], seen->player[1] - before->player[1]) /
                std::max(units_per_metre, 1e-6f) / (seen->time - before->time);

    if (seen->has_aim) {
        // What was held since the look has turned the nose toward the right (or left) by then.
        const float bearing = seen->bearing - turn_rate * (turned - seen->turned);
        c = keys_for_bearing(bearing, speed > 16.0f);
    } else {
        c.forward = true;
    }

    // Stuck against something: back off turning away, then drive on.
    if (time < backing_until) {
        c = PlayerControls();
        c.backward = true;
        c.left = true;
    } else if (speed >= 0 && speed < stuck_speed && c.forward) {
        if (moving_since < 0) moving_since = seen->time;
        if (seen->time - moving_since > stuck_after) {
            backing_until = time + back_off;
            moving_since = -1;
            c = PlayerControls();
            c.backward = true;
            c.left = true;
            c.jump = true;
        }
    } else {
        moving_since = -1;
    }
    last_turn = c.right == c.left ? 0 : (c.right ? 1 : -1);
    return c;
}
