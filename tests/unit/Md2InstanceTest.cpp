#include "Common/Camera.h"
#include "Common/ParameterFile.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/MD2_Model.h"
#include "Gfx/Md2File.h"
#include "Gfx/Md2Pose.h"
#include "Md2Writer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <tuple>

namespace {

// Without the GPU: instances of it have no vertex buffer, so Update poses but uploads nothing.
std::unique_ptr<Md2Model> model_from(const Md2Writer& w)
{
    std::string bytes = w.bytes();
    Md2File file;
    EXPECT_TRUE(file.Assign(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    auto model = std::make_unique<Md2Model>();
    EXPECT_TRUE(model->Convert(file));
    return model;
}

// "walk": four key frames, vertex 0 moving 40 along x and the scale growing 1 per frame;
// "jump": one frame with vertex 0 at x = 200 and scale 3.
Md2Writer walk_and_jump()
{
    Md2Writer w;
    w.texcoords = {{0, 0}, {64, 0}, {0, 64}};
    w.add_triangle(0, 1, 2, 0, 1, 2);
    for (int k = 0; k < 4; ++k) {
        Md2WriterFrame& f = w.add_frame("walk0" + std::to_string(k + 1), {{uint8_t(40 * k), 0, 0}, {255, 0, 0}, {0, 0, 255}});
        f.scale[0] = 1.0f + float(k);
        f.translate[2] = 10.0f * float(k); // the file's z is the game's y
    }
    Md2WriterFrame& j = w.add_frame("jump1", {{200, 0, 0}, {255, 0, 0}, {0, 0, 255}});
    j.scale[0] = 3.0f;
    return w;
}

class Md2InstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        model = model_from(walk_and_jump());
        instance.Reset(model.get());
        instance.m_AnimSpeed = 1.0f;
    }
    float x0() const { return md2_frame_scratch[0].position[0]; }

    std::unique_ptr<Md2Model> model;
    Md2Instance instance;
};

TEST_F(Md2InstanceTest, ClockWrapsAndPosesBetweenKeyFrames)
{
    ASSERT_EQ(instance.NumCycles(), 2u);
    instance.Update(0.9f); // the cycle lasts 4 / 5 s
    EXPECT_NEAR(instance.m_Time, 0.1f, 1e-6);
    EXPECT_NEAR(x0(), 20.0f, 1e-4) << "halfway between key frames 0 and 1";
    instance.m_Time = 0.0f;
    instance.Update(0.8f); // exactly the cycle length: the last key frame blends into the first
    EXPECT_FLOAT_EQ(instance.m_Time, 0.8f) << "not wrapped";
    EXPECT_NEAR(x0(), 0.0f, 1e-4);
    instance.m_AnimSpeed = 4.0f; // the speed scales the clock
    instance.Update(0.05f);
    EXPECT_NEAR(instance.m_Time, 0.2f, 1e-6);
    EXPECT_NEAR(x0(), 40.0f, 1e-3) << "exactly key frame 1";
    instance.m_Visible = false; // an invisible instance keeps its time but is not posed
    md2_frame_scratch[0].position[0] = -7.0f;
    instance.Update(0.05f);
    EXPECT_NEAR(instance.m_Time, 0.4f, 1e-6);
    EXPECT_EQ(x0(), -7.0f);
}

TEST_F(Md2InstanceTest, HugeOrBrokenTimeStepsStayInsideTheCycle)
{
    instance.Update(1.0e9f);
    EXPECT_TRUE(instance.m_Time >= 0.0f && instance.m_Time <= 0.8f) << instance.m_Time;
    instance.Update(INFINITY);
    EXPECT_EQ(instance.m_Time, 0.0f);
    instance.Update(NAN);
    EXPECT_EQ(instance.m_Time, 0.0f);
    EXPECT_TRUE(std::isfinite(x0()));
    const float d = md2_frame_duration(5);
    for (int i = 0; i <= 8000; ++i) {
        Md2KeyFrames k = md2_key_frames(4, float(i) * 0.0001f, d);
        ASSERT_TRUE(k.key >= 0 && k.key < 4 && k.next == (k.key + 1) % 4) << i;
        ASSERT_TRUE(k.fraction >= 0.0f && k.fraction <= 1.0f) << i;
    }
    EXPECT_EQ(md2_key_frames(4, 3.0f, md2_frame_duration(0)).key, 0) << "no frame rate: the first frame";
}

TEST_F(Md2InstanceTest, EvenBlendMixesBothCyclesUntilItEndsAndAnUnevenOneFadesFromTheOld)
{
    ASSERT_TRUE(instance.BlendToCycle(1, 0.1f, true));
    EXPECT_FALSE(instance.BlendToCycle(0, 0.1f, true));
    EXPECT_EQ(instance.m_Cycle, 1);
    instance.Update(0.05f);
    // walk at 0.05 s: a quarter of the way to key frame 1 (x 10, scale 1.25); jump: x 200, scale 3.
    EXPECT_NEAR(x0(), (10.0f + 200.0f) / 2, 1e-3);
    EXPECT_NEAR(instance.m_FrameScale[0], (1.25f + 3.0f) / 2, 1e-5);
    // the box spans the compressed range at the blended pose
    EXPECT_NEAR(instance.m_BBoxMax[0], instance.m_FrameScale[0] * 255 + instance.m_FrameTranslate[0], 1e-3);
    instance.Update(0.05f); // ends exactly at zero
    EXPECT_LT(instance.m_BlendLeft, 0.0f);
    EXPECT_TRUE(instance.BlendToCycle(0, 0.1f, true));
    // An uneven blend starts from the old cycle and fades it out.
    instance.Reset(model.get());
    instance.Update(0.2f); // walk key frame 1: x 40
    ASSERT_TRUE(instance.BlendToCycle(1, 0.5f, false));
    instance.Update(0.0f);
    EXPECT_NEAR(x0(), 40.0f, 1e-3) << "nothing of the new cycle yet";
    instance.Update(0.4f); // 0.1 of 0.5 left: 20% old
    EXPECT_NEAR(x0(), 0.2f * 120.0f + 0.8f * 200.0f, 0.05f) << "walk at 0.6 s (x 120) fading out";
}

TEST_F(Md2InstanceTest, CycleOutOfRangeIsRefused)
{
    instance.Update(0.3f);
    EXPECT_FALSE(instance.SetCycle(2));
    EXPECT_FALSE(instance.BlendToCycle(7, 0.1f, true));
    EXPECT_EQ(instance.m_Cycle, 0);
    EXPECT_NEAR(instance.m_Time, 0.3f, 1e-6);
    EXPECT_EQ(instance.Cycle(2), nullptr);
    EXPECT_TRUE(instance.SetCycle(1));
    EXPECT_EQ(instance.m_Time, 0.0f);
    // A blend of no length switches at once and leaves no blend behind.
    ASSERT_TRUE(instance.BlendToCycle(0, 0.0f, true));
    instance.Update(0.0f);
    EXPECT_NEAR(x0(), 0.0f, 1e-3);
    EXPECT_TRUE(instance.BlendToCycle(1, 0.1f, false));
    EXPECT_FALSE(instance.SetTexture(0)) << "texture 0 is none";
    EXPECT_TRUE(instance.SetTexture(12));
}

TEST(Md2NormalTest, FlatQuadFacesUpAndDegenerateTrianglesAddNothing)
{
    Md2Writer w;
    w.texcoords = {{0, 0}};
    // Game axes: a quad in the plane y = 0, counter-clockwise seen from above; file (x, z, y).
    w.add_frame("flat", {{0, 0, 0}, {0, 100, 0}, {100, 100, 0}, {100, 0, 0}, {50, 50, 0}});
    w.add_triangle(0, 1, 2, 0, 0, 0);
    w.add_triangle(0, 2, 3, 0, 0, 0);
    w.add_triangle(0, 4, 2, 0, 0, 0); // on the diagonal: no area
    w.add_triangle(1, 1, 1, 0, 0, 0); // a point
    auto model = model_from(w);
    Md2Instance instance;
    instance.Reset(model.get());
    instance.Update(0.0f);
    const float expected_y[5] = {2, 1, 2, 1, 0};
    for (int v = 0; v < 5; ++v) {
        const float* n = md2_frame_scratch[v].normal;
        EXPECT_TRUE(n[0] == 0.0f && n[2] == 0.0f) << v;
        EXPECT_FLOAT_EQ(n[1], expected_y[v]) << v;
    }
}

// Two models of four instances over two update groups: each frame poses every other instance,
// continuing the ring from one model to the next, with the time summed since its last pose.
TEST(Md2UpdateRingTest, GroupsSpreadTheWorkAndCatchUpWithTheSummedTime)
{
    for (int m = 0; m < 2; ++m) {
        ModelRef* ref = new ModelRef;
        ref->pModel = model_from(walk_and_jump()).release();
        for (int i = 0; i < 4; ++i) {
            ref->pModel->m_Instances.push_back(new Md2Instance);
            ref->pModel->m_Instances.back()->Reset(ref->pModel);
        }
        Md2Manager::m_Models.push_back(ref);
    }
    for (float& t : Md2Manager::m_FrameTimes) t = 0;
    Md2Manager::m_RingPos = 0;
    Md2Manager::m_UpdateGroups = 2;
    auto time = [](size_t model, size_t instance) {
        return Md2Manager::m_Models[model]->pModel->m_Instances[instance]->m_Time;
    };
    Md2Manager::UpdateAll(0.1f); // model 0 poses instances 0 and 2, model 1 instances 1 and 3
    EXPECT_NEAR(time(0, 0), 0.1f, 1e-6);
    EXPECT_EQ(time(0, 1), 0.0f);
    EXPECT_NEAR(time(1, 1), 0.1f, 1e-6);
    Md2Manager::UpdateAll(0.2f); // the others, with both frames' time
    EXPECT_NEAR(time(0, 1), 0.3f, 1e-6);
    EXPECT_NEAR(time(1, 2), 0.3f, 1e-6);
    Md2Manager::UpdateAll(0.1f);
    EXPECT_NEAR(time(0, 0), 0.4f, 1e-6);
    Md2Manager::FreeAll();
    EXPECT_TRUE(Md2Manager::m_Models.empty());
    Md2Manager::UpdateAll(0.1f); // with nothing to update
    Md2Manager::m_UpdateGroups = 1;
    Md2Manager::m_RingPos = 0;
}

// An instance's transform: unturned, standing at (x, y, z).
std::array<float, 16> placed(float x, float y, float z) { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}; }

