// The landscape's passes on a real context: the terrain and water grids, the rings, a model's shadow, whole frames.
#include "GlFixture.h"

#include "Common/DescribeFrame.h"
#include "Gfx/DisplayToggles.h"
#include "Common/Projection.h"
#include "Gfx/FramePass.h"
#include "Gfx/GridMath.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/TerrainPass.h"
#include "Gfx/TextureMatrices.h"
#include "Gfx/WaterPass.h"

#include <cmath>
#include <iomanip>
#include <tuple>

namespace {

const double kPi = 3.141592653589793;

struct Vertex {
    float x, y, z, w;
};

class LandscapePasses : public GlFixture {
protected:
    void SetUp() override
    {
        GlFixture::SetUp();
        SDLGL& gl = *sdlgl;
        printed([&] {
            gl.textures.grass_tex = new Texture(".\\media\\Grass6.jpg");
            gl.textures.sand_tex = new Texture(".\\media\\sand_base1.jpg");
            gl.textures.rock_tex = new Texture(".\\media\\nature072b.jpg");
            gl.textures.noise_tex = new Texture(".\\media\\noise.jpg");
        });
        // The cameras as the start-up makes them, and a flat map of 256 x 256 samples at half
        // the height range.
        eyecam = new Camera(60.0f, 1.5f, 350000.0f);
        eyecam->set_aspect(float(gl.aspect_ratio));
        auxcam = new Camera(*eyecam);
        auxcam->fov = 90.0f;
        lightcam = new Camera(120.0f, 100.0f, 30000.0f);
        const uint16_t sample = 32768;
        std::vector<uint16_t> flat(256 * 256, sample);
        gl.textures.htex_16bit = new Texture();
        gl.textures.htex_16bit->load_16bit(256, 256, flat.data());
        terrain = terrain_scale_for(256, 0, gl.settings.phys_minfact, gl.settings.y_pgmland_scale, waterlevel_frac);
        ground = sample / 65535.0f * terrain.pgmland[1] + terrain.pgmland_offset;
        printed([&] {
            gl.prepare_shaders(terrain);
            gl.create_fbos();
        });
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    void TearDown() override
    {
        Md2Manager::FreeAll();
        GlFixture::TearDown();
    }

    TerrainScale terrain;
    float ground = 0; // the flat map's height in graphics units

    // Places the eye and turns it: yaw about up, then pitch (negative looks down).
    static void place_eye(double x, double y, double z, double yaw_deg, double pitch_deg)
    {
        eyecam->set_position(x, y, z);
        eyecam->set_str(1, 0, 0);
        eyecam->set_up(0, 1, 0);
        eyecam->set_dir(0, 0, 1);
        eyecam->yaw(yaw_deg * kPi / 180.0);
        eyecam->pitch(pitch_deg * kPi / 180.0);
    }

    // The frame the main loop would describe for the eye as it stands.
    static FrameDescription frame(bool scene = true, const FrameLists& lists = {})
    {
        float view[16];
        eye_view_matrix(*eyecam, view);
        return describe_frame(*sdlgl, scene, view, lists, 0.0f);
    }

    // A render target's image as RGBA bytes, bottom row first.
    static std::vector<unsigned char> pixels_of(FBO* target)
    {
        std::vector<unsigned char> p(static_cast<size_t>(target->_texW) * target->_texH * 4);
        target->bind_framebuffer();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, target->_texW, target->_texH, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        target->unbind_framebuffer();
        return p;
    }

    static std::vector<Vertex> vertices_of(FBO* grid)
    {
        std::vector<Vertex> v(static_cast<size_t>(grid->_texW) * grid->_texH);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, grid->vertex_buffer);
        glGetBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, v.size() * sizeof(Vertex), v.data());
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
        return v;
    }

