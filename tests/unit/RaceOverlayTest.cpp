// Seeing the race: the snapshot of the race read from the AI manager, the overlay laid out
// from it (crystal markers, the edge arrow, the radar) as the screen shows it, and what draws
// it without being GL: the overlay's atlas of marks, the radar's land image, the crystals' beams
// and the rings the movers leave on the water.
#include "GameplayTestKit.h"

#include "Ai/RaceView.h"
#include "Common/Camera.h"
#include "Common/OverlayAtlas.h"
#include "Common/RaceOverlay.h"
#include "Common/RadarLand.h"
#include "Gfx/CrystalBeams.h"
#include "Gfx/RingTrail.h"

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

namespace {

const float kPi = 3.14159265358979f;
// tan(30 degrees): a point at depth d is at the window's top edge d * kTan30 above the view's axis.
const float kTan30 = 0.577350269f;

RaceCrystal crystal_at(float x, float y, float z, int multiplier = 1)
{
    RaceCrystal c;
    c.pos[0] = x;
    c.pos[1] = y;
    c.pos[2] = z;
    c.value = 10;
    c.multiplier = multiplier;
    c.points = 10 * multiplier;
    return c;
}

RaceView race_with_crystals(std::initializer_list<RaceCrystal> crystals)
{
    RaceView v;
    v.units_per_metre = 32;
    v.crystals = crystals;
    return v;
}

// The player at (x, 100, z), its nose `heading` degrees round from +x toward -z.
RaceView race_with_player(float x, float z, float heading)
{
    RaceView v = race_with_crystals({});
    v.has_player = true;
    v.player[0] = x;
    v.player[1] = 100;
    v.player[2] = z;
    v.heading = heading;
    return v;
}

uint8_t alpha_at(const std::vector<uint8_t>& atlas, AtlasShape shape, int x, int y)
{
    return atlas[(size_t(y) * kAtlasWidth + size_t(shape) * kAtlasCell + x) * 4 + 3];
}

OverlaySettings window(int w, int h)
{
    OverlaySettings s;
    s.width = w;
    s.height = h;
    return s;
}

// Laid out for an eye at the origin looking along -z (dir = +z), up +y, side +x: 60 degrees,
// by default in a 400 x 300 window.
RaceOverlay laid_out(const RaceView& v, const OverlaySettings& s = window(400, 300))
{
    Camera eye(60.0f, 1.5f, 350000.0f);
    eye.set_aspect(float(s.width) / float(s.height));
    RaceOverlay o;
    layout_race_overlay(v, eye, s, o);
    return o;
}

} // namespace

