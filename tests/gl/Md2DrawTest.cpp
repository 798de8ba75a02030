// Models on a real GL context: loading through the manager, placing instances from parameter
// files, and drawing every model of the game directory so that it covers pixels in its
// skin's colours and is brighter on the side the light comes from.
#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/MD2_Model.h"
#include "Gfx/Md2File.h"
#include "Gfx/ShaderProgram.h"
#include "GameDir.h"
#include "Md2Writer.h"
#include "TempDir.h"

#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

constexpr int kSize = 256;

struct Rgb {
    double r = 0, g = 0, b = 0;
    double brightness() const { return (r + g + b) / 3; }
};

// A skin on the GPU with the mean colour of its texels (0-255).
struct Skin {
    GLuint id = 0;
    Rgb mean;
};

struct Picture {
    std::vector<uint8_t> rgba;
    std::vector<float> depth;
    bool covered(int x, int y) const { return depth[size_t(y * kSize + x)] < 1.0f; }
    int coverage() const { return int(std::count_if(depth.begin(), depth.end(), [](float d) { return d < 1.0f; })); }
    // Mean colour of the covered pixels; with `side` -1 only the left half, +1 only the right.
    Rgb mean(int side = 0) const
    {
        Rgb m;
        int n = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                if (!covered(x, y) || (side < 0 && x >= kSize / 2) || (side > 0 && x < kSize / 2)) continue;
                const uint8_t* p = &rgba[size_t(4 * (y * kSize + x))];
                m.r += p[0];
                m.g += p[1];
                m.b += p[2];
                ++n;
            }
        if (n) {
            m.r /= n;
            m.g /= n;
            m.b /= n;
        }
        return m;
    }
};

