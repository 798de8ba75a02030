// The water-ring trail of a game object: a ring buffer of expanding rings left on the
// water where the object moved. Plain data, so that the rules can be driven without GL or
// physics; the ring pass draws the records, the game objects own the trails.
#pragma once

#include <cstdint>
#include <vector>

struct RingRecord {
    uint8_t strength = 0; // 100 when made, fading 60 steps a second; drawn while above 10
    int32_t time = 0;     // milliseconds of the game clock when it was made
    float size = 0;       // radius in graphics units
    float x = 0, z = 0;   // centre on the water plane, graphics space
};

// Capacities of the trails: most objects keep 275 rings, collectables only 8.
constexpr int kRingTrailCapacity = 275;
constexpr int kCollectableRingTrailCapacity = 8;

// Object types that leave rings (the same identifiers as the game objects).
constexpr int kRingTypePlayer = 12210;
constexpr int kRingTypeOpponent = 12221;
constexpr int kRingTypeCollectable = 12100;

struct RingTrail {
    explicit RingTrail(int capacity = kRingTrailCapacity);

    int capacity() const { return static_cast<int>(records.size()); }

    int current = 0;                 // index of the newest record
    std::vector<RingRecord> records; // all zero at first: nothing is drawn
    float fade_carry = 0;            // fade steps owed but not yet whole, see age_rings
};

// Empties the trail as a new one is, keeping its records' storage.
void clear_rings(RingTrail& trail);

// Strength of a fresh ring and the strength at which a ring is no longer drawn.
constexpr uint8_t kRingStrengthNew = 100;
constexpr uint8_t kRingStrengthVisible = 10;

// Milliseconds that must pass between two rings of an object of `type`; -1 for types that
// never leave rings.
int ring_time_gap_ms(int type);

// Size of a fresh ring of an object of `type`.
float ring_start_size(int type);

// Height (physics units) above which an object leaves no rings: 150 graphics units over
// the ground plane, converted with the x component of the physics-to-graphics scale.
float ring_height_limit(float iface_scale_x, float plane_offset);

// Adds a ring at (x, z) when the object is low enough and enough time has passed since
// its newest ring. `time_ms` is the game clock in milliseconds. Returns true when a
// record was written.
bool record_ring(RingTrail& trail, int type, int32_t time_ms, float physics_y, float height_limit,
                 float x, float z);

// Rings fade one strength step per sixtieth of a second of the clock: one step a frame at 60
// frames a second, and as many steps as that time holds in a longer frame. A fixed step per frame
// would let a slow machine keep rings up to six times as long, each grown several times
// larger, and fill the ring image with them.
constexpr float kRingFadeStepsPerSecond = 60.0f;

// Fades every visible ring by the steps that `clock_dt` seconds of the clock hold (never
// below the visible limit) and lets it grow by 350 units per second of `dt`, the game's time
// (the clock's times the time scale, as the physics runs).
void age_rings(RingTrail& trail, float dt, float clock_dt);

// The per-object step of the frame: records a ring when the object is low and due, ages
// the trail by `dt` of game time and `clock_dt` of the clock and adds the trail to `seen`,
// the frame's list for the ring pass. `time_now` is the game clock in seconds,
// `height_limit` the physics height above which no ring is left.
void update_ring_trail(RingTrail& trail, int type, float physics_y, float x, float z, float time_now, float dt,
                       float clock_dt, float height_limit, std::vector<const RingTrail*>& seen);

// Whether a record is drawn, and the wave height the ring program gets for it.
inline bool ring_visible(const RingRecord& r) { return r.strength > kRingStrengthVisible; }
float ring_scale_curr(uint8_t strength, float ripple_scale_dynamic);

// The share of a ring's radius, from its centre, where the ring program discards every
// fragment: behind the front the wave packet's envelope, exp(-depth / band) with the band the
// program's 36 + 0.18 * size, has fallen below the program's cut of 0.004 for a wave of height
// `scale_curr`. 0 when the wave reaches the centre, 1 when it is nowhere strong enough.
float ring_quiet_core(float size, float scale_curr);

// Whether a ring of `radius` about (x, 0, z) reaches the ring image, which is seen through
// `view` (a column-major view matrix) with a square 90-degree frustum whose near plane lies
// `near` in front of the eye. Rings that miss it are not drawn: the trails of all six hovers
// hold thousands of records, most of them faded or far off the view.
bool ring_reaches_view(const double view[16], float x, float z, float radius, float near);
