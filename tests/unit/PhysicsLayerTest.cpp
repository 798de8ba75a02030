// The physics layer against Bullet: what the game relies on when it drops, drives, casts rays
// over and joins bodies on the cooked terrain.

#include "PhysicsTestKit.h"
#include "TempDir.h"

#include "Physics/Stream.h"
#include "Physics/UserAllocator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

// Rolling hills with a flat plateau at height 3 around (8, 8).
float hills(float x, float z)
{
    float dx = x - 8, dz = z - 8;
    if (dx * dx + dz * dz <= 9) return 3.0f;
    return 2.0f + std::sin(x * 0.4f) + 0.5f * std::cos(z * 0.3f);
}

// The height of the grid's triangulated surface at (x, z).
float surface_height(const GridMesh& g, float x, float z)
{
    unsigned i = unsigned(x), j = unsigned(z);
    float fx = x - i, fz = z - j;
    auto h = [&](unsigned a, unsigned b) { return g.vertices[(b * g.side + a) * 3 + 1]; };
    float h00 = h(i, j), h01 = h(i, j + 1), h11 = h(i + 1, j + 1), h10 = h(i + 1, j);
    if (fz >= fx) return h00 + fz * (h01 - h00) + fx * (h11 - h01); // triangle (00, 01, 11)
    return h00 + fx * (h10 - h00) + fz * (h11 - h10);               // triangle (00, 11, 10)
}

class PhysicsLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION, nullptr, &errors);
        ASSERT_NE(sdk, nullptr);
        NxSceneDesc desc;
        desc.gravity = NxVec3(0, -9.81f, 0);
        scene = sdk->createScene(desc);
        ASSERT_NE(scene, nullptr);
        scene->setTiming(0, 0, NX_TIMESTEP_VARIABLE);
    }
    void TearDown() override
    {
        if (sdk) sdk->release();
    }

    // Cooks the grid through a scratch file, reads it back and makes it a static actor.
    NxActor* terrain(const GridMesh& grid)
    {
        std::string file = dir.file("tmp_0.bin");
        {
            UserStream out(file.c_str(), false);
            EXPECT_TRUE(cook(grid.desc(), out));
        }
        UserStream in(file.c_str(), true);
        NxTriangleMesh* mesh = sdk->createTriangleMesh(in);
        EXPECT_NE(mesh, nullptr);
        NxTriangleMeshShapeDesc shape;
        shape.meshData = mesh;
        NxActorDesc actor;
        actor.shapes.pushBack(&shape);
        return scene->createActor(actor);
    }

    TempDir dir;
    RecordingOutput errors;
    NxPhysicsSDK* sdk = nullptr;
    NxScene* scene = nullptr;
};

struct TriggerLog : NxUserTriggerReport {
    struct Report {
        NxShape* trigger;
        NxShape* other;
        NxTriggerFlag status;
    };
    std::vector<Report> reports;
    std::function<void(NxShape&, NxShape&, NxTriggerFlag)> also;
    void onTrigger(NxShape& t, NxShape& o, NxTriggerFlag s) override
    {
        reports.push_back({&t, &o, s});
        if (also) also(t, o, s);
    }
    int count(NxTriggerFlag s) const
    {
        int n = 0;
        for (const Report& r : reports) n += r.status == s;
        return n;
    }
};

} // namespace

// ---- stepping

TEST_F(PhysicsLayer, VariableTimingStepsExactlyTheElapsedTime)
{
    NxActor* box = make_box(*scene, NxVec3(0, 100, 0), NxVec3(0.5f));
    scene->simulate(0.1f);
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    EXPECT_NEAR(box->getLinearVelocity().y, -0.981f, 1e-4f);
    scene->simulate(0.05f);
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    EXPECT_NEAR(box->getLinearVelocity().y, -0.981f - 0.4905f, 1e-4f);
}

TEST_F(PhysicsLayer, FixedTimingTakesSubStepsUpToTheLimit)
{
    scene->setTiming(0.01f, 4, NX_TIMESTEP_FIXED);
    NxActor* box = make_box(*scene, NxVec3(0, 100, 0), NxVec3(0.5f));
    step(*scene, 1, 0.1f); // only four sub-steps of 0.01 s fit
    EXPECT_NEAR(box->getLinearVelocity().y, -9.81f * 0.04f, 1e-4f);
}

