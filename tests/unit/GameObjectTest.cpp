// Game objects: the graphics mapping, turning upright, scenery, bridges at the game's steps (0.04 s, up to 0.1 s
// on a slow machine), and the hover of the shipped player.p.

#include "GameplayTestKit.h"

#include "Gfx/MD2_Instance.h"
#include "Objects/Bridge.h"
#include "Objects/GenericObject.h"
#include "Objects/HoverPhysics.h"
#include "Objects/ObjectErrors.h"
#include "Objects/StaticObject.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <type_traits>

// The main program catches both kinds as object errors.
static_assert(std::is_base_of_v<ObjectError, HoverObjectError> && std::is_base_of_v<ObjectError, StaticObjectError>);

namespace {

NxMat33 rotation(float degrees, const NxVec3& axis) { return NxMat33(NxQuat(degrees, axis)); }

const NxVec3 kY(0, 1, 0);

class GameObjects : public GameWorld {
protected:
    // A dynamic box at `p` turned by `r`, owned by `o`.
    void body_for(MovingObject& o, const NxVec3& p, const NxMat33& r)
    {
        o.actor = make_box(*scene, p, NxVec3(1, 0.5f, 2));
        o.actor->setGlobalOrientation(r);
        o.actor->userData = &o;
    }

    // A static object from a parameter file of body shape `type`, a 2 x 6 x 4 box.
    std::unique_ptr<StaticObject> scenery(int type, const float at[3], Md2Instance* instance, const NxMat33& turn)
    {
        std::string path = dir.write("static.p", "bodyShapeType=" + std::to_string(type) +
                                                     "\nbodyShapeXLength=2\nbodyShapeYLength=6\nbodyShapeZLength=4\n"
                                                     "density=1\n");
        return std::make_unique<StaticObject>(path.c_str(), scene, at, instance, turn.getRow(0), turn.getRow(1),
                                              turn.getRow(2));
    }
};

// A bridge file in the shape of the game's, N + 1 elements from x = 100 + step on.
std::string bridge_file(int n)
{
    return "bridge_elements=" + std::to_string(n) +
           "\ndyn_boxSize_X=0.85\ndyn_boxSize_Y=0.15\ndyn_boxSize_Z=2.80\nsta_boxSize_X=3.20\nsta_boxSize_Y=0.60\n"
           "sta_boxSize_Z=1.00\nbridge_pos_X=100\nbridge_pos_Y=24.10\nbridge_pos_Z=70.00\nstep_size=1.9375\n";
}

class Bridges : public GameWorld {
protected:
    // The bridge of the file at `path`, with what it prints kept.
    Bridge& build(const std::string& path)
    {
        out = printed([&] { bridge = std::make_unique<Bridge>(path.c_str(), scene, *ai); }).out;
        return *bridge;
    }

    // The largest distance between a joint's two anchors in world space.
    float widest_gap() const
    {
        float gap = 0;
        for (const BridgeJoint& j : bridge->joints)
            gap = std::max(gap, (j.actor[0]->getGlobalPose() * j.local_anchor[0])
                                    .distance(j.actor[1]->getGlobalPose() * j.local_anchor[1]));
        return gap;
    }

    // How far the middle element hangs below where it was built.
    float sag() const
    {
        const BridgeElement& m = *bridge->elements[bridge->elements.size() / 2];
        return m.position.y - m.actor->getGlobalPosition().y;
    }

    std::unique_ptr<Bridge> bridge;
    std::string out;
};

} // namespace

