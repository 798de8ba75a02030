// The player's hover driven by the computer (a test and demo seam): it steers through the
// player's own four flags by the opponents' steering classes toward the nearest crystal, or
// the ship when no crystal is lying, and jumps or rights itself when it is stuck.
#pragma once

#include "Ai/Steering.h"
#include "Common/PlayerControls.h"

class AiManager;
class PlayerImpl;

// The four flags for steering class `k` of an aim point, for a vehicle whose nose is its
// +x axis; `fast` says it is moving forward fast enough to brake in the sharpest turns.
PlayerControls controls_for_class(int k, bool fast);

// The steering class of world point `aim` for a body at `pose` whose nose is its +x axis.
int classify_for_nose_x(const NxMat34& pose, const NxVec3& aim, const SteeringThresholds& t);

struct Autopilot {
    SteeringThresholds thresholds{6, 35, 80, 180};
    float stuck_speed = 1.0f;    // units per second below which the hover counts as stuck
    long stuck_since = -1;       // process clock, milliseconds; -1 while moving
    long stuck_jump_after = 1500;

    // The flags for this frame; also asks for a jump or righting when stuck (in the
    // returned jump and set_upright fields).
    PlayerControls steer(const PlayerImpl& player, const AiManager& ai, long now_ms);
};