TEST_F(PhysicsLayer, SecondSimulateWithoutFetchIsRefused)
{
    NxActor* box = make_box(*scene, NxVec3(0, 100, 0), NxVec3(0.5f));
    scene->simulate(0.1f);
    scene->simulate(0.1f);
    EXPECT_EQ(errors.errors.size(), 1u);
    EXPECT_TRUE(scene->fetchResults(NX_RIGID_BODY_FINISHED, true));
    EXPECT_FALSE(scene->fetchResults(NX_RIGID_BODY_FINISHED, true));
    EXPECT_NEAR(box->getLinearVelocity().y, -0.981f, 1e-4f);
}

TEST_F(PhysicsLayer, DampingIsACoefficientPerSecond)
{
    scene->setGravity(NxVec3(0, 0, 0));
    NxBoxShapeDesc box;
    box.dimensions = NxVec3(0.5f);
    NxBodyDesc body;
    body.mass = 1;
    body.linearDamping = 1.0f;
    body.linearVelocity = NxVec3(10, 0, 0);
    NxActorDesc desc;
    desc.shapes.pushBack(&box);
    desc.body = &body;
    NxActor* a = scene->createActor(desc);
    ASSERT_NE(a, nullptr);
    step(*scene, 50, 0.02f);
    EXPECT_NEAR(a->getLinearVelocity().x, 10.0f * std::exp(-1.0f), 0.05f);
}

// ---- terrain

TEST_F(PhysicsLayer, BoxComesToRestOnACookedTile)
{
    GridMesh grid(16, hills);
    ASSERT_NE(terrain(grid), nullptr);
    // The last two boxes have their edges right above mesh edges and their corners above
    // vertices, a degenerate case for the contact search.
    struct Drop {
        float x, z, half;
    } drops[] = {{8, 8, 0.25f}, {7.5f, 8.6f, 0.25f}, {8.7f, 7.2f, 0.25f}, {8, 8, 0.5f}, {9.5f, 7.5f, 0.5f}};
    std::vector<NxActor*> boxes;
    for (const Drop& d : drops) boxes.push_back(make_box(*scene, NxVec3(d.x, 8, d.z), NxVec3(d.half)));
    step(*scene, 150);
    for (size_t i = 0; i < boxes.size(); ++i) {
        NxVec3 p = boxes[i]->getGlobalPosition();
        float h = surface_height(grid, p.x, p.z);
        // The mesh keeps a skin of 0.025 around its triangles.
        EXPECT_NEAR(p.y, h + drops[i].half + 0.025f, 0.02f) << "box " << i;
        EXPECT_LT(boxes[i]->getLinearVelocity().magnitude(), 0.05f);
    }
}

TEST_F(PhysicsLayer, FastBoxesDoNotFallThroughATile)
{
    GridMesh grid(16, hills);
    ASSERT_NE(terrain(grid), nullptr);
    // Dropped from 60 units above the plateau: once at the speed of a 60-unit fall, once far
    // faster than one step's travel through a box.
    const float fall_speed = std::sqrt(2 * 9.81f * 60);
    NxActor* a = make_box(*scene, NxVec3(8, 63, 8), NxVec3(0.25f));
    NxActor* b = make_box(*scene, NxVec3(8.6f, 63, 8.4f), NxVec3(0.25f));
    a->setLinearVelocity(NxVec3(0, -fall_speed, 0));
    b->setLinearVelocity(NxVec3(0, -500, 0));
    step(*scene, 200);
    for (NxActor* box : {a, b}) {
        NxVec3 p = box->getGlobalPosition();
        float h = surface_height(grid, p.x, p.z);
        EXPECT_GT(p.y, h) << "fell through";
        EXPECT_NEAR(p.y, h + 0.275f, 0.03f);
    }
}

TEST_F(PhysicsLayer, RayDownOntoATileMeasuresTheDistance)
{
    GridMesh grid(16, hills);
    ASSERT_NE(terrain(grid), nullptr);
    for (float x : {3.3f, 8.0f, 12.7f}) {
        float z = 5.6f;
        NxRaycastHit hit;
        NxShape* s = scene->raycastClosestShape(NxRay(NxVec3(x, 20, z), NxVec3(0, -1, 0)), NX_ALL_SHAPES, hit, 1, 50);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s, hit.shape);
        EXPECT_NEAR(hit.distance, 20 - surface_height(grid, x, z), 1e-3f);
        EXPECT_GT(hit.worldNormal.y, 0.5f);
        EXPECT_NEAR(hit.worldImpact.y, surface_height(grid, x, z), 1e-3f);
    }
    NxRaycastHit hit;
    EXPECT_EQ(scene->raycastClosestShape(NxRay(NxVec3(8, 20, 8), NxVec3(0, -1, 0)), NX_ALL_SHAPES, hit, 1, 10),
              nullptr)
        << "the surface lies beyond the ray's length";
}

