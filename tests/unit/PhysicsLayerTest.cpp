// What the game relies on from the physics layer on Bullet, the physics allocator and the error stream's texts.

#include "Console.h"
#include "PhysicsTestKit.h"
#include "TempDir.h"

#include "Physics/ErrorStream.h"
#include "Physics/Stream.h"
#include "Physics/UserAllocator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <thread>

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

struct TriggerLog : NxUserTriggerReport {
    struct Report { NxShape *trigger, *other; NxTriggerFlag status; };
    std::vector<Report> reports;
    std::function<void(NxShape&, NxShape&, NxTriggerFlag)> also;
    void onTrigger(NxShape& t, NxShape& o, NxTriggerFlag s) override
    {
        reports.push_back({&t, &o, s});
        if (also) also(t, o, s);
    }
};

class PhysicsLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION, nullptr, &errors);
        scene = make_scene(*sdk, nullptr);
        scene->setUserTriggerReport(&log);
    }
    void TearDown() override { sdk->release(); }

    // Cooks the grid, reads it back and makes it a static actor (the scratch files the game
    // cooks through are judged in TerrainPhysicsTest and ParameterFileTest).
    NxActor* terrain(const GridMesh& grid)
    {
        MemoryStream cooked;
        EXPECT_TRUE(cook(grid.desc(), cooked));
        mesh = sdk->createTriangleMesh(cooked);
        EXPECT_NE(mesh, nullptr);
        return make_mesh_actor(*scene, mesh);
    }

    NxShape* cast(const NxVec3& from, NxU32 groups = 0xffffffff, NxReal length = 100,
                  NxShapesType types = NX_ALL_SHAPES)
    {
        return scene->raycastClosestShape(NxRay(from, NxVec3(0, -1, 0)), types, hit, groups, length);
    }

    RecordingOutput errors;
    TriggerLog log;
    NxPhysicsSDK* sdk = nullptr;
    NxScene* scene = nullptr;
    NxTriangleMesh* mesh = nullptr;
    NxRaycastHit hit;
};

size_t slot_of(void* p) { return UserAllocator::header_of(p)->index; }

} // namespace

TEST_F(PhysicsLayer, VariableTimingStepsTheElapsedTimeAndFixedTimingSubStepsUpToTheLimit)
{
    NxActor* box = make_box(*scene, NxVec3(0, 100, 0), NxVec3(0.5f));
    scene->simulate(0.1f);
    scene->simulate(0.1f);
    EXPECT_EQ(errors.errors.size(), 1u) << "a second simulate without a fetch is refused";
    EXPECT_TRUE(scene->fetchResults(NX_RIGID_BODY_FINISHED, true));
    EXPECT_FALSE(scene->fetchResults(NX_RIGID_BODY_FINISHED, true));
    EXPECT_NEAR(box->getLinearVelocity().y, -0.981f, 1e-4f);
    scene->setTiming(0.01f, 4, NX_TIMESTEP_FIXED);
    step(*scene, 1, 0.1f); // only four sub-steps of 0.01 s fit
    EXPECT_NEAR(box->getLinearVelocity().y, -9.81f * 0.14f, 1e-4f);
}