    static int off_grey(const std::vector<unsigned char>& p)
    {
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4)
            if (std::abs(int(p[i]) - 128) > 2) ++n;
        return n;
    }

    // `pass` drawn into `target`, bound for it alone.
    template <class Pass> static void into(FBO* target, Pass pass)
    {
        target->bind_framebuffer();
        pass(target);
        target->unbind_framebuffer();
    }

    // The terrain grid of the eye's frame; returns the frame, whose terrain grid camera made it.
    FrameDescription terrain_grid()
    {
        const FrameDescription f = frame();
        ShaderProgram* grid_program = sdlgl->programs.pgmlandShader;
        into(sdlgl->targets.pgmlandgrid_fbo, [&](FBO* t) { update_terrain_grid(f, grid_program, t); });
        return f;
    }

    // One frame; the main image is left in the depth-of-field target, which the final image only reads.
    std::vector<unsigned char> main_image()
    {
        render_frame(frame());
        return pixels_of(sdlgl->targets.dof_fbo);
    }

    // Mean brightness of the main image's 13 x 13 pixels around where the world point lands.
    double brightness_at(const std::vector<unsigned char>& p, double x, double y, double z) const
    {
        const FBO* image = sdlgl->targets.dof_fbo;
        double view[16], proj[16], both[16], clip[4];
        float f[16];
        camera_view_matrix(*eyecam, view);
        frustum_matrix(frustum_bounds(60.0f, float(image->_texW) / image->_texH, 1.5f, 350000.0f), f);
        mat4_from_float(f, proj);
        mat4_mul(proj, view, both);
        const double in[4] = {x, y, z, 1.0};
        mat4_transform(both, in, clip);
        const int px = int((clip[0] / clip[3] * 0.5 + 0.5) * image->_texW);
        const int py = int((clip[1] / clip[3] * 0.5 + 0.5) * image->_texH);
        double sum = 0;
        for (int v = py - 6; v <= py + 6; ++v)
            for (int u = px - 6; u <= px + 6; ++u) {
                const unsigned char* c = &p[(static_cast<size_t>(v) * image->_texW + u) * 4];
                sum += (c[0] + c[1] + c[2]) / 3.0;
            }
        return sum / (13 * 13);
    }

    void ring_images(const std::vector<const RingTrail*>& trails)
    {
        const SDLGL::Programs& p = sdlgl->programs;
        FrameLists lists;
        lists.rings = &trails;
        const FrameDescription f = frame(true, lists);
        into(sdlgl->targets.ripple_a_fbo, [&](FBO* t) { draw_rings(f, p.ringsShader, t); });
        into(sdlgl->targets.ripple_b_fbo, [&](FBO* t) { draw_ring_normals(f, p.waternormalsShader, t); });
    }
};