TEST_F(PhysicsLayer, RayGroupMaskPassesGroupTwoAndTriggers)
{
    GridMesh grid(16, [](float, float) { return 0.0f; });
    NxActor* ground = terrain(grid);
    NxActor* player = make_box(*scene, NxVec3(5, 4, 5), NxVec3(1), true, NX_SF_VISUALIZATION, 2);
    make_box(*scene, NxVec3(5, 2, 5), NxVec3(0.5f), false, NX_TRIGGER_ENABLE);
    NxRay down(NxVec3(5, 10, 5), NxVec3(0, -1, 0));
    NxRaycastHit hit;
    NxShape* s = scene->raycastClosestShape(down, NX_ALL_SHAPES, hit, 1, 100);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(&s->getActor(), ground);
    EXPECT_NEAR(hit.distance, 10, 1e-3f);

    s = scene->raycastClosestShape(down, NX_ALL_SHAPES, hit, 1u << 2, 100);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(&s->getActor(), player);
    EXPECT_NEAR(hit.distance, 5, 1e-3f);

    s = scene->raycastClosestShape(down, NX_STATIC_SHAPES, hit, 0xffffffff, 100);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(&s->getActor(), ground) << "only static shapes";
}

TEST_F(PhysicsLayer, RayFromInsideABoxDoesNotHitIt)
{
    NxActor* ground = make_box(*scene, NxVec3(0, -1, 0), NxVec3(10, 1, 10), false);
    make_box(*scene, NxVec3(0, 2, 0), NxVec3(1), true);
    NxRaycastHit hit;
    NxShape* s = scene->raycastClosestShape(NxRay(NxVec3(0.5f, 2, 0.5f), NxVec3(0, -1, 0)), NX_ALL_SHAPES, hit);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(&s->getActor(), ground);
    EXPECT_NEAR(hit.distance, 2, 1e-3f);
}

// ---- triggers

TEST_F(PhysicsLayer, TriggerReportsEnterOnceAndLeaveOnce)
{
    TriggerLog log;
    scene->setUserTriggerReport(&log);
    NxActor* sensor = make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ON_ENTER | NX_TRIGGER_ON_LEAVE);
    NxActor* box = make_box(*scene, NxVec3(0, 6, 0), NxVec3(0.5f));
    box->setLinearVelocity(NxVec3(0, -3, 0));
    step(*scene, 150);
    ASSERT_LT(box->getGlobalPosition().y, -4) << "the box fell through the sensor";
    ASSERT_EQ(log.reports.size(), 2u);
    EXPECT_EQ(log.reports[0].status, NX_TRIGGER_ON_ENTER);
    EXPECT_EQ(log.reports[1].status, NX_TRIGGER_ON_LEAVE);
    for (const auto& r : log.reports) {
        EXPECT_EQ(&r.trigger->getActor(), sensor);
        EXPECT_EQ(&r.other->getActor(), box);
        EXPECT_TRUE(r.trigger->getFlag(NX_TRIGGER_ENABLE));
    }
}

TEST_F(PhysicsLayer, TriggerStayReportsEveryFetchWhileInside)
{
    TriggerLog log;
    scene->setUserTriggerReport(&log);
    scene->setGravity(NxVec3(0, 0, 0));
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    step(*scene, 5);
    EXPECT_EQ(log.count(NX_TRIGGER_ON_ENTER), 1);
    EXPECT_EQ(log.count(NX_TRIGGER_ON_STAY), 4);
    EXPECT_EQ(log.count(NX_TRIGGER_ON_LEAVE), 0);
}

TEST_F(PhysicsLayer, TriggerHasNoContactResponse)
{
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    NxActor* box = make_box(*scene, NxVec3(0, 3, 0), NxVec3(0.5f));
    step(*scene, 50);
    EXPECT_LT(box->getGlobalPosition().y, -5);
}

