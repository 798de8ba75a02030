// The values the game objects' parameter files may take, for the keys several kinds of
// object read alike (their body box, sensor, motion and hover). Each object's reader checks
// its keys against these and against a table of its own keys.
#pragma once

#include "Common/ParameterFile.h"

// bodyShapeType and the box's three lengths (opponents, the ship, crystals, scenery).
extern const KeyRanges body_box_key_ranges;
// sensorShapeType, the sensor box's lengths and its place on the body.
extern const KeyRanges sensor_key_ranges;
// The mass of a moving body.
extern const KeyRanges body_mass_key_ranges;
// linearDamping and angularDamping of a moving body.
extern const KeyRanges body_damping_key_ranges;
// The hover's lift, thrust, standing-still check and box size (the player and opponents).
extern const KeyRanges hover_key_ranges;
