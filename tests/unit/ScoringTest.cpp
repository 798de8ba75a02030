// Crystals and scoring through the AI manager's trigger report, expiry and restart.

#include "GameplayTestKit.h"

#include "Common/Random.h"

#include <cmath>

TEST(RandomSource, GivesTheClassicCLibrarySequence)
{
    reset_game_rand();
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int v : expected) EXPECT_EQ(game_rand(), v);
    reset_game_rand();
    EXPECT_FLOAT_EQ(rand_uniform(), 41.0f / 32768.0f);
    reset_game_rand();
}

TEST(ChaseAnimation, GrowsInStepsOfTwoUpToSix)
{
    const int expected[] = {0, 2, 2, 4, 4, 6, 6, 6, 6};
    for (int n = 0; n < 9; ++n) EXPECT_EQ(chase_animation(n), expected[n]) << n;
}

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
        // Into the owner's sensor (an opponent's lies ahead of its nose, along -z), the
        // crystal's own sensor clear of the opponent's hull.
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
    a->update();
    b->update();
    ASSERT_EQ(c->multiplier, 3);
    hold_process_clock(c->expiry_time - 1);
    ai->update();
    EXPECT_EQ(ai->collectables.size(), 1u);
    hold_process_clock(c->expiry_time);
    ai->update();
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
    }
    // Each faces the centre: the player along +x, the opponents along -z.
    auto facing_centre = [&](MovingObject* o, const NxVec3& nose) {
        NxVec3 to_centre = centre - o->actor->getGlobalPosition();
        to_centre.y = 0;
        to_centre.normalize();
        EXPECT_GT(nose.dot(to_centre), 0.999f);
    };
    facing_centre(p, p->forward_axis());
    facing_centre(opponents[1], -opponents[1]->actor->getGlobalOrientation().getColumn(2));
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