TEST_F(GameObjects, SyncMapsThePositionAndPointsTheInstances)
{
    MovingObject o;
    Md2Instance hull, rotor;
    o.attach(&hull);
    o.attach(&rotor);
    body_for(o, NxVec3(3, 4, 5), rotation(30, NxVec3(1, 2, 3)));
    o.sync(); // the identity mapping: both matrices alike, column-major
    for (int i = 0; i < 16; ++i) EXPECT_EQ(o.gfx_matrix[i], o.physx_matrix[i]) << i;
    const float* m = o.physx_matrix;
    EXPECT_EQ((std::vector<float>{m[3], m[12], m[13], m[14], m[15]}), (std::vector<float>{0, 3, 4, 5, 1}));
    NxMat33 r = o.actor->getGlobalOrientation();
    EXPECT_EQ(m[1], r.m[1][0]) << "element 1 is row 1 of column 0";

    set_gfx_mapping(NxVec3(32, 32, 32), NxVec3(0, -40, 0));
    o.actor->setGlobalPosition(NxVec3(10, 2, 20));
    o.actor->setGlobalOrientation(rotation(90, kY));
    step(*scene, 3);
    o.sync();
    NxVec3 p = o.actor->getGlobalPosition();
    EXPECT_FLOAT_EQ(o.gfx_position[0], 320);
    EXPECT_FLOAT_EQ(o.gfx_position[1], p.y * 32 - 40);
    EXPECT_FLOAT_EQ(o.gfx_matrix[14], 640);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(o.gfx_matrix[i], o.physx_matrix[i]) << "rotation unchanged";
    EXPECT_EQ(hull.m_Transform, o.gfx_matrix);
    EXPECT_EQ(rotor.m_Transform, o.gfx_matrix);
}

TEST_F(GameObjects, SetUprightKeepsHeadingAndPositionKicksUpAndLeavesTheThresholdAloneUnlessForced)
{
    scene->setGravity(NxVec3(0, 0, 0));
    MovingObject o;
    o.force_up = 50;
    // On its side, heading 30 degrees round from +z, and tipped over.
    NxMat33 pose = rotation(30, kY) * rotation(100, NxVec3(0, 0, 1));
    body_for(o, NxVec3(5, 7, 9), pose);
    o.sync();
    o.set_upright(pose.getColumn(1), 0.3f, false);
    NxMat33 r = o.actor->getGlobalOrientation();
    NxVec3 z = pose.getColumn(2);
    NxVec3 heading(z.x, 0, z.z);
    heading.normalize();
    EXPECT_NEAR(r.getColumn(1).y, 1, 1e-6f);
    EXPECT_NEAR(r.getColumn(2).dot(heading), 1, 1e-6f);
    EXPECT_NEAR(r.getColumn(0).dot(kY.cross(heading)), 1, 1e-6f) << "a proper rotation";
    EXPECT_EQ(o.actor->getGlobalPosition(), NxVec3(5, 7, 9));
    ASSERT_EQ(played_sounds.size(), 1u);
    EXPECT_EQ(played_sounds[0].name, "yipiee");
    EXPECT_EQ(played_sounds[0].at.x, o.gfx_position[0]);
    step(*scene, 1, 0.1f);
    NxVec3 v = o.actor->getLinearVelocity();
    EXPECT_NEAR(v.y, 50 * 0.1f / o.actor->getMass(), 1e-3f) << "the kick goes straight up";
    EXPECT_NEAR(v.x, 0, 1e-5f);
    NxMat33 tilted = rotation(60, NxVec3(0, 0, 1)); // up axis y = 0.5, the threshold
    o.actor->setGlobalOrientation(tilted);
    o.set_upright(tilted.getColumn(1), 0.5f, false);
    EXPECT_NEAR(o.actor->getGlobalOrientation().getColumn(1).y, 0.5f, 1e-6f);
    o.set_upright(tilted.getColumn(1), 0.5f, true);
    EXPECT_NEAR(o.actor->getGlobalOrientation().getColumn(1).y, 1, 1e-6f);
    // Nose down there is no heading to keep: the side axis keeps its direction.
    NxMat33 nose_down = rotation(90, NxVec3(1, 0, 0));
    o.actor->setGlobalOrientation(nose_down);
    o.set_upright(nose_down.getColumn(1), 0.5f, false);
    r = o.actor->getGlobalOrientation();
    EXPECT_NEAR(r.getColumn(1).y, 1, 1e-6f);
    EXPECT_NEAR(r.getColumn(0).x, 1, 1e-6f);
}

