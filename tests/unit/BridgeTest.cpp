// The bridges at the steps the game takes: 0.04 s in the first frames, up to 0.1 s on a slow machine.

#include "GameplayTestKit.h"

#include "Objects/Bridge.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

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
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        bridge = std::make_unique<Bridge>(path.c_str(), scene, *ai);
        out = testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
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

    TempDir dir;
    std::unique_ptr<Bridge> bridge;
    std::string out;
};

} // namespace

TEST_F(Bridges, ChainShapeFollowsTheElementCount)
{
    struct Case {
        int n;
        size_t joints;
        const char* lines; // the joint lines on standard output
    };
    const Case cases[] = {
        {0, 0, ""}, // a lone end box has nobody to join
        {1, 2, "j=01-0\nj=71-0\n"}, // the one gap is joined twice, from either end
        {4, 4, "j=01-0\nsonst2-1\nsonst3-2\nj=74-3\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        fresh_world();
        Bridge& b = build(dir.write("bridge.p", bridge_file(c.n)));
        ASSERT_EQ(b.elements.size(), size_t(c.n + 1));
        EXPECT_EQ(b.joints.size(), c.joints);
        EXPECT_EQ(scene->getNbJoints(), c.joints);
        EXPECT_EQ(out, c.lines);
        EXPECT_EQ(ai->generic_objects.size(), size_t(c.n + 1));
        for (int i = 0; i <= c.n; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(b.elements[i]->type, OBJECT_BRIDGE_ELEMENT);
            EXPECT_EQ(b.elements[i]->actor->readBodyFlag(NX_BF_KINEMATIC), i == 0 || i == c.n);
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
    struct Case {
        float mass, dt;
    };
    for (const Case c : {Case{20, 0.04f}, Case{60, 0.04f}, Case{20, 0.1f}}) {
        SCOPED_TRACE(testing::Message() << "mass " << c.mass << " step " << c.dt);
        fresh_world();
        Bridge& b = build(game_file("config/objects/bridge.p"));
        step(*scene, int(10 / c.dt), c.dt);
        const float rest = sag();

        // A box of a hover's size set down on the middle plank.
        const NxVec3 middle = b.elements[b.elements.size() / 2]->actor->getGlobalPosition();
        NxActor* load = make_box(*scene, middle + NxVec3(0, 0.7f, 0), NxVec3(1.5f, 0.5f, 1), true,
                                 NX_SF_VISUALIZATION, 0, c.mass);
        step(*scene, int(4 / c.dt), c.dt);
        EXPECT_GT(sag() - rest, 0.12f) << "the load does not show";
        EXPECT_LT(widest_gap(), 0.05f);
        EXPECT_GT(load->getGlobalPosition().y, middle.y - sag() + rest) << "the load fell through";

        scene->releaseActor(*load);
        step(*scene, int(6 / c.dt), c.dt);
        EXPECT_LT(std::fabs(sag() - rest), 0.15f) << "did not swing back";
    }
}
