#include "Gfx/RingTrail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

const float kLimit = 14.6875f; // 150 / 32 + 10

// A ring is left by the three types of mover, at most at the height limit, once the gap since the
// newest ring is strictly exceeded; the player's rings start larger.
TEST(RingTrail, EachTypeWritesAtTheNextSlotAfterItsTimeGapWhenLowEnoughWrappingAroundAtCapacity)
{
    EXPECT_FLOAT_EQ(ring_height_limit(32.0f, 10.0f), kLimit);
    for (auto [type, gap, size] : {std::tuple{kRingTypePlayer, 5, 170.0f}, {kRingTypeOpponent, 50, 100.0f},
                                   {kRingTypeCollectable, 500, 100.0f}}) {
        SCOPED_TRACE(type);
        RingTrail t(kCollectableRingTrailCapacity);
        for (const RingRecord& r : t.records) EXPECT_FALSE(ring_visible(r));
        EXPECT_FALSE(record_ring(t, type, 10000, kLimit + 0.01f, kLimit, 0, 0));
        ASSERT_TRUE(record_ring(t, type, 10000, kLimit, kLimit, 4096.0f, 512.0f));
        EXPECT_EQ(t.current, 1);
        const RingRecord& r = t.records[1];
        EXPECT_TRUE(r.strength == 100 && r.time == 10000) << int(r.strength) << " at " << r.time;
        EXPECT_FLOAT_EQ(r.size, size);
        EXPECT_TRUE(r.x == 4096.0f && r.z == 512.0f);
        EXPECT_FALSE(record_ring(t, type, 10000 + gap, 0.0f, kLimit, 0, 0));
        EXPECT_EQ(t.current, 1);
        EXPECT_TRUE(record_ring(t, type, 10000 + gap + 1, 0.0f, kLimit, 0, 0));
        EXPECT_EQ(t.current, 2);
    }
    RingTrail t;
    for (const RingRecord& r : t.records) EXPECT_FALSE(ring_visible(r));
    EXPECT_FALSE(record_ring(t, 12222, 100000, 0.0f, kLimit, 0, 0)) << "not a type that leaves rings";
    EXPECT_EQ(t.current, 0);

    // The trail wraps around at its capacity, overwriting the oldest ring.
    RingTrail w(kCollectableRingTrailCapacity);
    int32_t time = 1000;
    for (int i = 0; i < 8; ++i, time += 1000)
        ASSERT_TRUE(record_ring(w, kRingTypeCollectable, time, 0.0f, kLimit, float(i), 0));
    EXPECT_EQ(w.current, 0); // slots 1..7, then 0
    EXPECT_FLOAT_EQ(w.records[0].x, 7.0f);
    ASSERT_TRUE(record_ring(w, kRingTypeCollectable, time, 0.0f, kLimit, 8.0f, 0));
    EXPECT_EQ(w.current, 1);
    EXPECT_FLOAT_EQ(w.records[1].x, 8.0f); // the first ring written is gone
    EXPECT_FLOAT_EQ(w.records[2].x, 1.0f);
}

TEST(RingTrail, AgeingFadesAndGrowsVisibleRingsOnlyAndAFreshRingLastsTheSameTimeAtAnyFrameRate)
{
    RingTrail t;
    t.records[3] = RingRecord{100, 0, 170.0f, 0, 0};
    t.records[4] = RingRecord{10, 0, 500.0f, 0, 0}; // no longer drawn: left alone
    t.records[5] = RingRecord{11, 0, 100.0f, 0, 0};
    age_rings(t, 0.2f, 0.1f); // a tenth of a second of the clock at the game's time scale 2
    EXPECT_EQ(t.records[3].strength, 94) << "a tenth of a second of the clock holds six steps";
    EXPECT_FLOAT_EQ(t.records[3].size, 240.0f) << "the growth follows the game's time";
    EXPECT_FLOAT_EQ(t.records[4].size, 500.0f);
    EXPECT_EQ(t.records[5].strength, 10) << "fading stops at the visible limit";
    EXPECT_FALSE(ring_visible(t.records[5]));
    age_rings(t, 0.2f, 0.1f);
    EXPECT_FLOAT_EQ(t.records[5].size, 170.0f) << "grew once, then no more";

    // A fresh ring lasts a second and a half of the clock at any frame rate and time scale; at
    // 60 frames a second that is one step a frame. A stopped clock fades nothing, a broken one
    // ends the ring.
    const float inf = std::numeric_limits<float>::infinity();
    for (auto [dt, frames] : {std::tuple{1.0f / 60, 90}, {1.0f / 30, 45}, {0.1f, 15}, {1.0f / 120, 180},
                              {1.0f / 144, 216}, {0.0f, 1000}, {-0.5f, 1000}, {inf, 1}}) {
        SCOPED_TRACE(dt);
        RingTrail fresh;
        ASSERT_TRUE(record_ring(fresh, kRingTypePlayer, 1000, 0.0f, kLimit, 0, 0));
        int n = 0;
        for (; ring_visible(fresh.records[fresh.current]) && n < 1000; ++n) age_rings(fresh, 2.0f * dt, dt);
        EXPECT_EQ(n, frames);
    }
}

// The quiet core is where the ring program's envelope has fallen below its cut: drawing only
// outside it must never lose a fragment the program would have kept.
TEST(RingTrail, QuietCoreLiesWhereTheProgramDiscardsEverything)
{
    struct Case { float size, height; } cases[] = {{10, 0.5f}, {200, 0.5f}, {600, 0.02f}, {2000, 0.01f}, {3000, 0.005f}, {50, 0.0041f}};
    for (const Case& c : cases) {
        const float core = ring_quiet_core(c.size, c.height);
        ASSERT_GE(core, 0.0f);
        ASSERT_LT(core, 1.0f) << c.size;
        // The program's envelope at the core's edge, at most its cut.
        const float depth = (1.0f - core) * c.size, band = 36.0f + 0.18f * c.size;
        if (core > 0.0f) {
            EXPECT_LT(std::exp(-depth / band) * c.height, 0.004f) << c.size;
        }
    }
    EXPECT_EQ(ring_quiet_core(500, 0.5f), 0.0f) << "a strong ring's wave reaches its centre";
    EXPECT_GT(ring_quiet_core(3000, 0.01f), 0.5f) << "an old wide ring is a thin band";
    EXPECT_EQ(ring_quiet_core(500, 0.004f), 1.0f) << "a ring too weak to pass the cut is not drawn";
    EXPECT_EQ(ring_quiet_core(0, 0.5f), 1.0f);
}

// Seen by an eye at the origin looking down -z (the identity view), a ring counts as in view
// while its circle's bounding sphere touches the square 90-degree frustum.
TEST(RingTrail, RingsOutsideTheRingImagesViewAreLeftOut)
{
    const double view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    struct Case { float x, z, radius; bool in_view; } cases[] = {
        {0, -50, 1, true},      // straight ahead
        {0, 50, 1, false},      // behind the eye
        {0, 50, 60, true},      // behind, but wide enough to reach past it
        {200, -50, 1, false},   // far off to the side
        {200, -50, 150, true},  // off to the side, reaching in
        {49, -50, 0.1f, true},  // just inside the side plane
        {0, -0.5f, 0.1f, false}, // nearer than the near plane
    };
    for (const Case& c : cases)
        EXPECT_EQ(ring_reaches_view(view, c.x, c.z, c.radius, 1.0f), c.in_view) << c.x << " " << c.z << " " << c.radius;
}