// The frame holds copies of the cameras: the grid camera aimed from the eye for the terrain,
// then for the water (the game's grid camera left at the second), unless the grids are
// kept or the title is up; the eye's view is the one the fixed-function pipeline builds.
TEST_F(LandscapePasses, TheFrameDescribesTheCamerasAsTheyStandAfterTheGame)
{
    place_eye(128, 300, 400, 20, -25);
    auxcam->set_position(1, 2, 3);
    auto same = [](const Vec3d& a, const Vec3d& b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
    for (const auto& [scene, skip, aimed] :
         {std::tuple{true, false, true}, {true, true, false}, {false, false, false}}) {
        SCOPED_TRACE(testing::Message() << "scene " << scene << " skip_subpass " << skip);
        display.skip_subpass = skip;
        const Vec3d kept = auxcam->pos;
        const FrameDescription f = frame(scene);
        EXPECT_TRUE(same(f.water_grid.pos, auxcam->pos));
        EXPECT_EQ(same(f.terrain_grid.pos, f.water_grid.pos), !aimed);
        EXPECT_EQ(same(auxcam->pos, kept), !aimed);
        auxcam->set_position(1, 2, 3);
    }
    display.skip_subpass = false;

    float rotation[16], by_gl[16], view[16];
    double s[3] = {eyecam->str.x, eyecam->str.y, eyecam->str.z}, u[3] = {eyecam->up.x, eyecam->up.y, eyecam->up.z},
           d[3] = {eyecam->dir.x, eyecam->dir.y, eyecam->dir.z}, origin[3] = {0, 0, 0};
    Camera::view_matrix(origin, s, u, d, rotation);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(rotation);
    glTranslatef(float(-eyecam->pos.x), float(-eyecam->pos.y), float(-eyecam->pos.z));
    glGetFloatv(GL_MODELVIEW_MATRIX, by_gl);
    eye_view_matrix(*eyecam, view);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(view[i], by_gl[i]) << "element " << i;
}

// Looking down, the grid lies on the flat map (the sea floor around it), facing up and wound
// counter-clockwise seen from above, so back-face culling keeps it. Looking out, along every
// column the rows move forward (the lowest start a little behind the camera) and never fold
// back; rows past the horizon all end at the far limit, and the rows near the camera are the densest.
TEST_F(LandscapePasses, TerrainGridLiesOnTheGroundAndItsRowsNeverFoldOverTheHorizon)
{
    FBO* grid = sdlgl->targets.pgmlandgrid_fbo;
    const int w = grid->_texW, h = grid->_texH;
    place_eye(128, 300, 400, 0, -20);
    terrain_grid();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::vector<Vertex> v = vertices_of(grid);
    const float side = 1.0f / terrain.pgmland[0]; // the map covers 0 .. side on x and z
    const float level_normal = 512.0f * 1024.0f + 512.0f; // (0, 1, 0) packed
    int on_map = 0;
    for (const Vertex& p : v) {
        ASSERT_GE(p.y, terrain.pgmland_offset - 0.05f);
        ASSERT_LE(p.y, ground + 0.05f);
        if (p.x > 0.1f * side && p.x < 0.9f * side && p.z > 0.1f * side && p.z < 0.9f * side) {
            ++on_map;
            ASSERT_NEAR(p.y, ground, 0.05f);
            ASSERT_EQ(p.w, level_normal);
        }
    }
    EXPECT_GT(on_map, 200);
    const Vertex &a = v[0], &b = v[1], &c = v[static_cast<size_t>(w) + 1];
    EXPECT_GT((c.z - a.z) * (b.x - a.x) - (c.x - a.x) * (b.z - a.z), 0.0) << "counter-clockwise from above";

    place_eye(128, 300, 400, 30, -3);
    const Camera grid_camera = terrain_grid().terrain_grid;
    v = vertices_of(grid);
    const double ax = grid_camera.pos.x, az = grid_camera.pos.z;
    const double flat = std::hypot(grid_camera.dir.x, grid_camera.dir.z);
    const double fx = -grid_camera.dir.x / flat, fz = -grid_camera.dir.z / flat; // ahead, on the ground
    auto ahead_of = [&](int row, int col) {
        const Vertex& p = v[static_cast<size_t>(row) * w + col];
        return (p.x - ax) * fx + (p.z - az) * fz;
    };
    for (int col = 0; col < w; col += 7)
        for (int row = 0; row < h; ++row) {
            const Vertex& p = v[static_cast<size_t>(row) * w + col];
            ASSERT_LE(std::hypot(p.x - ax, p.z - az), 60000.0 * 1.0001);
            if (row == 0) continue;
            ASSERT_GE(ahead_of(row, col), ahead_of(row - 1, col) - 1e-2)
                << std::setprecision(10) << "column " << col << " row " << row;
        }
    const int mid = w / 2;
    EXPECT_LT(ahead_of(1, mid) - ahead_of(0, mid), ahead_of(h / 2 + 1, mid) - ahead_of(h / 2, mid));
    EXPECT_GT(ahead_of(h - 1, mid), 20000.0); // the top rows reach far out
}

TEST_F(LandscapePasses, WaterGridLiesOnTheWaterPlaneInsideItsCorners)
{
    place_eye(128, 300, 400, 0, -30);
    SDLGL& gl = *sdlgl;
    ring_images({});
    WaterCorners c = water_corners(*eyecam, *auxcam);
    FBO* grid = gl.targets.watergrid_fbo;
    into(grid, [&](FBO* t) { update_water_grid(frame(), gl.programs.rippleShader, t); });
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // The corners' range along an axis, widened by a unit on either side.
    auto span = [&c](double HPoint::*axis) {
        double lo = 1e30, hi = -1e30;
        for (const HPoint& p : c.p) {
            lo = std::min(lo, p.*axis / p.w);
            hi = std::max(hi, p.*axis / p.w);
        }
        return std::pair{lo - 1.0, hi + 1.0};
    };
    const auto [min_x, max_x] = span(&HPoint::x);
    const auto [min_z, max_z] = span(&HPoint::z);
    const float wave_reach = waveScale * 6.0f + 0.5f * ripple_scale() * 40.0f + 0.5f;
    for (const Vertex& p : vertices_of(grid)) {
        ASSERT_LE(std::fabs(p.y), wave_reach);
        ASSERT_TRUE(p.x >= min_x && p.x <= max_x && p.z >= min_z && p.z <= max_z) << p.x << ", " << p.z;
        ASSERT_EQ(p.w, 1.0f);
    }
}

// The frame's trail update records a ring, ages it in the same step and lists the trail for
// the ring pass; such a ring reaches both ring images, a ring of strength 10 draws nothing.
TEST_F(LandscapePasses, RingsRecordedThisFrameReachTheRingImagesWeakOnesDoNot)
{
    place_eye(128, 300, 400, 0, -30);
    // A point of the water in the middle of the view: 300 below, 30 degrees down.
    const float ahead = float(300.0 / std::tan(30.0 * kPi / 180.0)), dt = 1.0f / 60;
    RingTrail strong, none, weak;
    std::vector<const RingTrail*> seen;
    update_ring_trail(strong, kRingTypePlayer, 0.0f, 128.0f, 400.0f - ahead, 5.0f, 2.0f * dt, dt, 14.0f, seen);
    update_ring_trail(none, 10000, 0.0f, 128.0f, 400.0f - ahead, 5.0f, 2.0f * dt, dt, 14.0f, seen);
    ASSERT_EQ(seen, (std::vector<const RingTrail*>{&strong, &none}));
    EXPECT_EQ(strong.records[1].strength, 99); // made at 100, aged by one frame
    EXPECT_FLOAT_EQ(strong.records[1].size, 170.0f + 350.0f * 2.0f * dt);
    EXPECT_EQ(strong.records[1].time, 5000);
    weak.records[1] = RingRecord{10, 0, 150.0f, 128.0f, 400.0f - ahead};

    for (const auto& [trails, drawn] : {std::pair{std::vector<const RingTrail*>{&weak}, false}, {seen, true}}) {
        ring_images(trails);
        for (FBO* image : {sdlgl->targets.ripple_a_fbo, sdlgl->targets.ripple_b_fbo}) {
            const int marked = off_grey(pixels_of(image));
            EXPECT_TRUE(drawn ? marked > 100 : marked == 0) << marked << " marked";
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Whole frames: a model's shadow darkens the ground where the light's ray through it lands and
// nowhere else, and with or without the water surface a frame leaves the model-view stack as
// deep as it found it.
TEST_F(LandscapePasses, AModelDarkensTheGroundWhereItsShadowFallsAndFramesKeepTheMatrixStack)
{
    ParameterFile params(".\\media\\objects\\ship\\ship.p");
    Md2Instance* ship = create_object_instance(".\\media\\objects\\ship\\ship_anim.md2", 0, params);
    ASSERT_NE(ship, nullptr);
    const double mx = 520, mz = 400, my = ground + 800;
    const float place[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, float(mx), float(my), float(mz), 1};
    ship->m_Transform = place;

    // The light as the game sets it up: its direction axis along light_dir, above the model.
    const double L[3] = {-0.2 / 0.8878, 0.85 / 0.8878, -0.15 / 0.8878};
    lightcam->set_position(mx + L[0] * 4000, my + L[1] * 4000, mz + L[2] * 4000);
    lightcam->set_dir(L[0], L[1], L[2]);

    // The eye straight above, between the ship and its shadow.
    eyecam->set_position(600, ground + 2600, 480);
    eyecam->set_str(1, 0, 0);
    eyecam->set_up(0, 0, -1);
    eyecam->set_dir(0, 1, 0);
    eyecam->update_frustum(1.0e6f);

    // Where the light's ray through the ship's centre meets the ground, and a spot well
    // away from both.
    const double reach = (my - ground) / L[1];
    const double sx = mx - L[0] * reach, sz = mz - L[2] * reach, cx = mx - 300, cz = mz + 250;

    const GLint stack_depth = gl_integer(GL_MODELVIEW_STACK_DEPTH);
    std::vector<unsigned char> with_ship = main_image();
    ship->m_Visible = false;
    std::vector<unsigned char> without_ship = main_image();
    display.buffer_pass = false; // and a frame without the water surface
    main_image();
    display.buffer_pass = true;
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(gl_integer(GL_MODELVIEW_STACK_DEPTH), stack_depth) << "the water surface pass does not own the pop";

    EXPECT_LT(brightness_at(with_ship, sx, ground, sz), brightness_at(without_ship, sx, ground, sz) * 0.85)
        << "the shadow at (" << sx << ", " << sz << ")";
    EXPECT_NEAR(brightness_at(with_ship, cx, ground, cz), brightness_at(without_ship, cx, ground, cz), 1.0)
        << "away from the shadow nothing changes";
}

} // namespace