TEST(Md2CullingTest, GroundDistanceAndTheFrustumWithItsMarginDecideAndShadowCastersReachIntoTheLightsView)
{
    Camera camera{60.0f, 1.5f, 350000.0f};
    camera.set_aspect(4.0f / 3.0f);
    camera.set_position(0, 100, 0); // looking along -z
    camera.update_frustum(3000.0f);
    // Where it stands, whether it is visible and culling is on, the margin, and whether it is drawn.
    const std::tuple<float, float, float, bool, bool, float, bool, const char*> cases[] = {
        {0, 0, -1500, true, true, -1000, true, "ahead, near"},
        {0, 0, -2100, true, true, -1000, false, "in the frustum, but too far"},
        {0, 1000, -1900, true, true, -1000, true, "2100 away in space, but only x and z count"},
        {0, 0, -2100, true, false, -1000, true, "too far, without culling"},
        {0, 0, 500, true, true, -1000, true, "behind the eye but within the 1000 margin"},
        {0, 0, 1500, true, true, -1000, false, "behind the eye beyond the margin"},
        {0, 100, 500, true, true, 1000, false, "a positive margin demands inside"},
        {0, 0, -100, false, true, -1000, false, "invisible"},
    };
    for (auto [x, y, z, visible, culling, margin, drawn, what] : cases)
        EXPECT_EQ(md2_instance_in_view(visible, placed(x, y, z).data(), &camera, culling, 2000.0f, margin), drawn)
            << what;
    EXPECT_FALSE(md2_instance_in_view(true, nullptr, &camera, false, 2000.0f, -1000.0f)) << "not placed";
    // The light's camera as the game has it: 120 degrees, square, looking down along -y.
    Camera light{120.0f, 100.0f, 30000.0f};
    light.set_position(0, 5000, 0);
    const double s[3] = {1, 0, 0}, u[3] = {0, 0, -1}, d[3] = {0, 1, 0};
    light.set_axes(s, u, d);
    light.update_frustum(light.far_plane);
    // Where the model stands, how far it reaches, and whether it is drawn into the map.
    const std::tuple<float, float, float, float, bool, const char*> casters[] = {
        {8000, 0, 0, 10, true, "near the edge of the view, inside"},
        {8800, 0, 0, 10, false, "beyond the edge"},
        {8800, 0, 0, 800, true, "beyond the edge, but reaching into the view"},
        {0, 5050, 0, 10, false, "between the light and its near plane"},
        {0, -26000, 0, 10, false, "beyond the far plane"},
    };
    for (auto [x, y, z, reach, drawn, what] : casters)
        EXPECT_EQ(md2_in_light_view(&light, placed(x, y, z).data(), reach), drawn) << what;
    EXPECT_TRUE(md2_in_light_view(nullptr, placed(1e6f, 0, 0).data(), 10))
        << "outside the shadow pass every instance may draw";
}

TEST(Md2ObjectInstanceTest, MissingModelEndsTheProgram)
{
    TempDir dir;
    ParameterFile params(dir.write("i.p", "scale_x=1\n"));
    std::string missing = dir.file("nothing.md2");
    EXPECT_EXIT(create_object_instance(missing.c_str(), 3, params), ::testing::ExitedWithCode(1),
                "Unable to load model: .*nothing.md2");
    EXPECT_TRUE(Md2Manager::m_Models.empty());
}

} // namespace
