// The player's part of the object tree: a second actor handle, a pose, an offset and the
// points counter. The hover vehicle's rules derive from it and override update.
#pragma once

#include "Objects/MovingObject.h"

class PlayerObject : public MovingObject {
public:
    PlayerObject() = default;

    // Once per frame with the seconds of this frame; nothing happens here.
    virtual void update(float seconds);

    // Keeps `a` and `offset`, and points the actor's userData at this object's
    // MovingObject part (through which the trigger report and the AI manager know it).
    void attach_actor(NxActor* a, const float offset_in[3]);

    NxMat34 get_pose() const { return pose; }
    void set_pose(const NxMat34& p) { pose = p; }

    void add_points(int n) { points += n; }
    int get_points() const { return points; }
    void reset_points() { points = 0; }

    NxActor* player_actor = nullptr;
    NxMat34 pose;                 // identity rotation, zero position
    float offset[3] = {0, 0, 0};
    int32_t points = 0;
};