TEST_F(GameObjects, StaticObjectStandsWhereItIsPutAndRefusesOtherShapes)
{
    Md2Instance tree;
    const float at[3] = {12, 1.5f, 30};
    NxMat33 turn = rotation(90, kY);
    std::unique_ptr<StaticObject> o;
    printed([&] { o = scenery(111, at, &tree, turn); });
    EXPECT_EQ(o->type, OBJECT_STATIC);
    EXPECT_EQ(o->actor->userData, static_cast<MovingObject*>(o.get()));
    EXPECT_EQ(o->actor->getShapes()[0]->getDimensions(), NxVec3(1, 3, 2));
    EXPECT_NEAR(o->actor->getGlobalOrientation().getColumn(2).x, turn.getColumn(2).x, 1e-6f);
    EXPECT_EQ(tree.m_Transform, o->gfx_matrix);
    // Something dropped onto it lands on its top.
    NxActor* box = make_box(*scene, NxVec3(12, 8, 30), NxVec3(0.25f));
    step(*scene, 60);
    EXPECT_NEAR(box->getGlobalPosition().y, 1.5f + 3 + 0.25f, 0.05f);

    const float origin[3] = {0, 0, 0};
    EXPECT_THROW(scenery(112, origin, nullptr, NxMat33()), StaticObjectError);
    EXPECT_EQ(scene->getNbActors(), 2u) << "the refused object leaves no actor";
}

TEST_F(Bridges, ChainShapeFollowsTheElementCount)
{
    // Elements past the first end box, joints, and the joint lines on standard output.
    for (auto [n, joints, lines] : {std::tuple<int, size_t, const char*>{0, 0, ""}, // a lone end box: nobody to join
                                    {1, 2, "j=01-0\nj=71-0\n"}, // the one gap is joined from either end
                                    {4, 4, "j=01-0\nsonst2-1\nsonst3-2\nj=74-3\n"}}) {
        SCOPED_TRACE(n);
        fresh_world();
        Bridge& b = build(dir.write("bridge.p", bridge_file(n)));
        ASSERT_EQ(b.elements.size(), size_t(n + 1));
        EXPECT_EQ(b.joints.size(), joints);
        EXPECT_EQ(scene->getNbJoints(), joints);
        EXPECT_EQ(out, lines);
        EXPECT_EQ(ai->generic_objects.size(), size_t(n + 1));
        for (int i = 0; i <= n; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(b.elements[i]->actor->readBodyFlag(NX_BF_KINEMATIC), i == 0 || i == n);
            EXPECT_FLOAT_EQ(b.elements[i]->actor->getGlobalPosition().x, 100 + (i + 1) * 1.9375f);
        }
    }
}

TEST_F(Bridges, TheGamesBridgesAreAtRestWhenMadeAndHangWithASmallSag)
{
    for (const char* f : {"bridge.p", "bridge3.p", "bridge4.p", "bridge5.p", "bridge6.p"}) {
        SCOPED_TRACE(f);
        fresh_world();
        Bridge& b = build(game_file(std::string("config/objects/") + f));
        ASSERT_EQ(b.joints.size(), size_t(b.element_count));
        EXPECT_LT(widest_gap(), 1e-5f);
        // The end boxes stand a quarter turned about the vertical, the planks do not.
        EXPECT_NEAR(b.elements.front()->actor->getGlobalOrientation().getColumn(0).z, 1, 1e-6);
        EXPECT_TRUE(b.elements[1]->actor->getGlobalOrientation().isIdentity());
        const NxVec3 first = b.elements.front()->actor->getGlobalPosition();
        const NxVec3 last = b.elements.back()->actor->getGlobalPosition();

        step(*scene, 100, 0.1f);
        EXPECT_LT(sag(), 1.0f);
        EXPECT_GT(sag(), 0.0f);
        EXPECT_LT(widest_gap(), 0.05f);
        EXPECT_EQ(b.elements.front()->actor->getGlobalPosition(), first);
        EXPECT_EQ(b.elements.back()->actor->getGlobalPosition(), last);
    }
}

