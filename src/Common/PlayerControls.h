// What the keyboard asks of the player's hover in the current frame. The input handler
// writes it; the player object reads it in its update (until a player exists nobody does).
#pragma once

struct PlayerControls {
    bool forward = false;
    bool backward = false;
    bool left = false;
    bool right = false;
    bool jump = false;        // Space: a jump at this frame's time
    bool set_upright = false; // M: turned upright by force, with a cheer
};

extern PlayerControls player_controls;

// Set by the 0 key; the main loop starts a new game when it sees it.
extern bool new_game_requested;
