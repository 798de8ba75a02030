// The human model of the player: the aim it reads off the overlay (radar, markers, arrow, the
// ship) and the keys it presses a reaction time later.
#include "Ai/HumanPilot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace {

// A radar at (900, 600) of 100 pixels whose rim is 100 m away (32 graphics units a metre).
RaceOverlay radar_overlay()
{
    RaceOverlay o;
    o.radar.shown = true;
    o.radar.cx = 900;
    o.radar.cy = 600;
    o.radar.radius = 100;
    o.radar.range = 3200;
    return o;
}

RadarMark mark(RadarMarkKind kind, int index, float dx, float dy, int points = 10, bool rim = false)
{
    RadarMark m;
    m.kind = kind;
    m.index = index;
    m.points = points;
    m.on_rim = rim;
    m.x = 900 + dx;
    m.y = 600 + dy;
    return m;
}

// A 1024 x 768 picture at 60 degrees, 32 graphics units a metre.
const ScreenFacts kFacts{1024, 768, 60, 32};

TEST(HumanPilotTest, TheAimIsReadOffTheScreenAsAPlayerSeesIt)
{
    const float focal = 384.0f / std::tan(30.0f * 3.14159265f / 180.0f);

    struct Case {
        const char* what;
        RaceOverlay overlay;
        bool crystal;
        float bearing, distance_m;
    };
    std::vector<Case> cases;
    RaceOverlay o = radar_overlay();
    o.radar.marks = {mark(RADAR_CRYSTAL, 0, 30, 30), mark(RADAR_CRYSTAL, 1, -10, 60)};
    cases.push_back({"the nearer of two crystals on the radar, ahead right", o, true, 45, std::hypot(30.f, 30.f)});
    o.radar.marks = {mark(RADAR_CRYSTAL, 0, 30, 30), mark(RADAR_CRYSTAL, 1, 0, 80, 60),
                     mark(RADAR_OPPONENT, 0, 60, 0)};
    cases.push_back({"the worthier crystal, farther straight ahead", o, true, 0, 80});
    o.radar.marks[1].points = 10;
    o.radar.marks.push_back(mark(RADAR_OPPONENT, 1, 31, 29));
    cases.push_back({"an opponent stands at the nearer one", o, true, 0, 80});
    o = radar_overlay();
    CrystalMarker k;
    k.x = 512 + 200;
    k.y = 300;
    k.distance_m = 140;
    k.points = 20;
    k.crystal = 3;
    o.markers.push_back(k);
    cases.push_back({"a marker beyond the radar, across the picture", o, true, std::atan(200 / focal) * 180 / 3.14159265f,
                     140});
    o = radar_overlay();
    o.arrow.shown = true;
    o.arrow.angle = 3.14159265f;
    o.arrow.distance_m = 300;
    o.arrow.crystal = 2;
    o.radar.marks = {mark(RADAR_SHIP, 0, 0, 100, 0, true)};
    cases.push_back({"only the edge arrow, to the left", o, true, -90, 300});
    o.arrow.behind = true;
    o.arrow.angle = 0;
    cases.push_back({"the arrow of a crystal behind, to the right", o, true, 150, 300});
    o.arrow.shown = false;
    cases.push_back({"no crystal anywhere: the ship on the radar's rim ahead", o, false, 0, -1});
    for (const Case& c : cases) {
        const HumanSight s = read_screen(c.overlay, kFacts, nullptr);
        ASSERT_TRUE(s.has_aim) << c.what;
        EXPECT_EQ(s.crystal, c.crystal) << c.what;
        EXPECT_NEAR(s.bearing, c.bearing, 0.5f) << c.what;
        EXPECT_NEAR(s.distance_m, c.distance_m, 0.5f) << c.what;
    }
    EXPECT_FALSE(read_screen(RaceOverlay(), kFacts, nullptr).has_aim) << "a screen without marks gives no aim";
}

TEST(HumanPilotTest, ActsOnWhatItSawAReactionTimeAgoLessTheTurnItHasHeldSince)
{
    RaceOverlay o = radar_overlay();
    o.radar.marks = {mark(RADAR_CRYSTAL, 0, 50, 86.6f)}; // 30 degrees to the right
    HumanPilot pilot;
    const float at[3] = {0, 0, 0};
    pilot.look(o, kFacts, 0.0f, at);
    o.radar.marks = {mark(RADAR_CRYSTAL, 0, -50, 86.6f)}; // seen later: to the left
    pilot.look(o, kFacts, 0.2f, at);

    struct Step {
        float time;
        bool forward, left, right;
    };
    const Step steps[] = {
        {0.20f, false, false, false}, // nothing seen a reaction time ago yet
        {0.25f, true, false, true},   // the first look: 30 degrees right
        {0.35f, true, false, false},  // 0.1 s of right turn since makes it 5 degrees: straight on
        {0.50f, false, true, false},  // the second look: 30 degrees left and the turn held since, 55: on the spot
    };
    for (const Step& s : steps) {
        const PlayerControls c = pilot.act(s.time);
        EXPECT_EQ(std::tuple(c.forward, c.backward, c.left, c.right), std::tuple(s.forward, false, s.left, s.right))
            << s.time;
    }
}

} // namespace
