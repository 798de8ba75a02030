// What the gamepad does: its stick (or its pad) drives the hover by the same four direction
// flags as the keys, with a dead zone around the middle; its buttons jump, right the hover,
// pause and start a new game. The mapping is read from '.\config\controls.p' beside the keys.
#pragma once

#include "Common/PadDevice.h"

#include <string>

class ParameterFile;
class SDLGL;

struct PadMapping {
    int steer_axis = 0;      // left (negative) and right; -1 for none
    int drive_axis = 1;      // forward (negative: the stick pushed away) and back; -1 for none
    int hat = 0;             // the pad (SDL's hat); -1 for none
    float dead_zone = 0.25f; // of the axis's half range, around the middle, that counts as the middle
    int jump = 0, upright = 1, pause = 7, new_game = 6; // buttons; -1 for none
};

extern PadMapping pad_mapping;

// The pad's keys of the controls file ("pad_steer_axis", "pad_drive_axis", "pad_hat",
// "pad_dead_zone", "pad_jump", "pad_upright", "pad_pause", "pad_new_game"). An index out of
// range, a dead zone outside 0 to 0.95, one axis for both directions and one button for two
// actions are refused with the file, the key and the value named.
PadMapping read_pad_mapping(const ParameterFile& file);

// An axis of SDL's range (-32768 to 32767) as -1 to 1 with the dead zone taken out: 0 within
// it, and from there growing to 1 at the end of the range.
float axis_past_dead_zone(int raw, float dead_zone);

struct PadDirections {
    bool forward = false, backward = false, left = false, right = false;
    bool any() const { return forward || backward || left || right; }
};

PadDirections pad_directions(const PadMapping& m, const PadReading& r);

enum class PadAction { None, Jump, Upright, Pause, NewGame };

PadAction pad_button_action(const PadMapping& m, int button);

// The help's line about the pad; "" without one.
std::string pad_help_line(const PadMapping& m, const std::string& name);

// Once a frame while the keys are read: the pad's directions join the keys' flags.
void steer_by_pad();
// True when the pad's stick or pad is pushed (what starts the first game, as a driving key).
bool pad_drives();
// A button pressed: the pause at any time, the others only while the game's keys are read.
void press_pad_button(int button, bool game_keys);