class Md2DrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        ASSERT_NE(SDL_SetVideoMode(kSize, kSize, 0, SDL_OPENGL), nullptr) << SDL_GetError();
        ASSERT_EQ(glewInit(), GLEW_OK);
        ASSERT_TRUE(GLEW_ARB_vertex_buffer_object);
        saved_culling = view_frustum_culling;
        saved_distance = md2_visibility_distance;
    }
    void TearDown() override
    {
        Md2Manager::FreeAll();
        for (GLuint t : textures) glDeleteTextures(1, &t);
        delete program;
        delete eyecam;
        eyecam = nullptr;
        view_frustum_culling = saved_culling;
        md2_visibility_distance = saved_distance;
        // The context lives until the process ends: closing it unloads the GL driver, and the
        // driver's own leftovers would then be reported as leaks of a module without a name.
    }

    // The game's program for models, set up as the model pass of the main image uses it, with
    // a neutral noise texture and no shadow (the shadowed light level is the full light).
    ShaderProgram* md2instance_program()
    {
        program = new ShaderProgram;
        program->load(game_file("shader/md2instance_vs.c").c_str(), game_file("shader/md2instance_fs.c").c_str());
        program->set_uniform_1i("decalMap", 0);
        program->set_uniform_1i("noiseMap", 3);
        program->set_uniform_1i("shadowMap", 2);
        program->set_uniform_1f("light_still_in_shadowed_region", 1.0f);
        const float dof[4] = {1, 1, 1000, 1000};
        program->set_uniform_4fv("dof_params", dof);
        program->set_uniform_1f("need_dof_alpha", 1.0f);
        const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        program->set_uniform_matrix4("tmpMat", 1, false, identity);
        program->unbind();
        GLuint grey = 0;
        const uint8_t half[4] = {128, 128, 128, 255};
        glGenTextures(1, &grey);
        glActiveTextureARB(GL_TEXTURE3_ARB);
        glBindTexture(GL_TEXTURE_2D, grey);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, half);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        textures.push_back(grey);
        return program;
    }

    Skin load_skin(const std::string& path)
    {
        Skin skin;
        SDL_Surface* loaded = IMG_Load(path.c_str());
        if (!loaded) {
            ADD_FAILURE() << "cannot load skin " << path;
            return skin;
        }
        SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 32, 0x000000FF, 0x0000FF00,
                                                 0x00FF0000, 0xFF000000);
        SDL_SetAlpha(loaded, 0, 255);
        SDL_BlitSurface(loaded, nullptr, rgba, nullptr);
        SDL_LockSurface(rgba);
        const uint8_t* px = static_cast<const uint8_t*>(rgba->pixels);
        for (int y = 0; y < rgba->h; ++y)
            for (int x = 0; x < rgba->w; ++x) {
                const uint8_t* p = px + y * rgba->pitch + 4 * x;
                skin.mean.r += p[0];
                skin.mean.g += p[1];
                skin.mean.b += p[2];
            }
        double n = double(rgba->w) * rgba->h;
        skin.mean.r /= n;
        skin.mean.g /= n;
        skin.mean.b /= n;
        glGenTextures(1, &skin.id);
        glBindTexture(GL_TEXTURE_2D, skin.id);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glBindTexture(GL_TEXTURE_2D, 0);
        SDL_UnlockSurface(rgba);
        SDL_FreeSurface(rgba);
        SDL_FreeSurface(loaded);
        textures.push_back(skin.id);
        return skin;
    }

    // Draws everything the manager holds, seen from the front-right and above, framed around
    // the box [lo, hi]; `light` is the light direction in eye space (towards the light).
    Picture draw(const float lo[3], const float hi[3], GLint env_mode, const float light[3],
                 ShaderProgram* shader = nullptr)
    {
        glViewport(0, 0, kSize, kSize);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        float r = 0, c[3];
        for (int i = 0; i < 3; ++i) {
            c[i] = 0.5f * (lo[i] + hi[i]);
            r = std::max(r, 0.5f * (hi[i] - lo[i]));
        }
        r = r * 1.8f + 1e-3f;
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
        glTranslatef(-c[0], -c[1], -c[2]);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CCW);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, env_mode);
        glColor3f(1, 1, 1);
        glShadeModel(GL_SMOOTH);
        if (shader) shader->bind();
        Md2Manager::DrawAll(shader);
        if (shader) shader->unbind();
        glDisable(GL_LIGHTING);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        Picture p;
        p.rgba.resize(size_t(4 * kSize * kSize));
        p.depth.resize(size_t(kSize * kSize));
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, p.rgba.data());
        glReadPixels(0, 0, kSize, kSize, GL_DEPTH_COMPONENT, GL_FLOAT, p.depth.data());
        return p;
    }

    // Places `instance` at the origin, unscaled, and poses it; returns its decompressed box.
    void place(Md2Instance* instance, float lo[3], float hi[3])
    {
        instance->m_Transform = kIdentity;
        for (float& s : instance->m_Scale) s = 1.0f;
        instance->m_Lit = true;
        instance->Update(0.0f);
        for (int i = 0; i < 3; ++i) {
            lo[i] = instance->m_BBoxMin[i];
            hi[i] = instance->m_BBoxMax[i];
        }
    }

    std::string write_model(TempDir& dir, const std::string& name, const Md2Writer& w)
    {
        return dir.write(name, w.bytes());
    }

    // A skin of two close shades, so that its mean is what any part of it shows.
    std::string write_skin(TempDir& dir, const std::string& name, uint8_t r, uint8_t g, uint8_t b)
    {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
        SDL_LockSurface(s);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                uint8_t* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + 3 * x;
                int d = ((x / 8 + y / 8) % 2) ? 6 : -6;
                p[0] = uint8_t(std::clamp(r + d, 0, 255));
                p[1] = uint8_t(std::clamp(g + d, 0, 255));
                p[2] = uint8_t(std::clamp(b + d, 0, 255));
            }
        SDL_UnlockSurface(s);
        std::string path = dir.file(name);
        fs::create_directories(fs::path(path).parent_path());
        EXPECT_EQ(SDL_SaveBMP(s, path.c_str()), 0);
        SDL_FreeSurface(s);
        return path;
    }

    static constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::vector<GLuint> textures;
    ShaderProgram* program = nullptr;
    bool saved_culling = true;
    float saved_distance = 0;
};

