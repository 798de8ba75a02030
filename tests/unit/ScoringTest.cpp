// Crystals and scoring through the AI manager's trigger report, expiry and restart; steering and the eskel ship.

#include "GameplayTestKit.h"

#include "Ai/EskelShip.h"
#include "Ai/Steering.h"

#include <algorithm>
#include <cmath>

class Scoring : public GameWorld {
protected:
    void SetUp() override
    {
        GameWorld::SetUp();
        ground_plane(-50);
    }
    // Each held where it is put: no gravity, no speed.
    template <class T> T* held(T* o, const NxVec3& at)
    {
        o->actor->raiseBodyFlag(NX_BF_DISABLE_GRAVITY);
        o->actor->setGlobalPosition(at);
        o->actor->setLinearVelocity(NxVec3(0, 0, 0));
        return o;
    }
    Collectable* crystal(const NxVec3& at) { return held(make_crystal(at), at); }
    Opponent* opponent(const NxVec3& at) { return held(make_opponent(at), at); }
    PlayerImpl* player(const NxVec3& at) { return held(make_player(at), at); }
    void physics_step() { step(*scene, 1, 0.04f); }
};

TEST_F(Scoring, CollectorsScoreValueTimesMultiplierAndTheCrystalGoesOnce)
{
    Collectable* c = crystal(NxVec3(0, 0, 0));
    c->multiplier = 3;
    PlayerImpl* p = player(NxVec3(30, 0, 0));
    Opponent* o = opponent(NxVec3(-30, 0, 0));
    physics_step();
    EXPECT_EQ(ai->player_points(), 0);
    // Both into the crystal's sensor in one step: both score, the crystal is removed once.
    p->actor->setGlobalPosition(NxVec3(1.2f, 0, 0));
    o->actor->setGlobalPosition(NxVec3(-1.2f, 0, 0));
    physics_step();
    EXPECT_EQ(ai->player_points(), 30);
    EXPECT_EQ(o->get_points(), 30);
    EXPECT_EQ(sounds_named("collect"), 2);
    EXPECT_TRUE(ai->collectables.empty());
    EXPECT_EQ(ai->removed.size(), 1u);
    const unsigned actors = scene->getNbActors();
    ai->flush();
    EXPECT_EQ(scene->getNbActors(), actors - 1) << "the crystal's actor goes with it";
}

TEST_F(Scoring, CrystalsTouchingSensorsScoreNothing)
{
    for (bool sensor_of_opponent : {false, true}) {
        SCOPED_TRACE(sensor_of_opponent ? "into an opponent's sensor" : "into a crystal's sensor");
        fresh_world();
        Collectable* moving = crystal(NxVec3(40, 0, 0));
        Opponent* o = sensor_of_opponent ? opponent(NxVec3(0, 0, 0)) : nullptr;
        if (!o) crystal(NxVec3(0, 0, 0));
        physics_step();
        // Into the other's sensor (an opponent's lies ahead of its nose, along -z), clear of the opponent's hull.
        moving->actor->setGlobalPosition(o ? NxVec3(0, 0.2f, -3.8f) : NxVec3(1, 0, 0));
        physics_step();
        EXPECT_EQ(ai->collectables.size(), o ? 1u : 2u);
        EXPECT_TRUE(ai->removed.empty());
        EXPECT_EQ(sounds_named("collect"), 0);
        EXPECT_EQ(o ? o->sensor_count : 0, 0);
    }
}

TEST_F(Scoring, TheSensorCountsEveryObjectInsideAndKeepsItsFirstTurnSide)
{
    Opponent* o = opponent(NxVec3(0, 0, 0));
    PlayerImpl* p = player(NxVec3(40, 0, 0));
    Opponent* other = opponent(NxVec3(-40, 0, 0));
    physics_step();
    p->actor->setGlobalPosition(NxVec3(0, 0.2f, -3.5f));
    physics_step();
    EXPECT_EQ(o->sensor_count, 1);
    bool side = o->turn_side;
    other->actor->setGlobalPosition(NxVec3(0, 0.2f, -2.5f));
    for (int i = 0; i < 8; ++i) physics_step(); // redraws would have changed the side by now
    EXPECT_EQ(o->sensor_count, 2);
    EXPECT_EQ(o->turn_side, side);
    o->decide_steering();
    EXPECT_EQ(o->turn_positive, side);
    EXPECT_FALSE(o->forward);
    p->actor->setGlobalPosition(NxVec3(40, 0, 0));
    physics_step();
    EXPECT_EQ(o->sensor_count, 1);
}

TEST_F(Scoring, AnExpiredCrystalVanishesForEveryChaser)
{
    Opponent* a = opponent(NxVec3(20, 0, 0));
    Opponent* b = opponent(NxVec3(-20, 0, 0));
    Collectable* c = crystal(NxVec3(0, 0, 0));
    a->update(0.04f);
    b->update(0.04f);
    ASSERT_EQ(c->multiplier, 3);
    hold_process_clock(c->expiry_time - 1);
    ai->update(0.04f);
    EXPECT_EQ(ai->collectables.size(), 1u);
    hold_process_clock(c->expiry_time);
    ai->update(0.04f);
    EXPECT_TRUE(ai->collectables.empty());
    EXPECT_EQ(sounds_named("vanished"), 2);
    EXPECT_EQ(a->target, -1);
    EXPECT_TRUE(b->candidates.empty());
    ai->remove_object(c); // a second removal, as of a crystal collected as it expires, does nothing
    EXPECT_EQ(ai->removed.size(), 1u);
    ai->flush();
}

