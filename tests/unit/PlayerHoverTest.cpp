// The player's hover with the shipped player.p on Bullet, and the rules that keep it floating.

#include "GameplayTestKit.h"

#include "Objects/HoverPhysics.h"

#include <algorithm>
#include <cmath>

const float kPi = 3.14159265f;

TEST(HoverRules, LiftGrowsAsTheGroundComesCloserButNotBelowATenth)
{
    for (auto [distance, lift] : {std::pair{2.0f, 50.0f}, {1.0f, 100.0f}, {0.1f, 1000.0f}, {0.0f, 1000.0f}})
        EXPECT_FLOAT_EQ(hover_lift(distance, 100.0f), lift) << distance;
}

TEST(HoverRules, RollAngleIsTheTiltSignedByTheZAxis)
{
    struct Case {
        const char* what;
        NxVec3 down, z;
        float expected;
    } cases[] = {
        {"level", NxVec3(0, -1, 0), NxVec3(0, 0, 1), 0.0f},
        {"rolled 30 degrees, z up", NxVec3(0, -std::cos(0.5236f), std::sin(0.5236f)),
         NxVec3(0, std::sin(0.5236f), std::cos(0.5236f)), 0.5236f},
        {"upside down, z level", NxVec3(0, 1, 0), NxVec3(0, 0, -1), kPi},
        {"upside down, z dipping", NxVec3(0, 1, 0), NxVec3(0, -0.1f, 0.995f), -kPi},
    };
    for (const Case& c : cases) EXPECT_NEAR(roll_angle(c.down, c.z), c.expected, 1e-3f) << c.what;
}

TEST(HoverRules, StandingStillIsCheckedOnlyAfterTheDelayAndOnlyWithoutMovingInBothXAndZ)
{
    struct Step {
        NxVec3 at;
        long now;
        bool due;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"still: due once the delay has passed, then again a delay later",
         {{NxVec3(0, 0, 0), 1000, false}, {NxVec3(0, 0, 0), 1001, true}, {NxVec3(0, 0, 0), 2001, false},
          {NxVec3(0, 0, 0), 2002, true}}},
        {"moving in x and z resets the reference and the time",
         {{NxVec3(0, 0, 0), 2001, true}, {NxVec3(1, 0, 1), 2500, false}, {NxVec3(1, 0, 1), 3400, false},
          {NxVec3(1.2f, 0, 1.2f), 3501, true}}},
        {"moving along x only never resets the reference",
         {{NxVec3(5, 0, 0), 2001, true}, {NxVec3(10, 0, 0), 3002, true}}},
    };
    for (const Case& c : cases) {
        StandingStill s; // reference at the origin, checked at time 0
        for (const Step& st : c.steps)
            EXPECT_EQ(s.due(st.at, 0.5f, 1.0f, st.now), st.due) << c.what << " at " << st.now;
    }
}

class PlayerHover : public GameWorld {};

TEST_F(PlayerHover, FloatsSteadilyOverLandAndWaterAtEveryStepLength)
{
    const float ground = 10.0f;
    for (bool land : {true, false})
        for (float dt : {0.033f, 0.04f, 0.1f}) {
            SCOPED_TRACE(testing::Message() << (land ? "land" : "water") << " at " << dt);
            fresh_world();
            land ? flat_ground(ground) : ground_plane(ground);
            PlayerImpl* p = make_player(NxVec3(40, ground + 4, 40));
            run(5.0f, dt); // settle
            float low = 1e9f, high = -1e9f;
            for (float t = 0; t < 10.0f; t += dt) {
                frame(dt);
                low = std::min(low, p->actor->getGlobalPosition().y);
                high = std::max(high, p->actor->getGlobalPosition().y);
            }
            // The box (half height 0.5) stays clear of the ground, about its own height above
            // it, and does not bob.
            EXPECT_GT(low - 0.5f, ground + 0.3f);
            EXPECT_LT(high - 0.5f, ground + 2.0f);
            EXPECT_LT(high - low, 0.15f);
        }
}

TEST_F(PlayerHover, ARolledHoverIsLevelWithinTwoSecondsThenForwardDrivesAlongLocalXAndLeftTurnsAboutY)
{
    flat_ground(10);
    PlayerImpl* p = make_player(NxVec3(40, 12, 40));
    NxMat34 pose = p->actor->getGlobalPose();
    pose.M.rotX(30.0f * kPi / 180.0f);
    p->actor->setGlobalPose(pose);
    run(2.0f, 0.04f);
    EXPECT_GT(p->up_axis().y, std::cos(5.0f * kPi / 180.0f));

    run(1.0f, 0.04f);
    NxVec3 start = p->actor->getGlobalPosition();
    p->set_forward(true);
    run(1.0f, 0.04f);
    NxVec3 moved = p->actor->getGlobalPosition() - start;
    EXPECT_GT(moved.x, 3.0f);
    EXPECT_LT(std::fabs(moved.z), 0.5f);

    p->set_forward(false);
    p->set_left(true);
    run(0.5f, 0.04f);
    // A left turn about +y takes the nose from +x toward -z.
    EXPECT_LT(p->forward_axis().z, -0.2f);
}

TEST_F(PlayerHover, TwoJumpsCloserThanTheDelayGiveOne)
{
    for (auto [second_after, jumps] : {std::pair{0.5f, 1}, {1.0f, 1}, {1.5f, 2}}) {
        SCOPED_TRACE(second_after);
        fresh_world();
        ground_plane(0);
        PlayerImpl* p = make_player(NxVec3(0, 1.5f, 0));
        run(4.0f, 0.04f);
        // Each jump is a force over one step; measure the climb speed it gives.
        p->jump(10.0f);
        frame(0.04f);
        float one = p->actor->getLinearVelocity().y;
        p->jump(10.0f + second_after);
        frame(0.04f);
        float after = p->actor->getLinearVelocity().y;
        EXPECT_EQ(after > one * 1.5f, jumps == 2);
        EXPECT_EQ(after < one, jumps == 1);
    }
}

TEST_F(PlayerHover, AHoverLyingOnItsSideIsRightedOnlyAfterTheDelay)
{
    PlayerImpl* p = make_player(NxVec3(40, 11, 40));
    // Held where it lies (no force moves a kinematic body), so only the check can right it.
    p->actor->raiseBodyFlag(NX_BF_KINEMATIC);
    NxMat34 pose = p->actor->getGlobalPose();
    pose.M.rotX(kPi / 2);
    p->actor->setGlobalPose(pose);
    p->still.checked_at = clock_ms; // as if it had just come to rest here
    long rested = clock_ms;
    testing::internal::CaptureStderr();
    auto update_at = [&](float seconds_after) {
        hold_process_clock(rested + static_cast<long>(seconds_after * 1000));
        p->update(0.04f);
    };
    update_at(p->shoot_delay - 0.1f);
    EXPECT_LT(p->up_axis().y, 0.1f);
    update_at(p->shoot_delay + 0.1f);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(sounds_named("yipiee"), 1);
    EXPECT_FLOAT_EQ(p->up_axis().y, 1.0f);
}
