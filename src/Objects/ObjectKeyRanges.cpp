#include "Objects/ObjectKeyRanges.h"

#include <climits>

namespace {

// Physics units are about a metre: nothing in the game is smaller than a centimetre or
// larger than the map.
const KeyRange kBodyBox[] = {
    {"bodyShapeType", INT_MIN, INT_MAX, "the box, 111, is the one shape there is; each object says so itself"},
    {"bodyShapeXLength", 0.01, 1000, "a body without size cannot collide"},
    {"bodyShapeYLength", 0.01, 1000, "a body without size cannot collide"},
    {"bodyShapeZLength", 0.01, 1000, "a body without size cannot collide"},
};

const KeyRange kSensor[] = {
    {"sensorShapeType", INT_MIN, INT_MAX, "the box, 111, is the one shape there is; each object says so itself"},
    {"sensorShapeXLength", 0.01, 1000, "a sensor without size never notices anything"},
    {"sensorShapeYLength", 0.01, 1000, "a sensor without size never notices anything"},
    {"sensorShapeZLength", 0.01, 1000, "a sensor without size never notices anything"},
    {"sensorLocalPoseX", -1000, 1000, nullptr},
    {"sensorLocalPoseY", -1000, 1000, nullptr},
    {"sensorLocalPoseZ", -1000, 1000, nullptr},
};

const KeyRange kBodyMass[] = {{"mass", 0.001, 1e6, "a body needs a mass"}};

const KeyRange kBodyDamping[] = {
    {"linearDamping", 0, 1000, "a negative damping would feed the body energy"},
    {"angularDamping", 0, 1000, "a negative damping would feed the body energy"},
};

const KeyRange kHover[] = {
    {"rayEpsilon", 0, 100, nullptr},
    {"raylen_long", 0.01, 1000, "rays of no length find no ground to lift from"},
    {"raylen_short", 0.01, 1000, "rays of no length find no ground to lift from"},
    {"jet_power", 0, 1e7, nullptr},
    {"force_forward", 0, 1e7, "a thrust, pushing the way its key says"},
    {"force_backward", 0, 1e7, "a thrust, pushing the way its key says"},
    {"force_torque", 0, 1e7, "a turn, the way its key says"},
    {"force_up", 0, 1e7, nullptr},
    {"yaw_brake", 0, 1000, "how fast a turn fades once no turn key is held, per second"},
    {"boxSize", 0, 1e4, nullptr},
    {"shoot_eps", 0, 1000, nullptr},
    {"shoot_delay", 0, 3600, "seconds"},
    {"shoot_min_slope", -1, 1, "the height of a unit axis"},
};

} // namespace

const KeyRanges body_box_key_ranges = kBodyBox;
const KeyRanges sensor_key_ranges = kSensor;
const KeyRanges body_mass_key_ranges = kBodyMass;
const KeyRanges body_damping_key_ranges = kBodyDamping;
const KeyRanges hover_key_ranges = kHover;