// A 1 m crystal (32 units) 500 units away shows 32 / (500 tan 30) * 150 = 16.6 pixels; the ring is
// 1.8 times that. Far away it keeps the smallest size, 12 pixels in a 300-pixel window (larger in
// proportion in a 768-pixel one); at 60 points it is 1.4 times as large.
TEST(RaceOverlay, ACrystalInViewGetsAMarkerWhereItShowsGrowingUpCloseAndWithItsWorth)
{
    // The crystal and its multiplier, whether it is marked, where (window pixels) and how large.
    struct Case {
        const char* what;
        float x, y, z;
        int multiplier;
        bool marked;
        float px, py, size;
        int window_h = 300;
    };
    const float d = 3000, side = d * kTan30 * 4 / 3;
    const Case cases[] = {
        {"straight ahead: the window's centre", 0, 0, -d, 1, true, 200, 150, 12},
        {"just under the top edge", 0, 0.98f * d * kTan30, -d, 1, true, 200, 297, 12},
        {"half way to the right edge (aspect 4:3)", 0.5f * side, 0, -d, 1, true, 300, 150, 12},
        {"just beyond the left edge", -1.01f * side, 0, -d, 1, false, 0, 0, 0},
        {"behind the eye", 0, 0, d, 1, false, 0, 0, 0},
        // The radar's centre (346, 246) of the 400 x 300 window: 0.73 and 0.64 of the way out.
        {"under the radar, which covers it", 0.73f * side, 0.64f * d * kTan30, -d, 1, false, 0, 0, 0},
        {"up close", 0, 0, -500, 1, true, 200, 150, 1.8f * 16.628f},
        {"far away, worth 60", 0, 0, -20000, 6, true, 200, 150, 12 * 1.4f},
        {"far away, worth 30", 0, 0, -20000, 3, true, 200, 150, 12 * 1.16f},
        {"far away in a 1024 x 768 window", 0, 0, -20000, 1, true, 512, 384, 18 * 768 / 600.0f, 768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RaceOverlay o = laid_out(race_with_crystals({crystal_at(c.x, c.y, c.z, c.multiplier)}),
                                       window(c.window_h * 4 / 3, c.window_h));
        ASSERT_EQ(o.markers.size(), c.marked ? 1u : 0u);
        if (!c.marked) continue;
        EXPECT_NEAR(o.markers[0].x, c.px, 0.01);
        EXPECT_NEAR(o.markers[0].y, c.py, 0.01);
        EXPECT_NEAR(o.markers[0].size, c.size, 0.05);
        EXPECT_EQ(o.markers[0].points, 10 * c.multiplier);
        ASSERT_EQ(o.labels.size(), 1u);
        EXPECT_EQ(std::string(o.labels[0].text), std::to_string(10 * c.multiplier));
        EXPECT_GT(o.labels[0].y, o.markers[0].y + 0.5f * o.markers[0].size) << "the worth stands above the ring";
    }
}

// The arrow is 16 pixels, inset 13.6 from the edge of the 400 x 300 window. The scores take
// 130 x 170 pixels of the bottom-left corner when they are there; the arrow keeps 13.6 clear of them.
TEST(RaceOverlay, WithNoCrystalInViewAnArrowAtTheEdgePointsToTheNearestWithItsDistance)
{
    // The nearest crystal, the arrow's centre, its angle and whether it points behind, the scores' width.
    struct Case { const char* what; float x, y, z, ax, ay, angle_deg; bool behind; float scores_width = 0; };
    const float in = 13.6f;
    const Case cases[] = {
        {"beside, to the right", 5000, 0, -10, 400 - in, 150, 0, false},
        {"beside, to the left", -5000, 0, -10, in, 150, 180, false},
        {"ahead and far above the view", 0, 50000, -1000, 200, 300 - in, 90, false},
        {"straight behind: down", 0, 0, 3000, 200, in, -90, true},
        {"behind and to the left: the left edge", -3000, 0, 3000, in, 150, 180, true},
        {"behind and below to the right: the bottom right", 3000, -3000, 3000, 200 + (150 - in), in, -45, true},
        {"behind and above, to the right: taken as level", 3000, 3000, 3000, 400 - in, 150, 0, true},
        // The radar (centre 346, 246, radius 48, rim 2.4) keeps 64 pixels around it clear.
        {"up and right, toward the radar: left along the top edge past it", 5000, 3750, -10, 282, 300 - in, 36.87f, false},
        {"right and up, toward the radar: down the right edge past it", 5000, 2500, -10, 400 - in, 182, 26.565f, false},
        {"on the left edge beside the scores: above them", -5000, 0, -10, in, 170 + in, 180, false, 130},
        {"on the bottom edge under the scores: right of them", -3000, -6000, 3000, 130 + in, in, -116.57f, true, 130},
        {"on the bottom edge past the scores: where it was", 0, 0, 3000, 200, in, -90, true, 130},
        {"scores wider than the window: inside its corner", -3000, -6000, 3000, 400 - in, in, -116.57f, true, 395},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OverlaySettings s = window(400, 300);
        if (c.scores_width > 0) s.scores_box[0] = c.scores_width, s.scores_box[1] = 170;
        const RaceOverlay o = laid_out(race_with_crystals({crystal_at(c.x, c.y, c.z, 2), crystal_at(0, 0, 90000)}), s);
        EXPECT_TRUE(o.markers.empty());
        ASSERT_TRUE(o.arrow.shown);
        EXPECT_EQ(o.arrow.crystal, 0);
        EXPECT_EQ(o.arrow.behind, c.behind);
        EXPECT_NEAR(o.arrow.x, c.ax, 0.05);
        EXPECT_NEAR(o.arrow.y, c.ay, 0.05);
        EXPECT_NEAR(o.arrow.angle * 180 / kPi, c.angle_deg, 0.05);
        const float dist = std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z) / 32;
        EXPECT_NEAR(o.arrow.distance_m, dist, 0.01);
        EXPECT_EQ(o.arrow.points, 20);
        // The distance in metres, inside the window.
        ASSERT_EQ(o.labels.size(), 1u);
        EXPECT_EQ(std::string(o.labels[0].text), std::to_string(std::lround(dist)) + " m");
        EXPECT_GT(o.labels[0].y, 0);
        EXPECT_LT(o.labels[0].y + o.labels[0].height, 300);
    }
    // A crystal in view shows no arrow, and nothing at all shows none either.
    EXPECT_FALSE(laid_out(race_with_crystals({crystal_at(0, 0, -3000), crystal_at(0, 0, 100)})).arrow.shown);
    const RaceOverlay none = laid_out(race_with_crystals({}));
    EXPECT_FALSE(none.arrow.shown);
    EXPECT_TRUE(none.labels.empty());
}