TEST_F(PhysicsLayer, StaticTriggerIgnoresStaticShapes)
{
    TriggerLog log;
    scene->setUserTriggerReport(&log);
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(1), false); // a static box right inside
    step(*scene, 5);
    EXPECT_TRUE(log.reports.empty());
}

TEST_F(PhysicsLayer, TriggerOnADynamicActorSeesStaticShapesButNotItsOwn)
{
    TriggerLog log;
    scene->setUserTriggerReport(&log);
    GridMesh grid(16, [](float, float) { return 0.0f; });
    NxActor* ground = terrain(grid);
    // A crystal: a body box with a larger trigger box around it.
    NxBoxShapeDesc body, sensor;
    body.dimensions = NxVec3(0.25f);
    sensor.dimensions = NxVec3(1);
    sensor.shapeFlags = NX_TRIGGER_ENABLE;
    NxBodyDesc bd;
    NxActorDesc crystal;
    crystal.shapes.pushBack(&body);
    crystal.shapes.pushBack(&sensor);
    crystal.body = &bd;
    crystal.density = 1;
    crystal.globalPose.t = NxVec3(5, 3, 5);
    NxActor* c = scene->createActor(crystal);
    ASSERT_NE(c, nullptr);
    step(*scene, 60);
    EXPECT_NEAR(c->getGlobalPosition().y, 0.275f, 0.02f) << "the sensor carries no weight";
    ASSERT_GE(log.reports.size(), 1u);
    EXPECT_EQ(log.reports[0].status, NX_TRIGGER_ON_ENTER);
    EXPECT_EQ(&log.reports[0].trigger->getActor(), c);
    EXPECT_EQ(&log.reports[0].other->getActor(), ground);
    for (const auto& r : log.reports) EXPECT_NE(&r.other->getActor(), c);
}

TEST_F(PhysicsLayer, TriggerReportsArriveInFetchResultsNotInSimulate)
{
    TriggerLog log;
    scene->setUserTriggerReport(&log);
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    scene->simulate(0.02f);
    EXPECT_TRUE(log.reports.empty());
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    EXPECT_EQ(log.reports.size(), 1u);
}