TEST_F(Scoring, RestartPutsEveryoneOnTheCircleAtSpawnHeightWithNoPoints)
{
    ai->plane_d = 20; // the global height map is empty: the ground plane's height counts
    std::vector<Opponent*> opponents;
    for (int i = 0; i < 5; ++i) {
        opponents.push_back(opponent(NxVec3(10.0f * i, 40, 0)));
        opponents.back()->add_points(7);
    }
    PlayerImpl* p = player(NxVec3(0, 40, 40));
    p->add_points(50);
    crystal(NxVec3(5, 5, 5));
    const NxVec3 centre(256, 20, 256);
    ai->restart(centre, 128);
    EXPECT_TRUE(ai->collectables.empty());
    EXPECT_EQ(ai->player_points(), 0);
    EXPECT_EQ(ai->opponent_score_table(), std::vector<int>(5, 0));
    for (int i = 0; i <= 5; ++i) {
        MovingObject* o = i < 5 ? static_cast<MovingObject*>(opponents[i]) : p;
        float a = i * 2 * 3.14159265f / 6;
        // Height: the plane at 20, plus 5, plus half the hull's height.
        const NxVec3 start(256 + 128 * std::cos(a), 25.5f, 256 + 128 * std::sin(a));
        EXPECT_LT(o->actor->getGlobalPosition().distance(start), 1e-3f) << i;
        EXPECT_NEAR(o->actor->getGlobalOrientation().getColumn(1).y, 1.0f, 1e-5f) << i;
        // The opponents (noses along -z) face the centre; the player (nose along +x) drives
        // along the circle with the centre on its left.
        NxVec3 to_centre(-std::cos(a), 0, -std::sin(a));
        NxVec3 nose = i < 5 ? -o->actor->getGlobalOrientation().getColumn(2) : p->forward_axis();
        NxVec3 aim = i < 5 ? to_centre : to_centre.cross(NxVec3(0, 1, 0));
        EXPECT_GT(nose.dot(aim), 0.999f) << i;
    }
    ai->flush();
}

TEST(AiManagerTrigger, ReportAboutANonTriggerShapeIsAnAssertion)
{
    EXPECT_EXIT(
        {
            NxPhysicsSDK* sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION);
            NxScene* scene = sdk->createScene(NxSceneDesc());
            NxActor* a = make_box(*scene, NxVec3(0, 0, 0), NxVec3(1));
            AiManager manager;
            manager.onTrigger(*a->getShapes()[0], *a->getShapes()[0], NX_TRIGGER_ON_ENTER);
        },
        ::testing::ExitedWithCode(3), "triggerShape.getFlag\\(NX_TRIGGER_ENABLE\\)");
}

TEST(Steering, ClassesAtAndAroundEachThresholdAndTheNearestRecordIsTheLaterOneAmongEquals)
{
    const SteeringThresholds t{10, 30, 60, 120};
    // The angle of the aim from the nose, positive toward +x, and its class.
    for (auto [degrees, expected] : {std::pair{0.0f, 2}, {9.9f, 2}, {-9.9f, 2}, {10.1f, 0}, {-10.1f, 1}, {29.9f, 0},
                                     {-29.9f, 1}, {30.1f, 4}, {-30.1f, 3}, {59.9f, 4}, {-59.9f, 3}, {60.1f, 6},
                                     {-60.1f, 5}, {119.9f, 6}, {-119.9f, 5}, {120.1f, 2}, {-120.1f, 2}, {179.0f, 2}}) {
        float a = degrees * 3.14159265f / 180.0f;
        EXPECT_EQ(classify_offset(5 * std::sin(a), -5 * std::cos(a), t), expected) << degrees;
    }
    EXPECT_EQ(classify_offset(0, 3, t), 2) << "exactly behind, x is 0: straight on";

    // The nearest record is the one of the smallest distance, the later one among equals.
    using Distances = std::vector<float>;
    for (const auto& [distances, expected] : {std::pair<Distances, int>{{}, -1}, {{7}, 0}, {{5, 3, 4}, 1},
                                              {{5, 3, 3}, 2}, {{2, 2, 2}, 2}}) {
        std::vector<TargetRecord> records(distances.size());
        for (size_t i = 0; i < records.size(); ++i) records[i].distance = distances[i];
        EXPECT_EQ(nearest_record(records), expected) << distances.size();
    }
}

// An opponent driving into a crystal it chases is judged in the game (GameplayTest's score lines).
class Opponents : public GameWorld {
protected:
    EskelShip* make_ship(const NxVec3& at)
    {
        EskelShip* s = new EskelShip(game_file("config/objects/defaultEskel.p").c_str(), scene, at, nullptr);
        s->map = &empty_map;
        s->next_drop_time = clock_ms + 10000000; // no drop but those a test asks for
        printed([&] { ai->register_object(s); });
        return s;
    }

