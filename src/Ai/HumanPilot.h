// A model of a person at the keys, for measuring the race (MOORHOLD_AUTOPILOT=human). It
// knows only what the screen shows: the crystal markers with their worth and distance, the
// edge arrow and the radar, as the overlay lays them out for drawing. It acts on what it saw a
// reaction time ago, and drives through the same four flags as the keys.
//
// Between seeing and acting it keeps count of how long it has held each turn key since, as a
// player does, and takes that turn off the bearing it saw; without that, a quarter of a second
// of a full-lock turn (some 70 degrees) would make it weave round every crystal.
#pragma once

#include "Common/PlayerControls.h"
#include "Common/RaceOverlay.h"

#include <vector>

// What one look at the screen gave: where the chosen aim lay from the hover's nose.
struct HumanSight {
    float time = 0;         // game seconds
    bool has_aim = false;
    bool crystal = false;   // a crystal; otherwise the ship (with nothing to chase)
    float bearing = 0;      // degrees from the nose, positive to the right
    float distance_m = -1;  // metres; -1 when the screen does not say
    int points = 0;         // the crystal's worth
    float player[2] = {0, 0}; // where the hover was on the ground (graphics x, z): the land moving by
    float turned = 0;       // the pilot's own turn count (seconds right minus left) at the look
};

// What the picture gives beside the overlay: the window, the eye's vertical field of view (a
// marker's distance from the middle of the picture is its bearing) and the units of the race.
struct ScreenFacts {
    int width = 0, height = 0;
    float fov_deg = 60;
    float units_per_metre = 1;
};

// The aim one look at the screen picks: the best crystal by worth against distance (a crystal
// an opponent on the radar is nearer to counts less, the one chased already counts more),
// from the radar where it shows the crystal, else from its marker, else from a rim mark or
// the edge arrow; with no crystal anywhere the ship on the radar. `previous` is the last
// look's aim (null for none).
HumanSight read_screen(const RaceOverlay& overlay, const ScreenFacts& facts, const HumanSight* previous);

struct HumanPilot {
    float reaction = 0.25f;      // game seconds from seeing to acting
    float turn_rate = 250.0f;    // degrees a game second the hover turns at full lock, as learnt
    float stuck_after = 1.5f;    // game seconds of barely moving while driving
    float stuck_speed = 3.0f;    // metres a game second below which the hover counts as not moving
    float back_off = 0.8f;       // game seconds of backing off and turning away once stuck

    std::vector<HumanSight> sights; // the recent looks, oldest first
    HumanSight aim;                 // the latest look's aim

    float turned = 0;        // seconds of right turn minus seconds of left turn held so far
    float last_act = -1;     // game seconds of the last act
    int last_turn = 0;       // -1 left, 0 none, 1 right, as held since the last act
    float moving_since = -1; // game seconds: the hover last seen moving (or driving started)
    float backing_until = -1;
    float units_per_metre = 1; // of the last look

    // A look at this frame's screen at game time `time`.
    void look(const RaceOverlay& overlay, const ScreenFacts& facts, float time, const float player_gfx[3]);

    // The keys for this frame at game time `time`, from the newest look at least a reaction
    // time old; none before the first such look.
    PlayerControls act(float time);

    // A new game: nothing seen yet.
    void reset();
};

// The four keys for an aim `bearing` degrees off the nose (positive to the right), as a
// player drives: straight on within a few degrees, turning while driving up to a wide angle,
// turning on the spot beyond it, and braking in the turn when going fast toward an aim behind.
PlayerControls keys_for_bearing(float bearing, bool fast);
