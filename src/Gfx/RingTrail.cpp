#include "Gfx/RingTrail.h"

#include <cmath>

RingTrail::RingTrail(int capacity) : records(capacity > 0 ? capacity : 1) {}

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

void age_rings(RingTrail& trail, float dt)
{
    for (RingRecord& r : trail.records) {
        if (r.strength > kRingStrengthVisible) {
            --r.strength;
            r.size += 350.0f * dt;
        }
    }
}

float ring_scale_curr(uint8_t strength, float ripple_scale_dynamic)
{
    return std::pow(strength * 0.01f, 1.5f) * ripple_scale_dynamic;
}