constexpr float Md2DrawTest::kIdentity[16];

// The models the game ships (generated into the game directory), or none yet.
std::vector<fs::path> game_models()
{
    std::vector<fs::path> found;
    const char* dir = std::getenv("MOORHOLD_GAME_DIR");
    if (!dir) return found;
    fs::path objects = fs::path(dir) / "media" / "objects";
    std::error_code ec;
    if (!fs::is_directory(objects, ec)) return found;
    for (const auto& e : fs::recursive_directory_iterator(objects, ec))
        if (e.is_regular_file() && e.path().extension() == ".md2") found.push_back(e.path());
    std::sort(found.begin(), found.end());
    return found;
}

// The mean colour of the skin texels a model shows when drawn by draw(): each file triangle
// that faces the viewer contributes the texel under its centre, weighted by its area on the
// screen. Models of one skin atlas use different parts of it (the rotors and the hull share
// the hover skin), so the whole skin's mean says little about one model.
Rgb mean_under_visible_triangles(const fs::path& model_path, const fs::path& skin_path)
{
    Rgb m;
    Md2File file;
    SDL_Surface* loaded = IMG_Load(skin_path.string().c_str());
    if (!file.Read(model_path.string().c_str()) || !loaded) {
        ADD_FAILURE() << "cannot read " << model_path << " or " << skin_path;
        if (loaded) SDL_FreeSurface(loaded);
        return m;
    }
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 32, 0x000000FF, 0x0000FF00,
                                            0x00FF0000, 0xFF000000);
    SDL_SetAlpha(loaded, 0, 255);
    SDL_BlitSurface(loaded, nullptr, rgb, nullptr);
    SDL_LockSurface(rgb);
    const Md2Header& h = file.Header();
    const Md2FrameView f = file.Frame(0);
    // game axes: the file's (x, y, z) is the game's (x, z, y)
    auto pos = [&](int v, int k) {
        const int file_axis[3] = {0, 2, 1};
        const int a = file_axis[k];
        return double(f.vertices[4 * v + a] * f.scale[a] + f.translate[a]);
    };
    // draw() looks through glRotatef(25, 1, 0, 0) * glRotatef(-35, 0, 1, 0)
    const double ay = -35 * M_PI / 180, ax = 25 * M_PI / 180;
    double weight = 0;
    for (int i = 0; i < h.num_tris; ++i) {
        const Md2Triangle t = file.Triangle(i);
        double e[2][3];
        for (int a = 0; a < 2; ++a)
            for (int k = 0; k < 3; ++k) e[a][k] = pos(t.vertex[a + 1], k) - pos(t.vertex[0], k);
        const double n[3] = {e[0][1] * e[1][2] - e[0][2] * e[1][1], e[0][2] * e[1][0] - e[0][0] * e[1][2],
                             e[0][0] * e[1][1] - e[0][1] * e[1][0]};
        const double zy = -std::sin(ay) * n[0] + std::cos(ay) * n[2];
        const double facing = std::sin(ax) * n[1] + std::cos(ax) * zy; // eye-space z of the normal
        if (facing <= 0) continue;
        double s = 0, tt = 0;
        for (int k = 0; k < 3; ++k) {
            s += file.TexCoord(t.texcoord[k]).s / 3.0 / h.skin_width;
            tt += file.TexCoord(t.texcoord[k]).t / 3.0 / h.skin_height;
        }
        int x = std::clamp(int(s * rgb->w), 0, rgb->w - 1), y = std::clamp(int(tt * rgb->h), 0, rgb->h - 1);
        const uint8_t* p = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch + 4 * x;
        m.r += p[0] * facing;
        m.g += p[1] * facing;
        m.b += p[2] * facing;
        weight += facing;
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(loaded);
    if (weight > 0) {
        m.r /= weight;
        m.g /= weight;
        m.b /= weight;
    }
    return m;
}

