#include "Ai/Autopilot.h"

#include "Ai/AiManager.h"
#include "Ai/Collectable.h"
#include "Ai/EskelShip.h"
#include "Objects/PlayerImpl.h"

PlayerControls controls_for_class(int k, bool fast)
{
    PlayerControls c;
    switch (k) {
    case STEER_TURN_NEGATIVE: c.forward = c.right = true; break;
    case STEER_TURN_POSITIVE: c.forward = c.left = true; break;
    case STEER_HARD_NEGATIVE: c.right = true; break;
    case STEER_HARD_POSITIVE: c.left = true; break;
    case STEER_BRAKE_NEGATIVE: c.right = true, c.backward = fast; break;
    case STEER_BRAKE_POSITIVE: c.left = true, c.backward = fast; break;
    default: c.forward = true; break;
    }
    return c;
}

int classify_for_nose_x(const NxMat34& pose, const NxVec3& aim, const SteeringThresholds& t)
{
    NxVec3 local;
    pose.M.multiplyByTranspose(aim - pose.t, local);
    // In the frame of a vehicle driving along -z with +x to its "negative turn" side, the
    // nose +x becomes -z and the body's +z (where a right turn takes the nose) becomes +x.
    return classify_offset(local.z, -local.x, t);
}

PlayerControls Autopilot::steer(const PlayerImpl& player, const AiManager& ai, long now_ms)
{
    PlayerControls none;
    if (!player.actor) return none;
    NxMat34 pose = player.actor->getGlobalPose();

    const MovingObject* goal = nullptr;
    float best = 0;
    for (const Collectable* c : ai.collectables) {
        if (!c->actor) continue;
        float d = c->actor->getGlobalPosition().distance(pose.t);
        if (!goal || d <= best) goal = c, best = d;
    }
    if (!goal && ai.ship) goal = ai.ship;

    NxVec3 velocity = player.actor->getLinearVelocity();
    NxVec3 local_velocity;
    pose.M.multiplyByTranspose(velocity, local_velocity);
    PlayerControls c;
    if (goal && goal->actor)
        c = controls_for_class(classify_for_nose_x(pose, goal->actor->getGlobalPosition(), thresholds),
                               local_velocity.x > 6.0f);
    else
        c.forward = true;

    // Stuck: barely moving for a while. Jump first; if the hover lies on its side, right it.
    NxVec3 flat(velocity.x, 0, velocity.z);
    if (flat.magnitude() >= stuck_speed) {
        stuck_since = -1;
    } else if (stuck_since < 0) {
        stuck_since = now_ms;
    } else if (now_ms - stuck_since > stuck_jump_after) {
        if (pose.M.getColumn(1).y < 0.5f)
            c.set_upright = true;
        else
            c.jump = true;
        stuck_since = now_ms;
    }
    return c;
}
