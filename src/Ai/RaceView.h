// The race as the player's screen shows it, read from the AI manager in one place: where the
// player's hover is and where its nose points, the five opponents, the eskel ship and every
// crystal in play with what it is worth now. The crystal markers, the edge arrow, the radar,
// the crystals' beams and the human-like autopilot all read the game through this one
// snapshot, so what they know is what the screen shows.
//
// A plain struct of graphics positions: it holds no pointer into the game, and its lists keep
// their storage from frame to frame (reading it again allocates nothing once they have grown).
#pragma once

#include <vector>

class AiManager;

struct RaceCrystal {
    float pos[3] = {0, 0, 0}; // graphics units: the body's centre
    int value = 0;            // its points value (10)
    int multiplier = 1;       // one more for every opponent that took it as its target
    int points = 0;           // what it scores now: value x multiplier
};

struct RaceOpponent {
    float pos[3] = {0, 0, 0}; // graphics units
    int points = 0;           // the opponent's score
};

struct RaceView {
    bool has_player = false;
    float player[3] = {0, 0, 0}; // the hover's graphics position
    // The hover's heading in degrees: the direction of its nose (its +x axis, where its thrust
    // pushes) in the ground plane, 0 along +x and 90 along -z (as MOORHOLD_PLAYER_START).
    float heading = 0;
    int player_points = 0;
    std::vector<RaceOpponent> opponents; // in the AI manager's order: index i is "Dr. Evil i"
    bool has_ship = false;
    float ship[3] = {0, 0, 0};
    std::vector<RaceCrystal> crystals;   // every crystal in play (on its way down or lying)
    float units_per_metre = 1;           // graphics units per physics unit (about a metre)
};

// Fills `out` from the manager's lists as they stand (the objects' graphics positions of their
// last sync). Without a player, has_player is false and the heading 0.
void read_race_view(const AiManager& ai, RaceView& out);

// The heading (degrees, as above) of a nose direction (x, z) in the ground plane; 0 for a nose
// that points straight up or down.
float heading_of_nose(float nose_x, float nose_z);

// The unit nose direction (x, z) of a heading in degrees.
void nose_of_heading(float heading_deg, float& nose_x, float& nose_z);
