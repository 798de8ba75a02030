// The game's share of a frame, called by the main loop in its fixed order: the player's
// steering from the keys (or the autopilot), the simulation of every game object, the
// water rings they leave, the scores for the HUD, the score log and the game start.
#pragma once

#include <vector>

// Copies this frame's keys into the player's flags (with the autopilot's, when it is on),
// and carries out a requested jump or righting at `time_now` seconds.
void steer_player(float time_now);

// The player's update, the AI manager's update and flush (`seconds` of this frame).
void update_game_objects(float seconds);

// The player's pose into graphics space, after the update.
void sync_player();

// With MOORHOLD_LOG_PLAYER on: prints "player: <game seconds> <x> <y> <z> <heading> <speed>",
// the hover's graphics position, its heading in degrees (0 along +x, 90 along -z) and its
// speed in graphics units per game second (the physics runs `time_scale` seconds in each).
void log_player(float game_seconds, float time_scale);

// With MOORHOLD_LOG_STEERING on, in a frame whose physics step of `step` seconds the player's
// hover is steered: "steering: <game seconds> <step> <forward backward left right>", the flags
// that are on.
void log_steering(float game_seconds, float step);

// The player's graphics position (the origin before a player exists).
void player_gfx_position(float out[3]);

struct RingTrail;
// Records and ages the water rings of every object that leaves them: they grow with the
// game's time (`time_scale` x `frame_dt`) and fade with the clock's. Returns the frame's
// trails, in the order the objects were visited, for the renderer to draw; the list is the
// same object every frame, made anew by each call.
const std::vector<const RingTrail*>& leave_rings(float time_now, float frame_dt, float time_scale);

struct RaceView;
struct RaceOverlay;
// With MOORHOLD_AUTOPILOT=human: the player model looks at this frame's overlay as drawn in a
// window of `width` x `height` through an eye of `fov_deg` degrees.
void human_pilot_look(const RaceOverlay& overlay, const RaceView& view, int width, int height, float fov_deg);

// The race as it stands, for the screen: everybody's place and every crystal's worth (an empty
// race before the level exists).
void read_race(RaceView& out);

int player_score();
const std::vector<int>& opponent_scores();

// A new game: every score 0 and everybody back on the restart circle around the map's
// centre.
void restart_game_objects();

// With the score log on: prints "game over: <winner>" when the game has just ended.
void log_game_end(bool was_over, bool is_over, bool player_won, int winning_points);

// Puts the score log on the AI manager when MOORHOLD_LOG_SCORES asks for it.
void enable_score_log();
