#include "Ai/Steering.h"

#include "Common/ParameterFile.h"

#include <cmath>

namespace {

const KeyRange kSteeringKeys[] = {
    {"ANGLE_NO_TURN", 0, 360, "degrees"},
    {"ANGLE_TURN", 0, 360, "degrees"},
    {"ANGLE_TURN_HARD", 0, 360, "degrees"},
    {"ANGLE_TURN_BREAK", 0, 360, "degrees"},
};

} // namespace

const KeyRanges steering_key_ranges = kSteeringKeys;

SteeringThresholds read_thresholds(const ParameterFile& p)
{
    SteeringThresholds t;
    t.no_turn = p.getFloat("ANGLE_NO_TURN");
    t.turn = p.getFloat("ANGLE_TURN");
    t.turn_hard = p.getFloat("ANGLE_TURN_HARD");
    t.turn_break = p.getFloat("ANGLE_TURN_BREAK");
    return t;
}

int classify_offset(float x, float z, const SteeringThresholds& t)
{
    if (x == 0) return STEER_STRAIGHT;
    float a = std::atan2(x, -z) * 180.0f / 3.14159265f;
    float m = std::fabs(a);
    if (m <= t.no_turn) return STEER_STRAIGHT;
    if (m <= t.turn) return a > 0 ? STEER_TURN_NEGATIVE : STEER_TURN_POSITIVE;
    if (m <= t.turn_hard) return a > 0 ? STEER_HARD_NEGATIVE : STEER_HARD_POSITIVE;
    if (m <= t.turn_break) return a > 0 ? STEER_BRAKE_NEGATIVE : STEER_BRAKE_POSITIVE;
    return STEER_STRAIGHT;
}

int classify_aim(const NxMat34& pose, const NxVec3& aim, const SteeringThresholds& t)
{
    NxVec3 local;
    pose.M.multiplyByTranspose(aim - pose.t, local);
    return classify_offset(local.x, local.z, t);
}

int nearest_record(const std::vector<TargetRecord>& records)
{
    int best = -1;
    for (size_t i = 0; i < records.size(); ++i)
        if (best < 0 || records[i].distance <= records[best].distance) best = static_cast<int>(i);
    return best;
}