TEST_F(Bridges, ALoadOnTheMiddlePushesItDownAndTheChainSwingsBack)
{
    for (auto [mass, dt] : {std::pair{20.0f, 0.04f}, {60.0f, 0.04f}, {20.0f, 0.1f}}) {
        SCOPED_TRACE(testing::Message() << "mass " << mass << " step " << dt);
        fresh_world();
        Bridge& b = build(game_file("config/objects/bridge.p"));
        step(*scene, int(10 / dt), dt);
        const float rest = sag();

        // A box of a hover's size set down on the middle plank.
        const NxVec3 middle = b.elements[b.elements.size() / 2]->actor->getGlobalPosition();
        NxActor* load = make_box(*scene, middle + NxVec3(0, 0.7f, 0), NxVec3(1.5f, 0.5f, 1), true,
                                 NX_SF_VISUALIZATION, 0, mass);
        step(*scene, int(4 / dt), dt);
        EXPECT_GT(sag() - rest, 0.12f) << "the load does not show";
        EXPECT_LT(widest_gap(), 0.05f);
        EXPECT_GT(load->getGlobalPosition().y, middle.y - sag() + rest) << "the load fell through";

        scene->releaseActor(*load);
        step(*scene, int(6 / dt), dt);
        EXPECT_LT(std::fabs(sag() - rest), 0.15f) << "did not swing back";
    }
}

const float kPi = 3.14159265f;

// The roll is the tilt signed by the z axis; the heading the nose on the compass from +x toward -z, in 0 to 360.
TEST(HoverRules, RollAngleAndHeading)
{
    const float a = 0.5236f; // 30 degrees
    for (auto [what, down, z, expected] : {
             std::tuple<const char*, NxVec3, NxVec3, float>{"level", NxVec3(0, -1, 0), NxVec3(0, 0, 1), 0.0f},
             {"rolled 30 degrees, z up", NxVec3(0, -std::cos(a), std::sin(a)), NxVec3(0, std::sin(a), std::cos(a)),
              a},
             {"upside down, z level", NxVec3(0, 1, 0), NxVec3(0, 0, -1), kPi},
             {"upside down, z dipping", NxVec3(0, 1, 0), NxVec3(0, -0.1f, 0.995f), -kPi}})
        EXPECT_NEAR(roll_angle(down, z), expected, 1e-3f) << what;
    for (auto [nose, heading] : {std::pair{NxVec3(1, 0, 0), 0.0f}, {NxVec3(0, 0, -1), 90.0f}, {NxVec3(-1, 0, 0), 180.0f},
                                 {NxVec3(0, 0, 1), 270.0f}, {NxVec3(1, 0.5f, -1), 45.0f}, {NxVec3(1, 0, 1e-7f), 0.0f},
                                 {NxVec3(1, 0, 0.01f), 359.427f}})
        EXPECT_NEAR(heading_degrees(nose), heading, 1e-3f) << nose.x << " " << nose.y << " " << nose.z;
    EXPECT_FALSE(std::signbit(heading_degrees(NxVec3(1, 0, 0)))) << "printed as -0.00";
}