TEST_F(PhysicsLayer, ReceiverThatReleasesActorsDoesNotDisturbTheStep)
{
    TriggerLog log;
    scene->setUserTriggerReport(&log);
    scene->setGravity(NxVec3(0, 0, 0));
    NxActor* sensorA = make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(0.5f, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    NxActor* crystal = make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    NxActor* other = make_box(*scene, NxVec3(0, 10, 0), NxVec3(0.5f));
    other->setLinearVelocity(NxVec3(0, -1, 0));
    // The first report releases the box inside both sensors: the second sensor's report
    // about it must not arrive, and the scene goes on.
    log.also = [&](NxShape&, NxShape& o, NxTriggerFlag) {
        if (&o.getActor() == crystal) scene->releaseActor(*crystal);
    };
    step(*scene, 1);
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_EQ(&log.reports[0].trigger->getActor(), sensorA);
    EXPECT_EQ(scene->getNbActors(), 3u);
    log.also = nullptr;
    step(*scene, 10);
    EXPECT_NEAR(other->getGlobalPosition().y, 10 - 11 * 0.04f, 1e-3f);
    EXPECT_EQ(log.reports.size(), 1u);
}

// ---- bodies

TEST_F(PhysicsLayer, KinematicBoxStaysPutUnderLoad)
{
    NxActor* end = make_box(*scene, NxVec3(0, 5, 0), NxVec3(1, 0.25f, 1));
    end->raiseBodyFlag(NX_BF_KINEMATIC);
    EXPECT_TRUE(end->readBodyFlag(NX_BF_KINEMATIC));
    EXPECT_TRUE(end->isDynamic());
    NxActor* load = make_box(*scene, NxVec3(0, 6, 0), NxVec3(0.5f), true, NX_SF_VISUALIZATION, 0, 50);
    step(*scene, 100);
    EXPECT_EQ(end->getGlobalPosition(), NxVec3(0, 5, 0));
    EXPECT_NEAR(load->getGlobalPosition().y, 5.75f, 0.03f) << "the load rests on the kinematic box";
}

TEST_F(PhysicsLayer, FrozenRotationsHoldAboutXAndZButNotY)
{
    scene->setGravity(NxVec3(0, 0, 0));
    NxActor* ship = make_box(*scene, NxVec3(0, 0, 0), NxVec3(1, 0.5f, 2));
    ship->raiseBodyFlag(NX_BF_FROZEN_ROT_X);
    ship->raiseBodyFlag(NX_BF_FROZEN_ROT_Z);
    ship->addTorque(NxVec3(50, 50, 50));
    ship->addForceAtLocalPos(NxVec3(0, 10, 0), NxVec3(0, 0, 2)); // would pitch it about x
    step(*scene, 10);
    NxVec3 w = ship->getAngularVelocity();
    EXPECT_NEAR(w.x, 0, 1e-5f);
    EXPECT_NEAR(w.z, 0, 1e-5f);
    EXPECT_GT(w.y, 0.1f);
    NxMat33 r = ship->getGlobalOrientation();
    EXPECT_NEAR(r.getColumn(1).y, 1, 1e-5f) << "still upright";
}

TEST_F(PhysicsLayer, GravityFreeBodyKeepsItsHeight)
{
    NxActor* ship = make_box(*scene, NxVec3(0, 20, 0), NxVec3(1));
    NxActor* rock = make_box(*scene, NxVec3(5, 20, 0), NxVec3(1));
    ship->raiseBodyFlag(NX_BF_DISABLE_GRAVITY);
    step(*scene, 50);
    EXPECT_NEAR(ship->getGlobalPosition().y, 20, 1e-5f);
    EXPECT_LT(rock->getGlobalPosition().y, 10);
    ship->clearBodyFlag(NX_BF_DISABLE_GRAVITY);
    step(*scene, 10);
    EXPECT_LT(ship->getGlobalPosition().y, 19.5f);
}

TEST_F(PhysicsLayer, LocalForcesAndTorquesActInTheActorsFrame)
{
    scene->setGravity(NxVec3(0, 0, 0));
    NxActor* a = make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    NxMat33 quarter;
    quarter.rotY(3.14159265f / 2); // local +x now points along world -z
    a->setGlobalOrientation(quarter);
    a->addLocalForce(NxVec3(10, 0, 0));
    step(*scene, 1, 0.1f);
    NxVec3 v = a->getLinearVelocity();
    EXPECT_NEAR(v.x, 0, 1e-4f);
    EXPECT_NEAR(v.z, -1.0f, 1e-4f);

    NxActor* b = make_box(*scene, NxVec3(10, 0, 0), NxVec3(0.5f));
    b->setGlobalOrientation(quarter);
    b->addLocalTorque(NxVec3(1, 0, 0));
    step(*scene, 1, 0.1f);
    NxVec3 w = b->getAngularVelocity();
    EXPECT_NEAR(w.x, 0, 1e-4f);
    EXPECT_LT(w.z, -0.1f) << "a local x torque turns about world -z";
}

TEST_F(PhysicsLayer, ForceAtLocalPositionIsWorldForceAtBodyPoint)
{
    scene->setGravity(NxVec3(0, 0, 0));
    NxActor* a = make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    NxMat33 quarter;
    quarter.rotY(3.14159265f / 2); // local +x now points along world -z
    a->setGlobalOrientation(quarter);
    // Upward world force at the body's local +x corner, which lies at world -z: the body
    // rises and turns about world +x (the -z side going up).
    a->addForceAtLocalPos(NxVec3(0, 10, 0), NxVec3(0.5f, 0, 0));
    step(*scene, 1, 0.1f);
    EXPECT_NEAR(a->getLinearVelocity().y, 1.0f, 1e-4f);
    NxVec3 w = a->getAngularVelocity();
    EXPECT_GT(w.x, 0.1f);
    EXPECT_NEAR(w.y, 0, 1e-4f);
    EXPECT_NEAR(w.z, 0, 1e-4f);
    EXPECT_GT(a->computeKineticEnergy(), 0.5f * 1.0f * 1.0f);
}

TEST_F(PhysicsLayer, StaticActorRefusesBodyCalls)
{
    NxActor* wall = make_box(*scene, NxVec3(0, 0, 0), NxVec3(1), false);
    EXPECT_FALSE(wall->isDynamic());
    wall->addForce(NxVec3(1, 0, 0));
    EXPECT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(wall->computeKineticEnergy(), 0);
}

TEST_F(PhysicsLayer, ActorWithoutMassOrDensityIsRefused)
{
    NxBoxShapeDesc box;
    box.dimensions = NxVec3(1);
    NxBodyDesc body;
    NxActorDesc desc;
    desc.shapes.pushBack(&box);
    desc.body = &body;
    EXPECT_EQ(scene->createActor(desc), nullptr);
    desc.density = 2;
    NxActor* a = scene->createActor(desc);
    ASSERT_NE(a, nullptr);
    EXPECT_NEAR(a->getMass(), 16, 1e-4f);
}

// ---- joints

TEST_F(PhysicsLayer, JointChainWithOneFreeSwingStaysConnected)
{
    // A chain hanging along -y from a kinematic box, each link free to swing about x only.
    const int links = 5;
    std::vector<NxActor*> chain;
    NxActor* top = make_box(*scene, NxVec3(0, 20, 0), NxVec3(0.5f, 0.5f, 0.5f));
    top->raiseBodyFlag(NX_BF_KINEMATIC);
    chain.push_back(top);
    for (int i = 1; i <= links; ++i)
        chain.push_back(make_box(*scene, NxVec3(0, 20 - 1.5f * i, 0), NxVec3(0.25f, 0.5f, 0.25f)));
    std::vector<NxD6JointDesc> descs;
    for (int i = 1; i <= links; ++i) {
        NxD6JointDesc d;
        d.actor[0] = chain[i - 1];
        d.actor[1] = chain[i];
        d.localAnchor[0] = NxVec3(0, -0.5f, 0);
        d.localAnchor[1] = NxVec3(0, 1.0f, 0);
        // As the bridges join their planks: the two frames differ by a quarter turn about
        // the shared normal, the free axis, so the joint starts a quarter turn into its swing.
        d.localAxis[0] = NxVec3(0, 1, 0);
        d.localAxis[1] = NxVec3(0, 0, 1);
        d.localNormal[0] = d.localNormal[1] = NxVec3(1, 0, 0);
        d.xMotion = d.yMotion = d.zMotion = NX_D6JOINT_MOTION_LOCKED;
        d.swing1Motion = NX_D6JOINT_MOTION_FREE;
        d.swing2Motion = d.twistMotion = NX_D6JOINT_MOTION_LOCKED;
        ASSERT_NE(scene->createJoint(d), nullptr);
        descs.push_back(d);
    }
    EXPECT_EQ(scene->getNbJoints(), unsigned(links));
    // Push the last link sideways along z (a swing about x) and along x (not allowed).
    chain.back()->addForce(NxVec3(2, 0, 15), NX_IMPULSE);
    float max_z = 0;
    for (int s = 0; s < 150; ++s) {
        step(*scene, 1, 0.02f);
        max_z = std::max(max_z, std::fabs(chain.back()->getGlobalPosition().z));
        for (int i = 1; i <= links; ++i) {
            NxVec3 a = chain[i - 1]->getGlobalPose() * descs[i - 1].localAnchor[0];
            NxVec3 b = chain[i]->getGlobalPose() * descs[i - 1].localAnchor[1];
            ASSERT_LT(a.distance(b), 0.05f) << "joint " << i << " at step " << s;
            // Turning about x leaves each link's own x axis on the world's x axis.
            ASSERT_GT(chain[i]->getGlobalOrientation().getColumn(0).x, 0.99f) << "link " << i << " step " << s << " col0 " << chain[i]->getGlobalOrientation().getColumn(0).x << " " << chain[i]->getGlobalOrientation().getColumn(0).y << " " << chain[i]->getGlobalOrientation().getColumn(0).z;
        }
    }
    EXPECT_GT(max_z, 1.0f) << "the chain swings about the free axis";
    for (int i = 1; i <= links; ++i) {
        EXPECT_NEAR(chain[i]->getGlobalPosition().x, 0, 0.15f) << "no swing about z";
        EXPECT_NEAR(chain[i]->getGlobalOrientation().getColumn(0).x, 1, 1e-3f);
    }
    EXPECT_EQ(chain[0]->getGlobalPosition(), NxVec3(0, 20, 0));
}

TEST_F(PhysicsLayer, ReleasingAnActorReleasesItsJoints)
{
    NxActor* a = make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    NxActor* b = make_box(*scene, NxVec3(0, -1, 0), NxVec3(0.5f));
    NxD6JointDesc d;
    d.actor[0] = a;
    d.actor[1] = b;
    d.xMotion = d.yMotion = d.zMotion = NX_D6JOINT_MOTION_LOCKED;
    ASSERT_NE(scene->createJoint(d), nullptr);
    scene->releaseActor(*a);
    EXPECT_EQ(scene->getNbJoints(), 0u);
    step(*scene, 5);
    EXPECT_LT(b->getGlobalPosition().y, -1.1f);
}

// ---- cooking and the scratch file

TEST_F(PhysicsLayer, ScratchFileRoundTrips)
{
    GridMesh grid(8, hills);
    std::string file = dir.file("tmp_3.bin");
    {
        UserStream out(file.c_str(), false);
        ASSERT_TRUE(cook(grid.desc(), out));
    }
    UserStream in(file.c_str(), true);
    NxTriangleMesh* mesh = sdk->createTriangleMesh(in);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->getCount(), 81u);
    EXPECT_EQ(mesh->getTriangleCount(), 128u);
    EXPECT_TRUE(errors.errors.empty());
}