// The skin a model is drawn with: a skin it names, found beside it; else the image named for
// its folder (the game's texture of that object); else any image beside it.
fs::path skin_for(const fs::path& model_path, const Md2Model& model)
{
    const fs::path dir = model_path.parent_path();
    for (const std::string& s : model.m_Skins) {
        fs::path name = fs::path(s).filename();
        if (!name.empty() && fs::exists(dir / name)) return dir / name;
    }
    for (const char* ext : {".jpg", ".png", ".bmp", ".tga"})
        if (fs::exists(dir / (dir.filename().string() + ext))) return dir / (dir.filename().string() + ext);
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string ext = e.path().extension().string();
        if (ext == ".jpg" || ext == ".png" || ext == ".bmp" || ext == ".tga") return e.path();
    }
    return {};
}

TEST_F(Md2DrawTest, SameNameLoadsOnceAndOtherSpellingsLoadAgain)
{
    TempDir dir;
    std::string path = write_model(dir, "m/box.md2", md2_octahedron("box", 2, false));
    Md2Instance* a = Md2Manager::CreateInstance(path.c_str(), 7);
    Md2Instance* b = Md2Manager::CreateInstance(path.c_str(), 9);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    ASSERT_EQ(Md2Manager::m_Models.size(), 1u);
    Md2Model* model = Md2Manager::m_Models[0]->pModel;
    EXPECT_EQ(a->m_Model, model);
    EXPECT_EQ(b->m_Model, model);
    EXPECT_EQ(model->m_Fps, 7) << "the second request's rate is ignored";
    EXPECT_EQ(model->m_Instances.size(), 2u);
    EXPECT_NE(a->m_VertexBuffer, 0u);
    EXPECT_NE(model->m_TexCoords, 0u);
    EXPECT_NE(model->m_IndexBuffer, 0u);
    EXPECT_TRUE(model->m_TexCoordArray.empty()) << "the CPU copies go once uploaded";

    std::string backslashed = path;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    Md2Instance* c = Md2Manager::CreateInstance(backslashed.c_str(), 5);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(Md2Manager::m_Models.size(), 2u) << "another spelling of the same file is another model";
    EXPECT_NE(c->m_Model, model);
}

TEST_F(Md2DrawTest, FilesThatDoNotLoadLeaveNoModel)
{
    TempDir dir;
    Md2Writer old = md2_octahedron("old", 1, false);
    old.version = 7;
    std::string bad = write_model(dir, "old.md2", old);
    std::string cut = md2_octahedron("cut", 2, true).bytes();
    std::string truncated = dir.write("cut.md2", cut.substr(0, cut.size() - 5));
    EXPECT_EQ(Md2Manager::CreateInstance(bad.c_str(), 5), nullptr);
    EXPECT_EQ(Md2Manager::CreateInstance(truncated.c_str(), 5), nullptr);
    EXPECT_EQ(Md2Manager::CreateInstance(dir.file("none.md2").c_str(), 5), nullptr);
    EXPECT_TRUE(Md2Manager::m_Models.empty());
}

