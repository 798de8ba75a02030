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

float ring_scale_curr(uint8_t strength, float ripple_scale_dynamic)
{
    return std::pow(strength * 0.01f, 1.5f) * ripple_scale_dynamic;
}