TEST_F(PhysicsLayer, DamagedCookedMeshIsRefused)
{
    GridMesh grid(8, hills);
    MemoryStream good;
    ASSERT_TRUE(cook(grid.desc(), good));

    auto refused = [&](MemoryStream s, const char* what) {
        errors.errors.clear();
        s.at = 0;
        EXPECT_EQ(sdk->createTriangleMesh(s), nullptr) << what;
        EXPECT_EQ(errors.errors.size(), 1u) << what;
    };
    MemoryStream s = good;
    s.bytes[0] ^= 0xff;
    refused(s, "magic");
    s = good;
    s.bytes[4] = 7;
    refused(s, "version");
    s = good;
    s.bytes[12] = 0xff, s.bytes[13] = 0xff, s.bytes[14] = 0xff, s.bytes[15] = 0x7f; // absurd vertex count
    refused(s, "vertex count");
    s = good;
    s.bytes[40] ^= 0x01; // one bit of a vertex
    refused(s, "vertex bit");
    s = good;
    s.bytes.resize(s.bytes.size() - 100);
    refused(s, "truncated");
    EXPECT_EQ(sdk->getNbTriangleMeshes(), 0u);
    s = good;
    EXPECT_NE(sdk->createTriangleMesh(s), nullptr);
}

TEST_F(PhysicsLayer, CookingRefusesBadMeshes)
{
    GridMesh grid(2, hills);
    MemoryStream out;
    NxTriangleMeshDesc d = grid.desc();
    d.numVertices = 5; // triangles refer to vertices beyond this
    EXPECT_FALSE(cook(d, out));
    EXPECT_TRUE(out.bytes.empty());
    EXPECT_FALSE(NxCookTriangleMesh(grid.desc(), out)) << "cooking not initialised";
}