TEST_F(Md2DrawTest, ObjectInstanceReadsItsKeysInOrder)
{
    TempDir dir;
    std::string model = write_model(dir, "hover.md2", md2_octahedron("hover", 1, true));
    ParameterFile full(dir.write("full.p",
                                 "scale_x=1.5\nscale_y=2.5\nscale_z=3.5\nstandard_rot_x=10\nstandard_rot_y=20\n"
                                 "standard_rot_z=30\nstandard_transl_x=-1\nstandard_transl_y=-2\n"
                                 "standard_transl_z=-3\nanim_speed=4\n"));
    Md2Instance* i = create_object_instance(model.c_str(), 17, full);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->m_Model->m_Fps, 5);
    EXPECT_EQ(i->m_Texture, 17u);
    EXPECT_EQ(std::vector<float>(i->m_Scale, i->m_Scale + 3), (std::vector<float>{1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(std::vector<float>(i->m_StdRot, i->m_StdRot + 3), (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(std::vector<float>(i->m_StdTransl, i->m_StdTransl + 3), (std::vector<float>{-1, -2, -3}));
    EXPECT_TRUE(i->m_Lit);
    EXPECT_EQ(i->m_AnimSpeed, 4.0f);

    // The first missing key in reading order is the one reported.
    ParameterFile partial(dir.write("partial.p", "scale_z=1\nstandard_rot_y=1\n"));
    EXPECT_THROW(create_object_instance(model.c_str(), 17, partial), BadValueException);
    EXPECT_EQ(last_bad_value().key, "scale_y");
    ParameterFile no_speed(dir.write("nospeed.p",
                                     "scale_x=1\nscale_y=1\nscale_z=1\nstandard_rot_x=0\nstandard_rot_y=0\n"
                                     "standard_rot_z=0\nstandard_transl_x=0\nstandard_transl_y=0\n"
                                     "standard_transl_z=0\n"));
    EXPECT_THROW(create_object_instance(model.c_str(), 17, no_speed), BadValueException);
    EXPECT_EQ(last_bad_value().key, "anim_speed");
}

TEST_F(Md2DrawTest, EveryGameModelDrawsInItsSkinsColoursAndTakesTheLight)
{
    TempDir dir;
    std::vector<fs::path> models = game_models();
    bool written = models.empty();
    if (written) {
        // Until the game directory has models of its own, draw models of both forms.
        write_skin(dir, "tri/tri.bmp", 200, 120, 40);
        write_skin(dir, "cmd/cmd.bmp", 40, 150, 210);
        models.push_back(write_model(dir, "tri/tri.md2", md2_octahedron("tri", 3, false)));
        models.push_back(write_model(dir, "cmd/cmd.md2", md2_octahedron("cmd", 3, true)));
        std::printf("no models in the game directory yet: drawing written ones\n");
    }
    ShaderProgram* shader = md2instance_program();
    view_frustum_culling = false;
    const float front[3] = {0, 0, 1}, behind[3] = {0, 0, -1}, right[3] = {1, 0, 0}, left[3] = {-1, 0, 0};
    for (const fs::path& path : models) {
        SCOPED_TRACE(path.string());
        Md2Manager::FreeAll();
        Md2Instance* instance = Md2Manager::CreateInstance(path.string().c_str(), 5);
        ASSERT_NE(instance, nullptr) << "does not load";
        fs::path skin_path = skin_for(path, *instance->m_Model);
        ASSERT_FALSE(skin_path.empty()) << "no skin beside the model";
        Skin skin = load_skin(skin_path.string());
        if (!written) skin.mean = mean_under_visible_triangles(path, skin_path);
        instance->SetTexture(skin.id);
        float lo[3], hi[3];
        place(instance, lo, hi);
        std::printf("%s (skin %s, mean %.0f %.0f %.0f):\n", path.filename().c_str(), skin_path.filename().c_str(),
                    skin.mean.r, skin.mean.g, skin.mean.b);

        for (ShaderProgram* pipeline : {static_cast<ShaderProgram*>(nullptr), shader}) {
            SCOPED_TRACE(pipeline ? "md2instance program" : "fixed function");
            // Unlit: the skin's own colours.
            instance->m_Lit = pipeline == nullptr;
            Picture plain = draw(lo, hi, GL_REPLACE, front, pipeline);
            int covered = plain.coverage();
            Rgb m = plain.mean();
            EXPECT_GT(covered, kSize * kSize / 50) << "covers too little";
            EXPECT_NEAR(m.r, skin.mean.r, 40);
            EXPECT_NEAR(m.g, skin.mean.g, 40);
            EXPECT_NEAR(m.b, skin.mean.b, 40);

            // Lit: faces turned to the light are brighter than faces turned away.
            instance->m_Lit = true;
            double lit = draw(lo, hi, GL_MODULATE, front, pipeline).mean().brightness();
            double unlit = draw(lo, hi, GL_MODULATE, behind, pipeline).mean().brightness();
            std::printf("  %s: %d pixels, mean %.0f %.0f %.0f; light from the viewer %.1f, from behind %.1f\n",
                        pipeline ? "program" : "fixed  ", covered, m.r, m.g, m.b, lit, unlit);
            EXPECT_GT(lit, unlit * 1.3 + 5);
            if (written) {
                // The written solid is round enough that each half turns to its own side's light.
                Picture from_right = draw(lo, hi, GL_MODULATE, right, pipeline);
                Picture from_left = draw(lo, hi, GL_MODULATE, left, pipeline);
                EXPECT_GT(from_right.mean(+1).brightness(), from_left.mean(+1).brightness() + 10);
                EXPECT_GT(from_left.mean(-1).brightness(), from_right.mean(-1).brightness() + 10);
            }
        }
    }
}

TEST_F(Md2DrawTest, TrianglesStripsAndFansOfOneSolidCoverTheSamePixels)
{
    TempDir dir;
    const std::string files[3] = {write_model(dir, "tri.md2", md2_octahedron("s", 1, false)),
                                  write_model(dir, "strips.md2", md2_octahedron("s", 1, true)),
                                  write_model(dir, "fans.md2", md2_octahedron("s", 1, true, true))};
    view_frustum_culling = false;
    int coverage[3];
    for (int k = 0; k < 3; ++k) {
        Md2Manager::FreeAll();
        Md2Instance* instance = Md2Manager::CreateInstance(files[k].c_str(), 5);
        ASSERT_NE(instance, nullptr);
        float lo[3], hi[3];
        place(instance, lo, hi);
        const float front[3] = {0, 0, 1};
        coverage[k] = draw(lo, hi, GL_REPLACE, front).coverage();
    }
    EXPECT_GT(coverage[0], 1000);
    EXPECT_NEAR(coverage[1], coverage[0], coverage[0] * 0.01) << "eight strips of three";
    EXPECT_NEAR(coverage[2], coverage[0], coverage[0] * 0.01) << "two fans of six, the second 12 bytes in";
}

TEST_F(Md2DrawTest, CullingSkipsFarInstancesAndUnplacedOnesNeverDraw)
{
    TempDir dir;
    std::string path = write_model(dir, "box.md2", md2_octahedron("box", 1, true));
    Md2Instance* instance = Md2Manager::CreateInstance(path.c_str(), 5);
    ASSERT_NE(instance, nullptr);
    float lo[3], hi[3];
    place(instance, lo, hi);
    eyecam = new Camera(60.0f, 1.5f, 350000.0f);
    eyecam->set_aspect(1.0f);
    eyecam->set_position(0, 0, 2000); // looking along -z at the instance
    eyecam->update_frustum(100000.0f);
    const float front[3] = {0, 0, 1};

    view_frustum_culling = true;
    md2_visibility_distance = 3000.0f;
    EXPECT_GT(draw(lo, hi, GL_REPLACE, front).coverage(), 1000);
    md2_visibility_distance = 1500.0f;
    EXPECT_EQ(draw(lo, hi, GL_REPLACE, front).coverage(), 0) << "farther than the visibility distance";
    view_frustum_culling = false;
    EXPECT_GT(draw(lo, hi, GL_REPLACE, front).coverage(), 1000);

    view_frustum_culling = true;
    md2_visibility_distance = 3000.0f;
    eyecam->set_dir(0, 0, -1); // now looking away: 2000 behind, past the margin of 1000
    eyecam->update_frustum(100000.0f);
    EXPECT_EQ(draw(lo, hi, GL_REPLACE, front).coverage(), 0) << "outside the frustum";

    view_frustum_culling = false;
    instance->m_Transform = nullptr;
    EXPECT_EQ(draw(lo, hi, GL_REPLACE, front).coverage(), 0) << "an instance nobody placed";
    instance->m_Transform = kIdentity;
    instance->m_Visible = false;
    EXPECT_EQ(draw(lo, hi, GL_REPLACE, front).coverage(), 0);
    EXPECT_EQ(Md2Instance::m_BoundTexture, 0u) << "forgotten after each pass";
}

} // namespace