    HeightMap empty_map;
};

TEST_F(Opponents, WithoutWeightsNoTargetIsChosenAndTheOpponentFollowsTheShip)
{
    ground_plane(0);
    Opponent* o = make_opponent(NxVec3(0, 1.5f, 0));
    o->attack = o->box_collect = 0; // as read from attack=0 and boxCollect=0
    make_crystal(NxVec3(0, 0.5f, -10)); // straight ahead, close
    make_ship(NxVec3(40, 20, 0)); // far off to the +x side
    o->update(0.04f);
    EXPECT_EQ(o->target, -1);
    EXPECT_EQ(o->mode, 0);
    EXPECT_TRUE(o->turn_negative); // toward +x, where the ship is
    EXPECT_FALSE(o->turn_positive);
}

TEST_F(Opponents, DropsReuseThePreparedCrystalsFreshAndTheCrystalsThatWentComeBack)
{
    ground_plane(0);
    make_opponent(NxVec3(-30, 1.5f, 0));
    EskelShip* ship = make_ship(NxVec3(0, 20, 0));
    // The ship reads the crystals' file relative to the game's directory, which a test does not run in.
    printed([] { Collectable::load_defaults(game_file("config/objects/defaultCollectable.p").c_str()); });
    const unsigned actors = scene->getNbActors();
    printed([&] { ship->prepare_crystals(); });
    const size_t prepared = ai->spare_crystals.size();
    const size_t drop = static_cast<size_t>(ship->num_boxes);
    EXPECT_EQ(prepared, 9 * drop) << "a drop every 6 s at the soonest, 45 s to lie, one drop more";
    EXPECT_EQ(scene->getNbActors(), actors) << "prepared crystals hold no actor";
    const std::vector<Collectable*> spares = ai->spare_crystals;

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "prepared crystals" : "crystals that went");
        ship->drop_crystals();
        ASSERT_EQ(ai->collectables.size(), drop);
        EXPECT_EQ(ai->spare_crystals.size(), prepared - drop);
        EXPECT_EQ(scene->getNbActors(), actors + drop);
        for (Collectable* c : ai->collectables) {
            EXPECT_NE(std::find(spares.begin(), spares.end(), c), spares.end()) << "a new crystal was made";
            ASSERT_NE(c->actor, nullptr);
            EXPECT_EQ(c->actor->userData, static_cast<MovingObject*>(c));
            EXPECT_EQ((std::vector<long>{c->value, c->multiplier, c->expiry_time, c->rings.current}),
                      (std::vector<long>{10, 1, clock_ms + 45000, 0}));
            EXPECT_EQ(c->rings.records[3].strength, 0);
            // What a crystal in play gathers, which the next drop must not inherit.
            c->multiplier = 4;
            c->rings.current = 3;
            c->rings.records[3].strength = 90;
        }
        clock_ms += 45000;
        hold_process_clock(clock_ms);
        ai->update(0.04f);
        ai->flush();
        EXPECT_TRUE(ai->collectables.empty());
        EXPECT_EQ(ai->spare_crystals.size(), prepared);
        EXPECT_EQ(scene->getNbActors(), actors) << "the crystals' actors go when they do";
    }
}

TEST(EskelShipRules, GroundHeightIsTheHighestOfSixPointsAndZeroOffTheMap)
{
    HeightMap map;
    // Physics map 16 x 16: a single high sample at (10, 4), everything else 1000.
    make_height_map(map, 128, 8, [](int x, int z) { return (x == 10 && z == 4) ? 5000 : 1000; });
    for (auto [x, z, expected] : {std::tuple{10.5f, 4.5f, 50.0f}, // the centre point on the high sample
                                  {9.0f, 6.0f, 50.0f},   // (x + 0.75 ex, z - 0.75 ez) lands on it
                                  {10.0f, 7.0f, 50.0f},  // (x, z - 1.5 ez) lands on it
                                  {3.0f, 12.0f, 10.0f},  // only the low samples
                                  {-40.0f, -40.0f, 0.0f}}) // wholly off the map
        EXPECT_FLOAT_EQ(ship_ground_height(map, 0.01f, x, z, 2.0f, 2.0f), expected) << x << "," << z;
}

TEST_F(Opponents, TheShipHoldsItsHeightAboveARampAndReachesItsWaypoint)
{
    HeightMap ramp;
    // Physics map 64 x 64 rising along x: one unit of height per 2 units of x.
    make_height_map(ramp, 512, 16, [](int x, int) { return static_cast<uint16_t>(x * 50); });
    EskelShip* ship = make_ship(NxVec3(10, 30, 50));
    ship->map = &ramp;
    ship->sample_height = 0.01f;
    ship->waypoint = NxVec3(50, 30, 15);
    ship->square[0] = 50 - ship->p_size;
    ship->square[1] = 50 + ship->p_size;
    ship->square[2] = 15 - ship->p_size;
    ship->square[3] = 15 + ship->p_size;
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