TEST(PhysicsScratchFile, TruncatedFileRaisesTheReadAssertion)
{
    TempDir dir;
    std::string file = dir.write("tmp_0.bin", std::string("MHCM\x01\0\0\0", 8));
    EXPECT_EXIT(
        {
            NxPhysicsSDK* sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION);
            UserStream in(file.c_str(), true);
            sdk->createTriangleMesh(in);
        },
        ::testing::ExitedWithCode(3), "Assertion failed: r, file src.Physics.Stream");
}

TEST(PhysicsScratchFile, AFileThatCannotBeWrittenIsNamedWithItsDirectoryAndTheReason)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path / "tmp_0.bin");
    std::filesystem::create_symlink("/dev/full", dir.path / "tmp_1.bin");
    const std::string where = "in \"" + dir.path.string() + "\": ";
    struct Case {
        const char* file;
        const char* reason;
    };
    for (const Case& c : {Case{"tmp_0.bin", "Is a directory"}, Case{"tmp_1.bin", "No space left on device"}}) {
        EXPECT_EXIT(
            {
                std::filesystem::current_path(dir.path);
                UserStream out(c.file, false);
                out.storeDword(0x4D43484Du);
                std::exit(0);
            },
            ::testing::ExitedWithCode(1),
            "Unable to write the scratch file \"" + std::string(c.file) + "\" " + where + c.reason)
            << c.file;
    }
}

// ---- allocation routing

