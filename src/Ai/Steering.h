// How a computer-driven vehicle decides where to turn: the direction to its aim point in
// its own frame, sorted into seven steering classes by four angle thresholds, and the
// choice of the nearest target.
#pragma once

#include "Physics/NxPhysics.h"

#include <vector>

struct SteeringThresholds {
    float no_turn = 0, turn = 0, turn_hard = 0, turn_break = 0; // degrees
};

// The steering classes. A positive angle means the aim lies to the body's +x side of its
// forward axis (-z).
enum SteeringClass {
    STEER_TURN_NEGATIVE = 0,      // forward, turning toward +x
    STEER_TURN_POSITIVE = 1,      // forward, turning toward -x
    STEER_STRAIGHT = 2,           // straight ahead (or behind, beyond every threshold)
    STEER_HARD_POSITIVE = 3,      // turning on the spot toward -x
    STEER_HARD_NEGATIVE = 4,      // turning on the spot toward +x
    STEER_BRAKE_POSITIVE = 5,     // turning toward -x, braking when fast
    STEER_BRAKE_NEGATIVE = 6      // turning toward +x, braking when fast
};

#include "Common/ParameterFile.h"
// The four thresholds from "ANGLE_NO_TURN", "ANGLE_TURN", "ANGLE_TURN_HARD", "ANGLE_TURN_BREAK".
SteeringThresholds read_thresholds(const ParameterFile& p);
// The values those four may take: degrees of a half turn.
extern const KeyRanges steering_key_ranges;

// The class of an aim point whose offset from the body is (x, z) in body coordinates.
int classify_offset(float x, float z, const SteeringThresholds& t);

// The class of world point `aim` for a body at `pose`.
int classify_aim(const NxMat34& pose, const NxVec3& aim, const SteeringThresholds& t);

// A candidate or a rival as an opponent sees it.
class MovingObject;
struct TargetRecord {
    MovingObject* object = nullptr;
    NxActor* actor = nullptr;
    float distance = 0;
    float position[3] = {0, 0, 0};
    int word0 = 0, word1 = 0;
};

// The index of the nearest record (the later one among equals), or -1 for an empty list.
int nearest_record(const std::vector<TargetRecord>& records);
