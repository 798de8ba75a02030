// The rules of a game's course: frame time, physics steps, who won, when the banner shows,
// when the next game starts, which option message is on screen, the frame-rate ring.
// Plain state and functions, so that tests can drive them with given scores and times.
#pragma once

#include <functional>
#include <vector>

struct GameFlow {
    int winning_points = 0;
    bool game_over = false;
    bool player_won = false;
    float game_over_time = 0;  // time_now when the game ended
    int banner_roll = 0;       // 0..99 picks the win banner; 100 marks a loss
    float frame_dt = 0;
    float time_total = 0;
    const float time_scale = 2.0f; // simulated time runs at twice the measured frame time
};

extern GameFlow game_flow;

// The frame time after the optional cap (the key's name says minimum; it is an upper bound).
float cap_frame_time(float dt, bool check_cap, float max_step);

// Seconds of physics for frame `frame` (counted from 0): a fixed 0.02 s (scaled) while the
// title shows its first ten frames, then the scaled frame time.
float physics_step(unsigned int frame, float frame_dt, float time_scale);

// Seconds to sleep after a frame of `frame_seconds` (its start to its swap) so that frames
// start at most `max_fps` times a second: none when swap control paces the frames already,
// when there is no cap (0 or less), or when the frame has used up its share.
double frame_cap_sleep(double frame_seconds, int max_fps, bool swap_control);

// What the HUD shows of a game's end this frame.
struct GameEndBanners {
    bool you_are_the_bromel = false; // the two-line win banner (banner_roll < 25)
    bool you_win = false;            // the big win banner (25 <= banner_roll < 100)
    int you_lose = 0;                // how many times "YOU LOSE" is drawn this frame
};

// Evaluates the end of a game against the scores (player first, then the opponents from the
// last down to the first). `roll` is asked for the win banner's random pick only when the
// player's win is new.
GameEndBanners evaluate_game_end(GameFlow& flow, int player_score, const std::vector<int>& opponent_scores,
                                 float now, const std::function<int()>& roll);

// True when the banner has shown long enough and a new game starts.
bool restart_due(const GameFlow& flow, float now);

// What a frame's input step does: read the keys while a game runs; start the next game once
// the banner has shown long enough; otherwise (the banner shows, the game is paused) only the
// window's events and the keys that act at any time.
enum class InputStep { Play, Restart, WindowOnly };
InputStep input_step(bool paused, bool game_over, bool restart_due);

// A new game: no banner, nobody has won.
void begin_new_game(GameFlow& flow);

// Which option message shows, in priority order: 0 none, 1 culling, 2 filtering,
// 3 transparency, 4 volume. Each lasts 2.0 s after its toggle.
int option_message(float now, float culling_changed_at, float filter_changed_at,
                   float transparency_changed_at, float volume_changed_at = -1.0e9f);

// The last 24 frame rates.
struct FpsRing {
    float samples[24] = {};
    int index = 0;
    // Advances the ring and stores the rate of a frame that took `elapsed_ms`.
    void push(unsigned int elapsed_ms);
    float mean() const;
};
