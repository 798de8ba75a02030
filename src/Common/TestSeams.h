// Switches for tests and demos, read once from the environment at start-up. Unset, the
// game behaves exactly as without them.
#pragma once

#include <string>
#include <vector>

// A fixed eye: position and the turns from the start axes (yaw about the up axis, then
// pitch; negative pitch looks down), in degrees.
struct EyePose {
    double x = 0, y = 0, z = 0;
    double yaw_deg = 0, pitch_deg = 0;
};

struct TestSeams {
    long frames = -1;         // MOORHOLD_FRAMES: end through the ordinary shutdown after N frames
    std::string screenshot;   // MOORHOLD_SCREENSHOT: PNG of the last frame's back buffer
    bool autopilot = false;   // MOORHOLD_AUTOPILOT=1: the player's hover steers itself
    bool human_pilot = false; // MOORHOLD_AUTOPILOT=human: driven by a model of a player at the keys
    bool log_scores = false;  // MOORHOLD_LOG_SCORES=1: a line per collect and per game end
    bool log_player = false;  // MOORHOLD_LOG_PLAYER=1: a line per frame with the player's hover
    bool log_steering = false; // MOORHOLD_LOG_STEERING=1: a line per frame in which the hover is steered
    bool has_eye = false;     // MOORHOLD_EYE="x y z yaw pitch": free camera held at this pose
    // MOORHOLD_PLAYER_START="x z heading": every game starts with the player's hover here
    // (physics units; heading in degrees, 0 along +x, 90 along -z) instead of on the circle.
    bool has_player_start = false;
    double player_start[3] = {0, 0, 0};
    EyePose eye;
    double clock_offset = 0;  // MOORHOLD_CLOCK_OFFSET: seconds added to the game clock
    bool pass_timing = false; // MOORHOLD_PASS_TIMING=1: time each render pass, report at the end
    bool frame_times = false; // MOORHOLD_FRAME_TIMES=1: frame time percentiles and allocations at the end
    long memory_every = 0;    // MOORHOLD_MEMORY_EVERY=N: a memory line every N frames
    // MOORHOLD_TOGGLE="L,N,F3": display keys whose toggle is applied once at start-up
    // (N, K, L, I, F3, F8, C, B).
    std::vector<std::string> toggles;
    // MOORHOLD_LOG_OVERLAY=1: the race overlay of the last frame (the screenshot's) on standard
    // output: each crystal marker, the edge arrow, the radar and its marks, in window pixels.
    bool log_overlay = false;
};

extern TestSeams test_seams;

void read_test_seams();

// "x y z yaw pitch" (blanks or commas between the numbers). False, leaving `out` alone,
// unless all five numbers are there.
bool parse_eye_pose(const char* text, EyePose& out);

// `n` numbers separated by blanks or commas, nothing else. False, `out` partly written,
// otherwise.
bool parse_numbers(const char* text, double* out, int n);

// "A,B, C" -> {"A", "B", "C"}; empty names are dropped.
std::vector<std::string> parse_toggle_list(const char* text);
