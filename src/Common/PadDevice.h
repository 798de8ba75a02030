// The gamepad as SDL's joystick API gives it: the first one found at start-up and, each
// frame, its axes, its first hats and whether it is still there. The only code that calls
// SDL's joystick functions.
#pragma once

#include <SDL.h>

#include <string>

struct PadReading {
    static constexpr int kMaxAxes = 8;
    static constexpr int kMaxHats = 4;
    int axes[kMaxAxes] = {}; // SDL's -32768 .. 32767; 0 for axes the pad lacks
    Uint8 hats[kMaxHats] = {}; // SDL_HAT_* bits; centred for hats the pad lacks
};

// Opens the first pad SDL finds and says so on the console ("gamepad: <name>, ..."), or that
// there is none. False without a pad.
bool open_first_pad();

// The pad's state as SDL's last event pump left it. False, and `out` all centred, without a
// pad, or once it is gone: SDL's joystick API cannot tell an unplugged pad, so on Linux the
// device SDL reads is watched for its hang-up, and a pad gone is closed with a line on the
// console.
bool read_pad(PadReading& out);

bool pad_connected();
std::string pad_name();

void close_pad();