// The step runs on the scene's own thread between simulate and fetchResults. A heap of boxes
// makes it last long enough that a call made meanwhile would, unguarded, meet it halfway.
TEST_F(PhysicsLayer, CallsBetweenSimulateAndFetchSeeTheSteppedWorldAndReportsComeOnTheCallersThread)
{
    for (int i = 0; i < 300; ++i)
        make_box(*scene, NxVec3(float(i % 10) * 1.1f, 1.0f + float(i / 10) * 1.1f, 30), NxVec3(0.5f));
    make_box(*scene, NxVec3(4.5f, -1, 30), NxVec3(20, 1, 20), false);
    NxActor* box = make_box(*scene, NxVec3(0, 50, 0), NxVec3(0.5f));
    make_box(*scene, NxVec3(0, 40, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    std::vector<std::thread::id> report_threads;
    log.also = [&](NxShape&, NxShape&, NxTriggerFlag) { report_threads.push_back(std::this_thread::get_id()); };

    struct Probe { const char* what; std::function<float()> read; } probes[] = {
        {"position", [&] { return box->getGlobalPosition().y; }},
        {"velocity", [&] { return box->getLinearVelocity().y; }},
        {"energy", [&] { return box->computeKineticEnergy(); }},
        {"ray", [&] { return cast(NxVec3(0, 60, 0), 0xffffffff, 100) ? hit.distance : -1.0f; }},
    };
    for (const Probe& p : probes) {
        const float before = p.read();
        scene->simulate(0.1f);
        const float during = p.read();
        ASSERT_TRUE(scene->fetchResults(NX_RIGID_BODY_FINISHED, true)) << p.what;
        EXPECT_NE(during, before) << p.what;
        EXPECT_EQ(during, p.read()) << p.what;
    }
    // A change made during the step is not lost to it.
    scene->simulate(0.1f);
    box->setLinearVelocity(NxVec3(0, 5, 0));
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    EXPECT_EQ(box->getLinearVelocity().y, 5.0f);

    // Without blocking, results are fetched once the step is done.
    box->setGlobalPosition(NxVec3(0, 40, 0));
    scene->simulate(0.04f);
    while (!scene->checkResults(NX_RIGID_BODY_FINISHED)) std::this_thread::yield();
    EXPECT_TRUE(scene->fetchResults(NX_RIGID_BODY_FINISHED));
    EXPECT_FALSE(scene->checkResults(NX_RIGID_BODY_FINISHED, true)) << "nothing pending after the fetch";
    ASSERT_EQ(report_threads.size(), 1u) << "the box entered the trigger";
    EXPECT_EQ(report_threads[0], std::this_thread::get_id());

    // A scene released with a step going waits for it.
    scene->simulate(0.1f);
    sdk->releaseScene(*scene);
    EXPECT_TRUE(errors.errors.empty());
}

TEST_F(PhysicsLayer, BoxesComeToRestOnACookedTileAndRaysDownMeasureTheDistanceToIt)
{
    GridMesh grid(16, hills);
    ASSERT_NE(terrain(grid), nullptr);
    EXPECT_EQ(mesh->getCount(), 17u * 17u);
    EXPECT_EQ(mesh->getTriangleCount(), 2u * 16u * 16u);
    for (float x : {3.3f, 12.7f}) {
        const float z = 5.6f, h = surface_height(grid, x, z);
        ASSERT_NE(cast(NxVec3(x, 20, z), 1, 50), nullptr);
        EXPECT_NEAR(hit.distance, 20 - h, 1e-3f);
        EXPECT_GT(hit.worldNormal.y, 0.5f);
        EXPECT_NEAR(hit.worldImpact.y, h, 1e-3f);
    }
    EXPECT_EQ(cast(NxVec3(8, 20, 8), 1, 10), nullptr) << "the surface lies beyond the ray's length";
    // Edges above mesh edges and corners above vertices trouble the contact search; the last box is fast.
    struct Drop { float x, z, half, speed; } drops[] = {{8, 8, 0.25f, 0},     {7.5f, 8.6f, 0.25f, 0},
                                                        {8.7f, 7.2f, 0.25f, 0}, {8, 8, 0.5f, 0},
                                                        {9.5f, 7.5f, 0.5f, 0},  {3.6f, 12.4f, 0.25f, 500}};
    std::vector<NxActor*> boxes;
    for (const Drop& d : drops) {
        boxes.push_back(make_box(*scene, NxVec3(d.x, d.speed ? 63 : 8, d.z), NxVec3(d.half)));
        boxes.back()->setLinearVelocity(NxVec3(0, -d.speed, 0));
    }
    step(*scene, 200);
    for (size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE(i);
        NxVec3 p = boxes[i]->getGlobalPosition();
        float h = surface_height(grid, p.x, p.z);
        EXPECT_NEAR(p.y, h + drops[i].half + 0.025f, 0.03f) << "fell through, or not kept off by the skin of 0.025";
        EXPECT_LT(boxes[i]->getLinearVelocity().magnitude(), 0.05f);
    }
}

TEST_F(PhysicsLayer, RaysPassGroupTwoTriggersAndTheBoxTheyStartIn)
{
    NxActor* ground = terrain(GridMesh(16, [](float, float) { return 0.0f; }));
    NxActor* player = make_box(*scene, NxVec3(5, 4, 5), NxVec3(1), true, NX_SF_VISUALIZATION, 2);
    make_box(*scene, NxVec3(5, 2, 5), NxVec3(0.5f), false, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(10, 2, 10), NxVec3(1), true);
    using Case = std::tuple<NxVec3, NxU32, NxShapesType, NxActor*, float>;
    for (auto [from, groups, types, expected, distance] :
         {Case{NxVec3(5, 10, 5), 1, NX_ALL_SHAPES, ground, 10}, {NxVec3(5, 10, 5), 1u << 2, NX_ALL_SHAPES, player, 5},
          {NxVec3(5, 10, 5), 0xffffffff, NX_STATIC_SHAPES, ground, 10},
          {NxVec3(10.5f, 2, 10.5f), 0xffffffff, NX_ALL_SHAPES, ground, 2}}) { // the last from inside the rock
        SCOPED_TRACE(testing::Message() << "groups " << groups << " types " << types);
        ASSERT_NE(cast(from, groups, 100, types), nullptr);
        EXPECT_EQ(&hit.shape->getActor(), expected);
        EXPECT_NEAR(hit.distance, distance, 1e-3f);
    }
}

TEST_F(PhysicsLayer, TriggersReportInFetchResultsWhatTheirFlagsAskForAndStopNothing)
{
    // A box falls through a gate wanting entries and exits; another floats in a room wanting all, by a static box.
    NxActor* gate = make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ON_ENTER | NX_TRIGGER_ON_LEAVE);
    NxActor* box = make_box(*scene, NxVec3(0, 6, 0), NxVec3(0.5f));
    box->setLinearVelocity(NxVec3(0, -3, 0));
    make_box(*scene, NxVec3(20, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(20, 0, 0), NxVec3(0.5f))->raiseBodyFlag(NX_BF_DISABLE_GRAVITY);
    make_box(*scene, NxVec3(20, 1.5f, 0), NxVec3(0.4f), false);
    scene->simulate(0.04f);
    EXPECT_TRUE(log.reports.empty()) << "nothing is reported during simulate";
    scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    step(*scene, 4);
    ASSERT_EQ(log.reports.size(), 5u);
    EXPECT_EQ(log.reports[0].status, NX_TRIGGER_ON_ENTER);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(log.reports[i].status, NX_TRIGGER_ON_STAY) << i;
    step(*scene, 145);
    ASSERT_LT(box->getGlobalPosition().y, -4) << "a sensor has no contact response";
    std::vector<int> at_gate;
    for (const auto& r : log.reports)
        if (&r.trigger->getActor() == gate) {
            EXPECT_EQ(&r.other->getActor(), box);
            at_gate.push_back(r.status);
        }
    EXPECT_EQ(at_gate, (std::vector<int>{NX_TRIGGER_ON_ENTER, NX_TRIGGER_ON_LEAVE}));
}

TEST_F(PhysicsLayer, ReceiverThatReleasesActorsDoesNotDisturbTheStep)
{
    scene->setGravity(NxVec3(0, 0, 0));
    NxActor* sensorA = make_box(*scene, NxVec3(0, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    make_box(*scene, NxVec3(0.5f, 0, 0), NxVec3(2), false, NX_TRIGGER_ENABLE);
    NxActor* crystal = make_box(*scene, NxVec3(0, 0, 0), NxVec3(0.5f));
    NxActor* other = make_box(*scene, NxVec3(0, 10, 0), NxVec3(0.5f));
    other->setLinearVelocity(NxVec3(0, -1, 0));
    // The first report releases the box inside both sensors: the second's report about it must not arrive.
    log.also = [&](NxShape&, NxShape& o, NxTriggerFlag) { if (&o.getActor() == crystal) scene->releaseActor(*crystal); };
    step(*scene, 1);
    ASSERT_EQ(log.reports.size(), 1u);
    EXPECT_EQ(&log.reports[0].trigger->getActor(), sensorA);
    log.also = nullptr;
    step(*scene, 10);
    EXPECT_NEAR(other->getGlobalPosition().y, 10 - 11 * 0.04f, 1e-3f);
    EXPECT_EQ(log.reports.size(), 1u);
}

TEST_F(PhysicsLayer, StaticActorRefusesBodyCallsABodyNeedsMassOrDensityAndReleasingAnActorReleasesItsJoints)
{
    NxActor* wall = make_box(*scene, NxVec3(0, 0, 0), NxVec3(1), false);
    wall->addForce(NxVec3(1, 0, 0));
    EXPECT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(wall->computeKineticEnergy(), 0);

    NxBoxShapeDesc box;
    box.dimensions = NxVec3(1);
    NxBodyDesc body;
    NxActorDesc desc;
    desc.shapes.pushBack(&box);
    desc.body = &body;
    EXPECT_EQ(scene->createActor(desc), nullptr);
    desc.density = 2;
    EXPECT_NEAR(scene->createActor(desc)->getMass(), 16, 1e-4f);

    // Releasing an actor releases its joints.
    NxActor* a = make_box(*scene, NxVec3(10, 0, 0), NxVec3(0.5f));
    NxActor* b = make_box(*scene, NxVec3(10, -1, 0), NxVec3(0.5f));
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

TEST_F(PhysicsLayer, BadMeshesAreNotCookedAndDamagedCookedMeshesAreRefused)
{
    GridMesh small(2, hills);
    MemoryStream good;
    NxTriangleMeshDesc d = small.desc();
    d.numVertices = 5; // triangles refer to vertices beyond this
    EXPECT_FALSE(cook(d, good));
    EXPECT_TRUE(good.bytes.empty());
    EXPECT_FALSE(NxCookTriangleMesh(small.desc(), good)) << "cooking not initialised";
    ASSERT_TRUE(cook(GridMesh(8, hills).desc(), good));
    const std::pair<const char*, std::function<void(std::vector<unsigned char>&)>> damages[] = {
        {"magic", [](auto& b) { b[0] ^= 0xff; }},
        {"version", [](auto& b) { b[4] = 7; }},
        {"absurd vertex count", [](auto& b) {
             b[12] = b[13] = b[14] = 0xff;
             b[15] = 0x7f;
         }},
        {"one bit of a vertex", [](auto& b) { b[40] ^= 0x01; }},
        {"truncated", [](auto& b) { b.resize(b.size() - 100); }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        MemoryStream s = good;
        damage(s.bytes);
        errors.errors.clear();
        EXPECT_EQ(sdk->createTriangleMesh(s), nullptr);
        EXPECT_EQ(errors.errors.size(), 1u);
    }
    EXPECT_EQ(sdk->getNbTriangleMeshes(), 0u);
    MemoryStream s = good;
    EXPECT_NE(sdk->createTriangleMesh(s), nullptr);
}

// A scratch file that cannot be written is judged in the game (BadInputTest).
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

TEST(PhysicsUtil, SmoothNormalsFollowTheWindingAndTheFlipFlag)
{
    GridMesh grid(4, [](float x, float) { return x; }); // a 45-degree ramp rising along x
    NxU32 nv = grid.side * grid.side;
    std::vector<NxVec3> normals(nv);
    const NxVec3* verts = reinterpret_cast<const NxVec3*>(grid.vertices.data());
    NxUtilLib* util = NxGetUtilLib();
    // The grid runs counter-clockwise seen from above: only flipped normals point up, away from the slope.
    ASSERT_TRUE(util->NxBuildSmoothNormals(32, nv, verts, grid.triangles.data(), nullptr, normals.data(), true));
    const float r = std::sqrt(0.5f);
    for (const NxVec3& n : normals) EXPECT_LT(n.distance(NxVec3(-r, r, 0)), 1e-5f);
    ASSERT_TRUE(util->NxBuildSmoothNormals(32, nv, verts, grid.triangles.data(), nullptr, normals.data(), false));
    EXPECT_NEAR(normals[7].y, -r, 1e-5f);
    std::vector<NxU32> bad = grid.triangles;
    bad[5] = nv;
    EXPECT_FALSE(util->NxBuildSmoothNormals(32, nv, verts, bad.data(), nullptr, normals.data(), false));
}

TEST(UserAllocator, BlocksTakeTheTablesSlotsInTurnGrowingItAtTheSixtyFourthAndMovedOnesKeepTheirPlace)
{
    std::string out = printed([] {
        UserAllocator a;
        std::vector<void*> blocks;
        for (int i = 0; i < 63; ++i) blocks.push_back(a.malloc(8, NX_MEMORY_PERSISTENT));
        EXPECT_EQ(a.capacity, 64u);
        blocks.push_back(a.malloc(8, NX_MEMORY_PERSISTENT));
        EXPECT_EQ(slot_of(blocks.back()), 63u);
        EXPECT_EQ(a.capacity, 128u);
        for (size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(a.table[i], UserAllocator::header_of(blocks[i]));
        blocks.push_back(a.malloc(8, NX_MEMORY_PERSISTENT));
        EXPECT_EQ(slot_of(blocks.back()), 64u);
        // The next free slot moves on from 65; slot 3 is taken again only once the search wraps.
        a.free(blocks[3]);
        blocks[3] = a.malloc(4, NX_MEMORY_TEMP);
        EXPECT_EQ(slot_of(blocks[3]), 65u);
        for (void* p : blocks) a.free(p);
        EXPECT_EQ(a.used, 0u);

        // A reallocation that moves the block registers the new one in the old one's place.
        void* first = a.mallocDEBUG(16, "first.cpp", 1, "First", NX_MEMORY_PERSISTENT);
        void* keep = a.mallocDEBUG(32, "keep.cpp", 2, "Keep", NX_MEMORY_PERSISTENT);
        std::memset(first, 0x5a, 16);
        // Growing far past the block forces the C library to move it.
        void* grown = a.realloc(first, 4 << 20);
        ASSERT_NE(grown, nullptr);
        ASSERT_NE(grown, first);
        EXPECT_EQ(static_cast<unsigned char*>(grown)[15], 0x5a);
        AllocHeader* h = UserAllocator::header_of(grown);
        EXPECT_EQ(h->size, size_t(4 << 20));
        EXPECT_EQ(a.table[h->index], h);
        // Blocks in use, reallocations, bytes now and at most.
        EXPECT_EQ((std::vector<size_t>{a.used, a.reallocs, a.current_bytes, a.high_water}),
                  (std::vector<size_t>{2, 1, (4 << 20) + 32, (4 << 20) + 32}));
        size_t slot = h->index;
        a.free(grown);
        EXPECT_EQ(a.table[slot], nullptr);
        EXPECT_EQ(a.table[slot_of(keep)], UserAllocator::header_of(keep));
        a.free(keep);
    }).out;
    EXPECT_EQ(out.find("leak"), std::string::npos) << out;
}

TEST(UserAllocator, LeakDumpListsExactlyTheLiveBlocks)
{
    char address[32];
    void* live = nullptr;
    void* anon = nullptr;
    std::string dump = printed([&] {
        UserAllocator a;
        void* gone = a.mallocDEBUG(100, "gone.cpp", 10, "Gone", NX_MEMORY_PERSISTENT);
        live = a.mallocDEBUG(200, "live.cpp", 20, "Live", NX_MEMORY_PERSISTENT);
        anon = a.malloc(50, NX_MEMORY_TEMP);
        a.free(gone);
        std::snprintf(address, sizeof address, "0x%.8lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(live)));
    }).out;
    // The leaked blocks outlive their allocator; hand them back to the C library.
    std::free(UserAllocator::header_of(live));
    std::free(UserAllocator::header_of(anon));
    for (const std::string& line :
         {std::string("Memory leak detected: 250 bytes non released\n"), std::string("Remaining allocs: 2\n"),
          std::string("Nb alloc: 3\n"), std::string("Nb realloc: 0\n"), std::string("High water mark: 0 Kb\n"),
          std::string("\n\n  ICE Message Memory leaks detected :\n\n"),
          " Address " + std::string(address) + ", 200 bytes (Live), allocated in: live.cpp(20):\n\n",
          std::string("bytes (Undefined), allocated in: unknown(0):"), std::string("\n  Dump complete (2 leaks)\n\n")})
        EXPECT_NE(dump.find(line), std::string::npos) << line << " in " << dump;
    EXPECT_EQ(dump.find("Gone"), std::string::npos);
}

// A freed small block serves the next request of its 16-byte step, and only that; large
// blocks and blocks past the kept total go back to the C library.
TEST(UserAllocator, FreedSmallBlocksServeTheNextRequestOfTheirStep)
{
    struct Case { size_t freed, asked; bool reused; };
    const Case cases[] = {{8, 16, true},     {16, 1, true},      {16, 17, false},   {100, 112, true},
                          {2048, 2041, true}, {2049, 2049, false}, {4 << 20, 4 << 20, false}};
    for (const Case& c : cases) {
        std::string out = printed([&] {
            UserAllocator a;
            void* first = a.malloc(c.freed, NX_MEMORY_PERSISTENT);
            std::memset(first, 0x11, c.freed); // the block really holds what was asked
            a.free(first);
            void* second = a.malloc(c.asked, NX_MEMORY_PERSISTENT);
            std::memset(second, 0x22, c.asked);
            // Only the count tells a fresh block: the C library may hand the freed one out again.
            if (c.reused) {
                EXPECT_EQ(second, first) << c.freed << " then " << c.asked;
            }
            EXPECT_EQ(a.reused, c.reused ? 1u : 0u) << c.freed << " then " << c.asked;
            EXPECT_EQ((std::vector<size_t>{a.current_bytes, a.current_allocs, a.total_allocs}),
                      (std::vector<size_t>{c.asked, 1, 2}));
            a.free(second);
            // A kept block is not the caller's any more (one given back to the C library
            // cannot be looked at at all).
            if (c.asked <= UserAllocator::kKeptBlockLimit) a.free(second);
        }).out;
        EXPECT_EQ(out.find("Error: free unknown memory!!\n") != std::string::npos, c.asked <= UserAllocator::kKeptBlockLimit)
            << out;
        EXPECT_EQ(out.find("leak"), std::string::npos) << out;
    }

    std::string out = printed([] {
        UserAllocator a;
        std::vector<void*> blocks;
        const size_t fit = UserAllocator::kKeptBytesLimit / UserAllocator::kKeptBlockLimit;
        for (size_t i = 0; i <= fit; ++i) blocks.push_back(a.malloc(UserAllocator::kKeptBlockLimit, NX_MEMORY_TEMP));
        for (void* p : blocks) a.free(p);
        EXPECT_EQ(a.kept_bytes, UserAllocator::kKeptBytesLimit);
    }).out;
    EXPECT_EQ(out.find("leak"), std::string::npos) << out;
}

TEST(UserAllocator, MisuseIsReportedAndRefused)
{
    std::string out = printed([] {
        UserAllocator a;
        EXPECT_EQ(a.malloc(0, NX_MEMORY_TEMP), nullptr);
        EXPECT_EQ(a.mallocDEBUG(8, "x", 1), nullptr);
        EXPECT_EQ(a.malloc(8), nullptr);
        a.free(nullptr);
        EXPECT_EQ(a.realloc(nullptr, 8), nullptr);
        // A block from elsewhere, with room for a header in front so the check reads owned memory.
        std::vector<unsigned char> foreign(sizeof(AllocHeader) + 16, 0);
        void* p = foreign.data() + sizeof(AllocHeader);
        a.free(p);
        EXPECT_EQ(a.realloc(p, 64), nullptr);
        void* q = a.malloc(8, NX_MEMORY_TEMP);
        q = a.realloc(q, 0);
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(a.current_bytes, 0u);
        a.free(q);
        EXPECT_EQ(a.total_allocs, 1u);
        // Reset clears what is in use now, not the count of allocations made.
        q = a.malloc(2048, NX_MEMORY_TEMP);
        a.reset();
        EXPECT_EQ((std::vector<size_t>{a.current_bytes, a.high_water, a.current_allocs, a.total_allocs}),
                  (std::vector<size_t>{0, 0, 0, 2}));
        a.free(q);
        a.reset();
    }).out;
    for (const char* line : {"Warning: trying to allocate 0 bytes\n", "Obsolete code called!\nObsolete code called!\n",
                             "Warning: trying to free null pointer\n", "Warning: trying to realloc null pointer\n",
                             "Error: free unknown memory!!\n", "Error: realloc unknown memory!!\n",
                             "Warning: trying to realloc 0 bytes\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
    EXPECT_EQ(out.find("leak"), std::string::npos);
}

TEST(ErrorStream, PrintsReportsOnStandardOutput)
{
    ErrorStream s;
    std::string out = printed([&] {
        s.reportError(NXE_INVALID_OPERATION, "scene is busy", "NxScene.cpp", 42);
        s.reportError(NXE_INTERNAL_ERROR, "odd", nullptr, 7);
        s.print("plain text");
    }).out;
    EXPECT_EQ(out, "NxScene.cpp (42) :invalid operation : scene is busy\nunknown (7) :unknown error : odd\nplain text");
    const Printed violation =
        printed([&] { EXPECT_EQ(s.reportAssertViolation("bad pose", "NxActor.cpp", 9), NX_AR_CONTINUE); });
    EXPECT_EQ(violation.out, "access violation : bad pose (NxActor.cpp line 9)\n");
    EXPECT_NE(violation.err.find("AssertViolation, see console for details."), std::string::npos);
}
