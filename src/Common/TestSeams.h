// Switches for tests and demos, read once from the environment at start-up. Unset, the
// game behaves exactly as without them.
#pragma once

#include <string>

struct TestSeams {
    long frames = -1;         // MOORHOLD_FRAMES: end through the ordinary shutdown after N frames
    std::string screenshot;   // MOORHOLD_SCREENSHOT: PNG of the last frame's back buffer
    bool autopilot = false;   // MOORHOLD_AUTOPILOT: the player's hover steers itself
};

extern TestSeams test_seams;

void read_test_seams();