// The range is 0.15 of the 8192-unit map: 1228.8 units to the rim.
TEST(RaceOverlay, TheRadarSitsInTheTopRightCornerOverTheLandAroundThePlayerTurnsWithItAndKeepsFarMarksOnItsRim)
{
    // The heading (degrees: 0 along +x, 90 along -z), a crystal relative to the player, and where
    // it shows relative to the radar's centre, in parts of its radius.
    struct Case { const char* what; float heading, x, z, ox, oy; bool on_rim; };
    const Case cases[] = {
        {"nose along +x, a crystal ahead: straight up", 0, 614.4f, 0, 0, 0.5f, false},
        {"nose along +x, a crystal along +z: to the right", 0, 0, 614.4f, 0.5f, 0, false},
        {"nose along +z, a crystal along +x: to the left", -90, 614.4f, 0, -0.5f, 0, false},
        {"nose at 45 degrees, a crystal behind", 45, -375, 375, 0, -530.33f / 1228.8f, false},
        {"beyond the range: on the rim, in its direction", 0, 0, -9000, -1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RaceView v = race_with_player(4000, 3000, c.heading);
        v.crystals = {crystal_at(4000 + c.x, 0, 3000 + c.z)};
        const RaceOverlay o = laid_out(v);
        const RadarLayout& r = o.radar;
        ASSERT_TRUE(r.shown);
        ASSERT_EQ(r.marks.size(), 2u);
        const RadarMark& m = r.marks[0];
        EXPECT_EQ(m.kind, RADAR_CRYSTAL);
        EXPECT_EQ(m.on_rim, c.on_rim);
        // A mark on the rim stays wholly inside it.
        const float reach = c.on_rim ? r.radius - 0.5f * m.size : r.radius;
        EXPECT_NEAR(m.x - r.cx, c.ox * reach, 0.05);
        EXPECT_NEAR(m.y - r.cy, c.oy * reach, 0.05);
        EXPECT_EQ(r.marks[1].kind, RADAR_PLAYER) << "the player last, on top";
        EXPECT_NEAR(r.marks[1].x, r.cx, 1e-3);
        EXPECT_NEAR(r.marks[1].y, r.cy, 1e-3);
    }

    // The radar sits in the top right corner, over the land around the player.
    RaceView v = race_with_player(2048, 6144, 90); // nose along -z
    v.opponents.resize(5);
    v.has_ship = true;
    RaceOverlay o;
    for (auto [w, h, radius] : {std::tuple{400, 300, 48.0f}, {1024, 768, 122.88f}, {200, 200, 40.0f}}) {
        o = laid_out(v, window(w, h));
        const RadarLayout& r = o.radar;
        EXPECT_NEAR(r.radius, radius, 1e-3) << w;
        EXPECT_GT(r.cx - r.radius, 0.5f * w) << w;
        EXPECT_GT(r.cy - r.radius, 0.5f * h) << w;
        EXPECT_LT(r.cx + r.radius, float(w)) << w;
        EXPECT_LT(r.cy + r.radius, float(h)) << w;
        EXPECT_EQ(r.marks.size(), 7u) << "five opponents, the ship and the player";
    }
    const RadarLayout& r = o.radar;
    // The land disc: its centre reads the land image under the player, its top (ahead, -z) the
    // ground one range ahead, its right (+x for a nose along -z) one range to the side.
    ASSERT_EQ(r.land.size(), 50u);
    EXPECT_NEAR(r.land[0].s, 0.25f, 1e-5);
    EXPECT_NEAR(r.land[0].t, 0.75f, 1e-5);
    EXPECT_NEAR(r.land[1].x, r.cx + r.radius, 1e-3); // angle 0: the right
    EXPECT_NEAR(r.land[1].s, 0.25f + 0.15f, 1e-5);
    EXPECT_NEAR(r.land[13].y, r.cy + r.radius, 1e-3); // angle 90: the top
    EXPECT_NEAR(r.land[13].t, 0.75f - 0.15f, 1e-5);
    EXPECT_EQ(r.land.back().x, r.land[1].x) << "closed";
    // Key X puts the radar away: judged on the screen (RaceViewTest).
}

using RaceViewOfTheGame = GameWorld;

TEST_F(RaceViewOfTheGame, ReadsEveryoneInGraphicsUnitsAndEachCrystalsWorthNow)
{
    ground_plane(-50);
    set_gfx_mapping(NxVec3(32, 32, 32), NxVec3(0, -640, 0));
    PlayerImpl* p = make_player(NxVec3(10, 5, 20));
    NxMat34 pose;
    pose.M.rotY(30 * kPi / 180); // the nose turned from +x toward -z
    pose.t = NxVec3(10, 5, 20);
    p->actor->setGlobalPose(pose);
    p->add_points(40);
    make_opponent(NxVec3(50, 5, 50));
    make_opponent(NxVec3(60, 5, 50))->add_points(20);
    Collectable* a = make_crystal(NxVec3(30, 5, 30));
    Collectable* b = make_crystal(NxVec3(40, 5, 30));
    ai->update(0.0f); // synchronises every object (and the opponents choose their targets)
    a->multiplier = 1;
    b->multiplier = 3;

    RaceView v;
    read_race_view(*ai, v);
    EXPECT_TRUE(v.has_player && !v.has_ship);
    EXPECT_NEAR(v.heading, 30, 1e-3);
    ASSERT_EQ(v.opponents.size(), 2u);
    ASSERT_EQ(v.crystals.size(), 2u);
    // Positions in graphics units: 32 a physics unit, the player's height lowered by 640.
    EXPECT_EQ((std::vector<float>{v.player[0], v.player[1], v.opponents[1].pos[0], v.crystals[0].pos[2],
                                  v.units_per_metre}),
              (std::vector<float>{320, 5 * 32 - 640, 60 * 32, 30 * 32, 32}));
    EXPECT_EQ((std::vector<int>{v.player_points, v.opponents[1].points, v.crystals[0].points, v.crystals[1].points}),
              (std::vector<int>{40, 20, 10, 30}));

    // A crystal taken goes from the view at once.
    ai->collect(*a, p);
    read_race_view(*ai, v);
    ASSERT_EQ(v.crystals.size(), 1u);
    EXPECT_EQ(v.crystals[0].points, 30);
}

TEST(OverlayAtlas, EachShapeIsWhiteWithADarkRimInsideItsCell)
{
    std::vector<uint8_t> atlas;
    overlay_atlas_image(atlas);
    ASSERT_EQ(atlas.size(), size_t(kAtlasWidth) * kAtlasHeight * 4);
    const int c = kAtlasCell / 2;
    for (AtlasShape shape : {ATLAS_RING, ATLAS_DISC, ATLAS_DIAMOND, ATLAS_ARROW, ATLAS_SQUARE}) {
        // The cell's outer two pixels stay clear, so that smaller copies of the image never mix
        // one shape into its neighbour.
        for (int k = 0; k < kAtlasCell; ++k)
            for (int b : {0, 1, kAtlasCell - 2, kAtlasCell - 1}) {
                EXPECT_EQ(alpha_at(atlas, shape, k, b), 0) << shape << " " << k;
                EXPECT_EQ(alpha_at(atlas, shape, b, k), 0) << shape << " " << k;
            }
        // Going out from the middle along +u (the arrow's tip): white, then the dark rim.
        int white = 0, dark = 0;
        for (int x = c; x < kAtlasCell; ++x) {
            const uint8_t* p = &atlas[(size_t(c) * kAtlasWidth + size_t(shape) * kAtlasCell + x) * 4];
            white += p[3] > 200 && p[0] > 230;
            dark += p[3] > 150 && p[0] < 60;
        }
        EXPECT_GE(white, 2) << shape;
        EXPECT_GE(dark, 1) << shape;
    }
    // The ring is open in the middle (the crystal shows through it); the disc is not.
    EXPECT_EQ(alpha_at(atlas, ATLAS_RING, c, c), 0);
    EXPECT_GT(alpha_at(atlas, ATLAS_DISC, c, c), 200);
    // The arrow points along +u: its tip reaches farther right than its back reaches left.
    EXPECT_LT(atlas_shape_distance(ATLAS_ARROW, 0.6f, 0), 0);
    EXPECT_GT(atlas_shape_distance(ATLAS_ARROW, -0.6f, 0), 0);
    // The solid cell is read at one texel's middle.
    const AtlasCell solid = atlas_cell(ATLAS_SOLID);
    EXPECT_EQ(solid.s0, solid.s1);
    EXPECT_EQ(alpha_at(atlas, ATLAS_SOLID, c, c), 255);
}

TEST(RadarLand, WaterIsBlueLandGreenAndBeyondTheMapDeepWater)
{
    struct Case { const char* what; uint16_t sample; bool blue; };
    const Case cases[] = {{"deep water", 2000, true}, {"just under the water level", 16000, true},
                          {"the moor", 26000, false}, {"high ground", 60000, false}};
    for (const Case& c : cases) {
        HeightMap map;
        make_height_map(map, 64, 8, [&](int, int) { return c.sample; });
        std::vector<uint8_t> image;
        radar_land_image(map, 16, 0.25f, image);
        ASSERT_EQ(image.size(), 16u * 16 * 4);
        const uint8_t* middle = &image[(8 * 16 + 8) * 4];
        EXPECT_EQ(middle[2] > middle[0] + 40 && middle[2] > middle[1], c.blue) << c.what;
        const uint8_t* corner = &image[0];
        EXPECT_GT(corner[2], corner[0] + 40) << c.what << ": the border is water";
    }
    float moor[3], rock[3];
    radar_land_colour(0.4f, 0.25f, moor);
    radar_land_colour(0.95f, 0.25f, rock);
    EXPECT_GT(moor[1], moor[0] + 0.1f);
    EXPECT_LT(std::fabs(rock[0] - rock[1]), 0.05f) << "grey";

    // The light comes from the image's first corner: a slope rising away from it faces it and is
    // lighter than one falling the same way, at the same height.
    HeightMap up, down;
    make_height_map(up, 64, 8, [](int x, int) { return uint16_t(20000 + 3000 * x); });
    make_height_map(down, 64, 8, [](int x, int) { return uint16_t(20000 + 3000 * (6 - x)); });
    std::vector<uint8_t> a, b;
    radar_land_image(up, 16, 0.25f, a);
    radar_land_image(down, 16, 0.25f, b);
    const size_t middle = (7 * 16 + 7) * 4;
    EXPECT_GT(a[middle + 1], b[middle + 1]);
}

TEST(CrystalBeams, AColumnTurnedToTheEyeFadingUpwardAndWithDistance)
{
    // Faint at the eye, whole from a few hundred units, under half far across the map.
    const std::pair<float, float> fades[] = {{0, 0}, {150, 0}, {1000, 1}, {2000, 1}, {12000, 0.45f}, {40000, 0.45f}};
    for (auto [distance, fade] : fades) EXPECT_NEAR(beam_fade(distance), fade, 1e-4) << distance;
    EXPECT_GT(beam_fade(400), 0.1f);
    EXPECT_LT(beam_fade(400), 0.9f);

    Camera eye(60, 1.5f, 350000);
    RaceView v = race_with_crystals({crystal_at(0, 50, -1000)});
    BeamLook look;
    std::vector<BeamVertex> beams;
    build_crystal_beams(v, eye, 0.05f, look, beams);
    ASSERT_EQ(beams.size(), 16u);
    // The middle of the base is the brightest, the edges and the top add nothing.
    EXPECT_NEAR(beams[0].y, 50, 1e-4);
    EXPECT_NEAR(beams[0].a, look.strength * beam_fade(std::sqrt(1000.0f * 1000 + 50 * 50)), 1e-4);
    EXPECT_EQ(beams[1].a, 0);
    EXPECT_NEAR(beams[6].y, 50 + look.height, 1e-3);
    EXPECT_EQ(beams[7].a, 0);
    // Turned to the eye along z: the strip spreads along x, here by its least width, 3 pixels at
    // 0.05 per pixel and 1001 units.
    EXPECT_NEAR(std::fabs(beams[1].x), 0.5f * 3 * 0.05f * 1001.25f, 0.05f);
    EXPECT_NEAR(beams[1].z, -1000, 1e-3);
    // Near by, its own width; a crystal under the water shines from the surface.
    v.crystals[0].pos[2] = -300;
    v.crystals[0].pos[1] = -40;
    build_crystal_beams(v, eye, 0.01f, look, beams);
    ASSERT_EQ(beams.size(), 16u);
    EXPECT_NEAR(std::fabs(beams[1].x), look.half_width, 1e-4);
    EXPECT_EQ(beams[0].y, 0);
    // None within a few steps of the eye.
    v.crystals[0].pos[2] = -100;
    v.crystals[0].pos[1] = 0;
    build_crystal_beams(v, eye, 0.01f, look, beams);
    EXPECT_TRUE(beams.empty());
}

const float kLimit = 14.6875f; // 150 / 32 + 10

// A ring is left by the three types of mover, at most at the height limit, once the gap since the
// newest ring is strictly exceeded; the player's rings start larger.
TEST(RingTrail, EachTypeWritesAtTheNextSlotAfterItsTimeGapWhenLowEnoughWrappingAroundAtCapacity)
{
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
    struct Case { float size, height; } cases[] = {{10, 0.5f},     {200, 0.5f},     {600, 0.02f},
                                                   {2000, 0.01f}, {3000, 0.005f}, {50, 0.0041f}};
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
