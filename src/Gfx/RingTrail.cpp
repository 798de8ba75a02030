#include "Gfx/RingTrail.h"

#include <algorithm>
#include <cmath>

RingTrail::RingTrail(int capacity) : records(capacity > 0 ? capacity : 1) {}

void clear_rings(RingTrail& trail)
{
    std::fill(trail.records.begin(), trail.records.end(), RingRecord());
    trail.current = 0;
    trail.fade_carry = 0;
}

int ring_time_gap_ms(int type)
{
    switch (type) {
    case kRingTypePlayer: return 5;
    case kRingTypeOpponent: return 50;
    case kRingTypeCollectable: return 500;
    default: return -1;
    }
}

float ring_start_size(int type) { return type == kRingTypePlayer ? 170.0f : 100.0f; }

float ring_height_limit(float iface_scale_x, float plane_offset)
{
    return 150.0f / iface_scale_x + plane_offset;
}

bool record_ring(RingTrail& trail, int type, int32_t time_ms, float physics_y, float height_limit,
                 float x, float z)
{
    if (physics_y > height_limit) return false;
    int gap = ring_time_gap_ms(type);
    if (gap < 0) return false;
    // The difference is taken in 64 bits so that a clock far from the record's time
    // (the first ring, or a wrapped clock) cannot overflow.
    int64_t since = int64_t(time_ms) - int64_t(trail.records[trail.current].time);
    if (since <= gap) return false;

    trail.current = (trail.current + 1) % trail.capacity();
    RingRecord& r = trail.records[trail.current];
    r.time = time_ms;
    r.strength = kRingStrengthNew;
    r.size = ring_start_size(type);
    r.x = x;
    r.z = z;
    return true;
}

void age_rings(RingTrail& trail, float dt, float clock_dt)
{
    // A frame longer than the whole fade ends every ring; the bound also keeps a broken
    // clock (infinite or not a number) out of the integer conversion.
    const float owed =
        clock_dt > 0 ? trail.fade_carry + kRingFadeStepsPerSecond * clock_dt : trail.fade_carry;
    trail.fade_carry = std::min(owed, 255.0f);
    // The small allowance keeps a frame of exactly 1/60 s at one step despite rounding.
    const int steps = static_cast<int>(trail.fade_carry + 1e-4f);
    trail.fade_carry = std::max(trail.fade_carry - static_cast<float>(steps), 0.0f);
    for (RingRecord& r : trail.records) {
        if (r.strength > kRingStrengthVisible) {
            r.strength = static_cast<uint8_t>(std::max(r.strength - steps, int(kRingStrengthVisible)));
            r.size += 350.0f * dt;
        }
    }
}

void update_ring_trail(RingTrail& trail, int type, float physics_y, float x, float z, float time_now, float dt,
                       float clock_dt, float height_limit, std::vector<const RingTrail*>& seen)
{
    record_ring(trail, type, static_cast<int32_t>(time_now * 1000.0f), physics_y, height_limit, x, z);
    age_rings(trail, dt, clock_dt);
    seen.push_back(&trail);
}

float ring_scale_curr(uint8_t strength, float ripple_scale_dynamic)
{
    return std::pow(strength * 0.01f, 1.5f) * ripple_scale_dynamic;
}

float ring_quiet_core(float size, float scale_curr)
{
    constexpr float kCut = 0.004f; // the ring program's discard
    if (!(scale_curr > kCut) || !(size > 0.0f)) return 1.0f;
    const float band = 36.0f + 0.18f * size;
    // Five per cent and a unit deeper than the envelope reaches, for the rounding of the
    // program's arithmetic.
    const float reach = band * std::log(scale_curr / kCut) * 1.05f + 1.0f;
    return std::max(0.0f, 1.0f - reach / size);
}

bool ring_reaches_view(const double view[16], float x, float z, float radius, float near)
{
    const double vx = view[0] * x + view[8] * z + view[12];
    const double vy = view[1] * x + view[9] * z + view[13];
    const double depth = -(view[2] * x + view[10] * z + view[14]); // in front of the eye
    // The side planes x = +-depth and y = +-depth, at their distance depth -+ x over root 2.
    const double reach = radius * std::sqrt(2.0);
    return depth > near - radius && depth - vx > -reach && depth + vx > -reach && depth - vy > -reach &&
           depth + vy > -reach;
}
