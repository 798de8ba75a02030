// Models on a real GL context: loading through the manager, placing instances from parameter
// files, and drawing every model the game ships in its skin's colours and its light.
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/MD2_Model.h"
#include "Gfx/ShaderProgram.h"
#include "Md2Decoded.h"
#include "Md2Writer.h"
#include "GlFixture.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace fs = std::filesystem;

namespace {

constexpr int kSize = 256; // the fixture's window

using Rgb = std::array<double, 3>;
double brightness(const Rgb& c) { return (c[0] + c[1] + c[2]) / 3; }

// What draw() left: colours and depths of the whole window.
struct Picture {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(size_t(4 * kSize * kSize));
    std::vector<float> depth = std::vector<float>(size_t(kSize * kSize));
    int coverage() const { return int(std::count_if(depth.begin(), depth.end(), [](float d) { return d < 1.0f; })); }
    // Mean colour of the covered pixels.
    Rgb mean() const
    {
        Rgb m{};
        for (size_t i = 0; i < depth.size(); ++i)
            for (int k = 0; k < 3 && depth[i] < 1.0f; ++k) m[k] += rgba[4 * i + k];
        for (double& v : m) v /= std::max(coverage(), 1);
        return m;
    }
};

class Md2DrawTest : public ResourceGlTest {
protected:
    void SetUp() override
    {
        ResourceGlTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(GLEW_ARB_vertex_buffer_object);
    }
    void TearDown() override
    {
        Md2Manager::FreeAll();
        for (GLuint t : textures) glDeleteTextures(1, &t);
        delete program;
        ResourceGlTest::TearDown();
    }

    // The game's model program as the main image's model pass sets it, with no shadow and neutral noise.
    ShaderProgram* md2instance_program()
    {
        program = new ShaderProgram;
        program->load(game_file("shader/md2instance_vs.c").c_str(), game_file("shader/md2instance_fs.c").c_str());
        for (auto [name, unit] : {std::pair{"decalMap", 0}, {"noiseMap", 3}, {"shadowMap", 2}})
            program->set_uniform_1i(name, unit);
        program->set_uniform_1f("light_still_in_shadowed_region", 1.0f);
        const float dof[4] = {1, 1, 1000, 1000};
        program->set_uniform_4fv("dof_params", dof);
        program->set_uniform_1f("need_dof_alpha", 1.0f);
        program->set_uniform_matrix4("tmpMat", 1, false, kIdentity);
        program->unbind();
        const GLuint grey = load_skin(write_image("grey.png", 1, 1, 4, {128, 128, 128, 255}));
        glActiveTextureARB(GL_TEXTURE3_ARB);
        glBindTexture(GL_TEXTURE_2D, grey);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        return program;
    }

    // An image loaded as the game loads its skins, freed after the test.
    GLuint load_skin(const fs::path& path)
    {
        Texture skin(path.string().c_str());
        EXPECT_NE(skin.id, 0u) << "cannot load skin " << path;
        textures.push_back(skin.id);
        return skin.id;
    }

    // Everything the manager holds, seen from front-right and above around the placed box;
    // `light` points towards the light in eye space.
    Picture draw(GLint env_mode, const float light[3], ShaderProgram* shader = nullptr)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const float r = 0.9f * std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]}) + 1e-3f;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-r, r, -r, r, -2 * r, 2 * r);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const GLfloat pos[4] = {light[0], light[1], light[2], 0};
        glLightfv(GL_LIGHT0, GL_POSITION, pos);
        glEnable(GL_LIGHT0);
        glRotatef(25, 1, 0, 0);
        glRotatef(-35, 0, 1, 0);
        glTranslatef(-0.5f * (lo[0] + hi[0]), -0.5f * (lo[1] + hi[1]), -0.5f * (lo[2] + hi[2]));
        glEnable(GL_DEPTH_TEST); // the other state is the fresh context's default: back faces culled
        glEnable(GL_CULL_FACE);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, env_mode);
        glColor3f(1, 1, 1);
        if (shader) shader->bind();
        Md2Manager::DrawAll(shader, view);
        if (shader) shader->unbind();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        Picture p;
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, p.rgba.data());
        glReadPixels(0, 0, kSize, kSize, GL_DEPTH_COMPONENT, GL_FLOAT, p.depth.data());
        return p;
    }

    // Places `instance` at the origin, unscaled, and poses it; its decompressed box frames draw().
    void place(Md2Instance* instance)
    {
        instance->m_Transform = kIdentity;
        for (float& s : instance->m_Scale) s = 1.0f;
        instance->m_Lit = true;
        instance->Update(0.0f);
        std::copy(instance->m_BBoxMin, instance->m_BBoxMin + 3, lo);
        std::copy(instance->m_BBoxMax, instance->m_BBoxMax + 3, hi);
    }

    static constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::vector<GLuint> textures;
    ShaderProgram* program = nullptr;
    ModelView view; // no camera: nothing is culled
    float lo[3] = {}, hi[3] = {};
};

