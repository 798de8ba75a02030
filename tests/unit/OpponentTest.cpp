// Opponents steering toward crystals, and the eskel ship over a ramp.

#include "GameplayTestKit.h"
#include "TerrainTestKit.h"

#include "Ai/EskelShip.h"
#include "Ai/Steering.h"

#include <algorithm>
#include <cmath>

TEST(Steering, ClassesAtAndAroundEachThreshold)
{
    const SteeringThresholds t{10, 30, 60, 120};
    // The angle of the aim from the nose, positive toward +x, and its class.
    for (auto [degrees, expected] : {std::pair{0.0f, 2}, {9.9f, 2}, {-9.9f, 2}, {10.1f, 0}, {-10.1f, 1}, {29.9f, 0},
                                     {-29.9f, 1}, {30.1f, 4}, {-30.1f, 3}, {59.9f, 4}, {-59.9f, 3}, {60.1f, 6},
                                     {-60.1f, 5}, {119.9f, 6}, {-119.9f, 5}, {120.1f, 2}, {-120.1f, 2}, {179.0f, 2}}) {
        float a = degrees * 3.14159265f / 180.0f;
        EXPECT_EQ(classify_offset(5 * std::sin(a), -5 * std::cos(a), t), expected) << degrees;
    }
    // Exactly ahead or exactly behind: x is 0, which is always straight on.
    EXPECT_EQ(classify_offset(0, -3, t), 2);
    EXPECT_EQ(classify_offset(0, 3, t), 2);
}

TEST(Steering, NearestRecordIsTheSmallestDistanceAndTheLaterOneAmongEquals)
{
    struct Case {
        std::vector<float> distances;
        int expected;
    } cases[] = {{{}, -1}, {{7}, 0}, {{5, 3, 4}, 1}, {{5, 3, 3}, 2}, {{2, 2, 2}, 2}};
    for (const Case& c : cases) {
        std::vector<TargetRecord> records(c.distances.size());
        for (size_t i = 0; i < records.size(); ++i) records[i].distance = c.distances[i];
        EXPECT_EQ(nearest_record(records), c.expected) << c.distances.size();
    }
}

class Opponents : public GameWorld {
protected:
    void SetUp() override
    {
        GameWorld::SetUp();
        saved_maker = EskelShip::make_crystal_instance;
        EskelShip::make_crystal_instance = []() -> Md2Instance* { return nullptr; };
    }
    void TearDown() override
    {
        EskelShip::make_crystal_instance = saved_maker;
        GameWorld::TearDown();
    }
    EskelShip* make_ship(const NxVec3& at)
    {
        EskelShip* s = new EskelShip(game_file("config/objects/defaultEskel.p").c_str(), scene, at, nullptr);
        s->map = &empty_map;
        testing::internal::CaptureStderr();
        ai->register_object(s);
        testing::internal::GetCapturedStderr();
        return s;
    }

    HeightMap empty_map;
    Md2Instance* (*saved_maker)() = nullptr;
};

TEST_F(Opponents, WithoutWeightsNoTargetIsChosenAndTheOpponentFollowsTheShip)
{
    ground_plane(0);
    Opponent* o = make_opponent(NxVec3(0, 1.5f, 0));
    o->attack = o->box_collect = 0; // as read from attack=0 and boxCollect=0
    make_crystal(NxVec3(0, 0.5f, -10)); // straight ahead, close
    EskelShip* ship = make_ship(NxVec3(40, 20, 0)); // far off to the +x side
    ship->next_drop_time = clock_ms + 1000000;
    o->update();
    EXPECT_EQ(o->target, -1);
    EXPECT_EQ(o->mode, 0);
    EXPECT_TRUE(o->turn_negative); // toward +x, where the ship is
    EXPECT_FALSE(o->turn_positive);
}

TEST_F(Opponents, AnOpponentOnFlatGroundDrivesIntoACrystalAndScores)
{
    flat_ground(10);
    Opponent* o = make_opponent(NxVec3(20, 11.5f, 70));
    make_crystal(NxVec3(45, 10.5f, 40)); // ahead and off to the right
    for (int i = 0; i < 500 && o->get_points() == 0; ++i) frame(0.04f);
    EXPECT_EQ(o->get_points(), 20); // value 10, multiplier 2: the chased crystal is told so
    EXPECT_TRUE(ai->collectables.empty());
    EXPECT_EQ(sounds_named("collect"), 1);
}

TEST(EskelShipRules, LiftPullsTowardTheHeightAndSlowsTheShipWhileItIsTooLow)
{
    for (auto [y, lift, divisor] : {std::tuple{20.0f, 50.0f, 6.0f}, {25.0f, 0.0f, 1.0f}, {27.0f, -20.0f, 1.0f},
                                    {24.5f, 5.0f, 1.5f}}) {
        EXPECT_FLOAT_EQ(ship_lift(15, 10, y).lift, lift) << y;
        EXPECT_FLOAT_EQ(ship_lift(15, 10, y).divisor, divisor) << y;
    }
}

TEST(EskelShipRules, GroundHeightIsTheHighestOfSixPointsAndZeroOffTheMap)
{
    HeightMap map;
    // Physics map 16 x 16: a single high sample at (10, 4), everything else 1000.
    make_height_map(map, 128, 8, [](int x, int z) { return (x == 10 && z == 4) ? 5000 : 1000; });
    struct Case {
        float x, z, expected;
    } cases[] = {
        {10.5f, 4.5f, 50},        // the centre point on the high sample
        {9.0f, 6.0f, 50},         // (x + 0.75 ex, z - 0.75 ez) lands on it
        {10.0f, 7.0f, 50},        // (x, z - 1.5 ez) lands on it
        {3.0f, 12.0f, 10},        // only the low samples
        {-40.0f, -40.0f, 0},      // wholly off the map
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(ship_ground_height(map, 0.01f, c.x, c.z, 2.0f, 2.0f), c.expected) << c.x << "," << c.z;
}

TEST_F(Opponents, TheShipHoldsItsHeightAboveARampAndReachesItsWaypoint)
{
    HeightMap ramp;
    // Physics map 64 x 64 rising along x: one unit of height per 2 units of x.
    make_height_map(ramp, 512, 16, [](int x, int) { return static_cast<uint16_t>(x * 50); });
    EskelShip* ship = make_ship(NxVec3(10, 30, 50));
    ship->map = &ramp;
    ship->sample_height = 0.01f;
    ship->next_drop_time = clock_ms + 10000000;
    ship->waypoint = NxVec3(50, 30, 15);
    ship->square[0] = 50 - ship->p_size, ship->square[1] = 50 + ship->p_size;
    ship->square[2] = 15 - ship->p_size, ship->square[3] = 15 + ship->p_size;
    ship->next_waypoint_time = clock_ms + 10000000;
    float worst = 0;
    bool reached = false;
    for (int i = 0; i < 1500 && !reached; ++i) {
        frame(0.04f);
        reached = ship->waypoint.x != 50.0f;
        NxVec3 p = ship->actor->getGlobalPosition();
        float target = ship->ground_offset + ship_ground_height(ramp, 0.01f, p.x, p.z, ship->half_extents.x,
                                                                 ship->half_extents.z);
        if (i > 250) worst = std::max(worst, std::fabs(p.y - target));
    }
    EXPECT_TRUE(reached);
    EXPECT_LT(worst, 2.0f);
    // Frozen in x and z rotation: it never tilts.
    EXPECT_GT(ship->actor->getGlobalOrientation().getColumn(1).y, 0.999f);
}
