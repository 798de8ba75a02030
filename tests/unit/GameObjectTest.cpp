// Game objects: the physics-to-graphics mapping, turning upright, the player's part and static scenery.

#include "GameplayTestKit.h"

#include "Gfx/MD2_Instance.h"
#include "Objects/GenericObject.h"
#include "Objects/ObjectErrors.h"
#include "Objects/PlayerObject.h"
#include "Objects/StaticObject.h"

#include <string>
#include <type_traits>
#include <vector>

// The main program catches both kinds as object errors.
static_assert(std::is_base_of_v<ObjectError, HoverObjectError> && std::is_base_of_v<ObjectError, StaticObjectError>);

namespace {

// Sets the mapping quietly (its report is judged where the game starts).
void set_transform(const NxVec3& s, const NxVec3& t)
{
    float scale[3], translate[3];
    s.get(scale);
    t.get(translate);
    testing::internal::CaptureStdout();
    GenericObject::set_physx2gfx_transform(scale, translate);
    testing::internal::GetCapturedStdout();
}

NxMat33 rotation(float degrees, const NxVec3& axis) { return NxMat33(NxQuat(degrees, axis)); }

const NxVec3 kY(0, 1, 0);

class GameObjects : public GameWorld {
protected:
    void SetUp() override
    {
        GameWorld::SetUp();
        set_transform(NxVec3(1, 1, 1), NxVec3(0, 0, 0));
    }
    void TearDown() override
    {
        set_transform(NxVec3(1, 1, 1), NxVec3(0, 0, 0));
        GameWorld::TearDown();
    }

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

    TempDir dir;
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

    set_transform(NxVec3(32, 32, 32), NxVec3(0, -40, 0));
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

// Attaching the actor, the points and deleting through the base are played out on the hover.
TEST(PlayerObject, KeepsItsPose)
{
    PlayerObject player;
    NxMat34 pose;
    pose.t = NxVec3(1, 2, 3);
    player.set_pose(pose);
    EXPECT_EQ(player.get_pose().t, pose.t);
    player.update(0.04f); // does nothing at this level
}

TEST_F(GameObjects, StaticObjectStandsWhereItIsPutAndRefusesOtherShapes)
{
    Md2Instance tree;
    const float at[3] = {12, 1.5f, 30};
    NxMat33 turn = rotation(90, kY);
    testing::internal::CaptureStderr();
    std::unique_ptr<StaticObject> o = scenery(111, at, &tree, turn);
    testing::internal::GetCapturedStderr();
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