TEST(PhysicsAllocation, EngineMemoryGoesThroughTheUserAllocator)
{
    testing::internal::CaptureStdout();
    {
        UserAllocator allocator;
        NxPhysicsSDK* sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION, &allocator);
        NxSceneDesc desc;
        desc.gravity = NxVec3(0, -9.81f, 0);
        NxScene* scene = sdk->createScene(desc);
        make_box(*scene, NxVec3(0, 1, 0), NxVec3(0.5f));
        make_box(*scene, NxVec3(0, 0, 0), NxVec3(5, 0.5f, 5), false);
        step(*scene, 10);
        EXPECT_GT(allocator.current_allocs, 10u);
        EXPECT_GT(allocator.current_bytes, 10000u);
        sdk->release();
        EXPECT_EQ(allocator.current_allocs, 0u);
        EXPECT_EQ(allocator.current_bytes, 0u);
        EXPECT_EQ(allocator.used, 0u);
    }
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("leak"), std::string::npos) << out;
    EXPECT_NE(out.find("Nb alloc: "), std::string::npos);
}

// ---- utilities

TEST(PhysicsUtil, SmoothNormalsFollowTheWindingAndTheFlipFlag)
{
    GridMesh grid(4, [](float x, float) { return x; }); // a 45-degree ramp rising along x
    NxU32 nv = grid.side * grid.side;
    std::vector<NxVec3> normals(nv);
    const NxVec3* verts = reinterpret_cast<const NxVec3*>(grid.vertices.data());
    NxUtilLib* util = NxGetUtilLib();
    // The grid runs counter-clockwise seen from above: unflipped normals point down into
    // the ramp, flipped ones up and away from the slope.
    ASSERT_TRUE(util->NxBuildSmoothNormals(32, nv, verts, grid.triangles.data(), nullptr, normals.data(), true));
    const float r = std::sqrt(0.5f);
    for (const NxVec3& n : normals) {
        EXPECT_NEAR(n.x, -r, 1e-5f);
        EXPECT_NEAR(n.y, r, 1e-5f);
        EXPECT_NEAR(n.z, 0, 1e-5f);
    }
    ASSERT_TRUE(util->NxBuildSmoothNormals(32, nv, verts, grid.triangles.data(), nullptr, normals.data(), false));
    EXPECT_NEAR(normals[7].y, -r, 1e-5f);
    std::vector<NxU32> bad = grid.triangles;
    bad[5] = nv;
    EXPECT_FALSE(util->NxBuildSmoothNormals(32, nv, verts, bad.data(), nullptr, normals.data(), false));
}

TEST(PhysicsUtil, TangentsArePerpendicularUnitVectors)
{
    for (NxVec3 n : {NxVec3(0, 1, 0), NxVec3(1, 0, 0), NxVec3(0, 0, -1), NxVec3(0.6f, 0.48f, 0.64f)}) {
        NxVec3 t1, t2;
        NxGetUtilLib()->NxNormalToTangents(n, t1, t2);
        EXPECT_NEAR(t1.magnitude(), 1, 1e-5f);
        EXPECT_NEAR(t2.magnitude(), 1, 1e-5f);
        EXPECT_NEAR(t1.dot(n), 0, 1e-5f);
        EXPECT_NEAR(t2.dot(n), 0, 1e-5f);
        EXPECT_NEAR(t1.dot(t2), 0, 1e-5f);
    }
}

TEST(PhysicsMath, PoseToColumnMajorMatrix)
{
    NxMat34 pose;
    pose.M.rotZ(3.14159265f / 2);
    pose.t = NxVec3(1, 2, 3);
    float m[16];
    pose.getColumnMajor44(m);
    // Column 0 is the image of x: (0, 1, 0).
    EXPECT_NEAR(m[0], 0, 1e-6f);
    EXPECT_NEAR(m[1], 1, 1e-6f);
    EXPECT_NEAR(m[4], -1, 1e-6f);
    EXPECT_EQ(m[12], 1);
    EXPECT_EQ(m[13], 2);
    EXPECT_EQ(m[14], 3);
    EXPECT_EQ(m[15], 1);
    EXPECT_EQ(m[3], 0);
    NxQuat q;
    pose.M.toQuat(q);
    NxMat33 back(q);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(back.m[r][c], pose.M.m[r][c], 1e-6f);
}