TEST(HoverRules, StandingStillIsCheckedOnlyAfterTheDelayAndOnlyWithoutMovingInBothXAndZ)
{
    using Steps = std::vector<std::tuple<NxVec3, long, bool>>; // where it is, the time, whether a check is due
    const std::pair<const char*, Steps> cases[] = {
        {"still: due once the delay has passed, then again a delay later",
         {{NxVec3(0, 0, 0), 1000, false}, {NxVec3(0, 0, 0), 1001, true}, {NxVec3(0, 0, 0), 2001, false},
          {NxVec3(0, 0, 0), 2002, true}}},
        {"moving in x and z resets the reference and the time",
         {{NxVec3(0, 0, 0), 2001, true}, {NxVec3(1, 0, 1), 2500, false}, {NxVec3(1, 0, 1), 3400, false},
          {NxVec3(1.2f, 0, 1.2f), 3501, true}}},
        {"moving along x only never resets the reference",
         {{NxVec3(5, 0, 0), 2001, true}, {NxVec3(10, 0, 0), 3002, true}}},
    };
    for (const auto& [what, steps] : cases) {
        StandingStill s; // reference at the origin, checked at time 0
        for (const auto& [at, now, due] : steps) EXPECT_EQ(s.due(at, 0.5f, 1.0f, now), due) << what << " at " << now;
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
            // The box (half height 0.5) floats about its own height above the ground and does not bob.
            EXPECT_GT(low - 0.5f, ground + 0.3f);
            EXPECT_LT(high - 0.5f, ground + 2.0f);
            EXPECT_LT(high - low, 0.15f);
        }
}

TEST_F(PlayerHover, ARolledHoverIsLevelWithinTwoSecondsOneOnItsSideIsRightedOnlyAfterTheDelay)
{
    flat_ground(10);
    PlayerImpl* p = make_player(NxVec3(40, 12, 40));
    NxMat34 pose = p->actor->getGlobalPose();
    pose.M.rotX(30.0f * kPi / 180.0f);
    p->actor->setGlobalPose(pose);
    run(2.0f, 0.04f);
    EXPECT_GT(p->up_axis().y, std::cos(5.0f * kPi / 180.0f));
    // Driving along the nose and turning left are judged in the game (PlayerInputTest).
    // One lying on its side is righted by the check only after the delay.
    fresh_world();
    p = make_player(NxVec3(40, 11, 40));
    // Held where it lies (no force moves a kinematic body), so only the check can right it.
    p->actor->raiseBodyFlag(NX_BF_KINEMATIC);
    pose = p->actor->getGlobalPose();
    pose.M.rotX(kPi / 2);
    p->actor->setGlobalPose(pose);
    p->still.checked_at = clock_ms; // as if it had just come to rest here
    long rested = clock_ms;
    auto update_at = [&](float seconds_after) {
        hold_process_clock(rested + static_cast<long>(seconds_after * 1000));
        printed([&] { p->update(0.04f); });
    };
    update_at(p->shoot_delay - 0.1f);
    EXPECT_LT(p->up_axis().y, 0.1f);
    update_at(p->shoot_delay + 0.1f);
    EXPECT_EQ(sounds_named("yipiee"), 1);
    EXPECT_FLOAT_EQ(p->up_axis().y, 1.0f);
}

TEST_F(PlayerHover, ReleasedTurnKeysStopTheTurnWithinAFewTenthsWithoutTurningBack)
{
    for (float dt : {1.0f / 30, 0.1f}) {
        SCOPED_TRACE(dt);
        fresh_world();
        ground_plane(0);
        PlayerImpl* p = make_player(NxVec3(0, 2, 0));
        run(2.0f, dt);
        p->set_left(true);
        run(1.0f, dt);
        p->set_left(false);
        float at_release = p->actor->getAngularVelocity().y;
        ASSERT_GT(at_release, 1.0f); // radians per second, turning left
        float low = at_release;
        for (float t = 0; t < 0.3f; t += dt) {
            frame(dt);
            low = std::min(low, p->actor->getAngularVelocity().y);
        }
        EXPECT_LT(std::fabs(p->actor->getAngularVelocity().y), 0.03f * at_release);
        EXPECT_GT(low, -0.01f * at_release) << "turned back";
    }
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