constexpr float Md2DrawTest::kIdentity[16];

// The mean skin colour draw() shows: the texel under the centre of each triangle facing the
// viewer, weighted by its screen area (models sharing an atlas use different parts of it).
Rgb mean_under_visible_triangles(const fs::path& model_path, GLuint skin)
{
    Rgb m{};
    Md2Decoded d; // a file it refuses has no triangles: the mean stays black
    EXPECT_EQ(d.load(model_path.string()), "");
    GLint sw = 0, sh = 0;
    glBindTexture(GL_TEXTURE_2D, skin);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &sw);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &sh);
    std::vector<uint8_t> texels(static_cast<size_t>(sw) * sh * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    // draw() looks through glRotatef(25, 1, 0, 0) * glRotatef(-35, 0, 1, 0)
    const double ay = -35 * M_PI / 180, ax = 25 * M_PI / 180;
    double weight = 0;
    for (const Md2Decoded::Tri& t : d.tris) {
        const Md2Decoded::V3 &a = d.frames[0][t.v[0]], &b = d.frames[0][t.v[1]], &c = d.frames[0][t.v[2]];
        const double e0[3] = {b.x - a.x, b.y - a.y, b.z - a.z}, e1[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
        const double n[3] = {e0[1] * e1[2] - e0[2] * e1[1], e0[2] * e1[0] - e0[0] * e1[2],
                             e0[0] * e1[1] - e0[1] * e1[0]};
        const double zy = -std::sin(ay) * n[0] + std::cos(ay) * n[2];
        const double facing = std::sin(ax) * n[1] + std::cos(ax) * zy; // eye-space z of the normal
        if (facing <= 0) continue;
        double s = 0, tt = 0;
        for (int k = 0; k < 3; ++k) {
            s += d.texcoords[t.st[k]].first / 3.0 / d.skin_w;
            tt += d.texcoords[t.st[k]].second / 3.0 / d.skin_h;
        }
        int x = std::clamp(int(s * sw), 0, sw - 1), y = std::clamp(int(tt * sh), 0, sh - 1);
        const uint8_t* p = &texels[(static_cast<size_t>(y) * sw + x) * 4];
        for (int k = 0; k < 3; ++k) m[k] += p[k] * facing;
        weight += facing;
    }
    if (weight > 0)
        for (double& v : m) v /= weight;
    return m;
}

// The skin a model is drawn with: the first one it names, beside it.
fs::path skin_for(const fs::path& model_path, const Md2Model& model)
{
    for (const std::string& s : model.m_Skins) {
        const fs::path skin = model_path.parent_path() / fs::path(s).filename();
        if (fs::is_regular_file(skin)) return skin;
    }
    return {};
}

TEST_F(Md2DrawTest, SameNameLoadsOnceOtherSpellingsAgainAndBrokenFilesNot)
{
    std::string path = dir.write("m/box.md2", md2_octahedron("box", 2, false).bytes());
    Md2Instance* a = Md2Manager::CreateInstance(path.c_str(), 7);
    Md2Instance* b = Md2Manager::CreateInstance(path.c_str(), 9);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(Md2Manager::m_Models.size(), 1u);
    Md2Model* model = Md2Manager::m_Models[0]->pModel;
    EXPECT_EQ(model->m_Fps, 7) << "the second request's rate is ignored";
    EXPECT_EQ(model->m_Instances.size(), 2u);
    EXPECT_TRUE(model->m_TexCoordArray.empty()) << "the CPU copies go once uploaded";

    std::replace(path.begin(), path.end(), '/', '\\');
    Md2Instance* c = Md2Manager::CreateInstance(path.c_str(), 5);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(Md2Manager::m_Models.size(), 2u) << "another spelling of the same file is another model";
    EXPECT_NE(c->m_Model, model);

    // Which files the decoder refuses is judged in Md2FileTest; one of them stands for all here.
    std::string cut = md2_octahedron("cut", 2, true).bytes();
    cut = cut.substr(0, cut.size() - 5);
    for (const std::string& bad : {dir.write("cut.md2", cut), dir.file("none.md2")})
        EXPECT_EQ(Md2Manager::CreateInstance(bad.c_str(), 5), nullptr) << bad;
    EXPECT_EQ(Md2Manager::m_Models.size(), 2u) << "files that do not load leave no model";
}

TEST_F(Md2DrawTest, ObjectInstanceReadsItsKeysInOrder)
{
    std::string model = dir.write("hover.md2", md2_octahedron("hover", 1, true).bytes());
    const std::string placing = "standard_rot_x=10\nstandard_rot_y=20\nstandard_rot_z=30\nstandard_transl_x=-1\n"
                                "standard_transl_y=-2\nstandard_transl_z=-3\n";
    ParameterFile full(dir.write("full.p", "scale_x=1.5\nscale_y=2.5\nscale_z=3.5\n" + placing + "anim_speed=4\n"));
    Md2Instance* i = create_object_instance(model.c_str(), 17, full);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->m_Texture, 17u);
    EXPECT_EQ(std::vector<float>(i->m_Scale, i->m_Scale + 3), (std::vector<float>{1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(std::vector<float>(i->m_StdRot, i->m_StdRot + 3), (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(std::vector<float>(i->m_StdTransl, i->m_StdTransl + 3), (std::vector<float>{-1, -2, -3}));
    EXPECT_TRUE(i->m_Lit);
    EXPECT_EQ(i->m_AnimSpeed, 4.0f);

    // The first missing key in reading order is the one reported.
    for (const auto& [text, key] : {std::pair<std::string, const char*>{"scale_z=1\nstandard_rot_y=1\n", "scale_y"},
                                    {"scale_x=1\nscale_y=1\nscale_z=1\n" + placing, "anim_speed"}}) {
        ParameterFile partial(dir.write("partial.p", text));
        EXPECT_THROW(create_object_instance(model.c_str(), 17, partial), BadValueException);
        EXPECT_EQ(last_bad_value().key, key);
    }
}

TEST_F(Md2DrawTest, EveryGameModelDrawsInItsSkinsColoursAndTakesTheLight)
{
    std::vector<fs::path> models; // the models the game ships, generated into the game directory
    for (const auto& e : fs::recursive_directory_iterator(game_file("media/objects")))
        if (e.path().extension() == ".md2") models.push_back(e.path());
    std::sort(models.begin(), models.end());
    ASSERT_FALSE(models.empty()) << "no models in " << game_dir();
    ShaderProgram* shader = md2instance_program();
    const float front[3] = {0, 0, 1}, behind[3] = {0, 0, -1};
    for (const fs::path& path : models) {
        SCOPED_TRACE(path.string());
        Md2Manager::FreeAll();
        Md2Instance* instance = Md2Manager::CreateInstance(path.string().c_str(), 5);
        ASSERT_NE(instance, nullptr) << "does not load";
        fs::path skin_path = skin_for(path, *instance->m_Model);
        ASSERT_FALSE(skin_path.empty()) << "no skin beside the model";
        const GLuint skin_texture = load_skin(skin_path);
        instance->SetTexture(skin_texture);
        const Rgb skin = mean_under_visible_triangles(path, skin_texture);
        place(instance);

        for (ShaderProgram* pipeline : {static_cast<ShaderProgram*>(nullptr), shader}) {
            SCOPED_TRACE(pipeline ? "md2instance program" : "fixed function");
            // Unlit: the skin's own colours.
            instance->m_Lit = pipeline == nullptr;
            Picture plain = draw(GL_REPLACE, front, pipeline);
            Rgb m = plain.mean();
            EXPECT_GT(plain.coverage(), kSize * kSize / 50) << "covers too little";
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(m[k], skin[k], 40) << "channel " << "rgb"[k];

            // Lit: faces turned to the light are brighter than faces turned away.
            instance->m_Lit = true;
            double lit = brightness(draw(GL_MODULATE, front, pipeline).mean());
            double unlit = brightness(draw(GL_MODULATE, behind, pipeline).mean());
            EXPECT_GT(lit, unlit * 1.3 + 5);
        }
    }
}

TEST_F(Md2DrawTest, CullingSkipsFarInstances)
{
    const std::string box = dir.write("box.md2", md2_octahedron("box", 1, true).bytes());
    Md2Instance* instance = Md2Manager::CreateInstance(box.c_str(), 5);
    ASSERT_NE(instance, nullptr);
    place(instance);
    Camera eye(60.0f, 1.5f, 350000.0f);
    eye.set_aspect(1.0f);
    eye.set_position(0, 0, 2000); // looking along -z at the instance
    eye.update_frustum(100000.0f);

    // The rule itself is tested where it lives; here the pass must ask it.
    view.camera = &eye;
    view.visibility_distance = 3000.0f;
    const float front[3] = {0, 0, 1};
    EXPECT_GT(draw(GL_REPLACE, front).coverage(), 1000);
    view.visibility_distance = 1500.0f;
    EXPECT_EQ(draw(GL_REPLACE, front).coverage(), 0) << "farther than the visibility distance";
    EXPECT_EQ(Md2Instance::m_BoundTexture, 0u) << "forgotten after each pass";
}

} // namespace
