// Models cast shadows on the landscape: a ship held above flat ground darkens the ground
// where the light's ray through it meets the ground, and nowhere else.
#include "GlFixture.h"

#include "Common/Camera.h"
#include "Common/DescribeFrame.h"
#include "Common/ParameterFile.h"
#include "Common/Projection.h"
#include "Gfx/FBO.h"
#include "Gfx/FramePass.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/TextureMatrices.h"
#include "Terrain/TerrainScale.h"

#include <cmath>
#include <vector>

namespace {

class ShadowPass : public GlFixture {
protected:
    void SetUp() override
    {
        GlFixture::SetUp();
        SDLGL& gl = *sdlgl;
        ::testing::internal::CaptureStdout();
        gl.grass_tex = new Texture(".\\media\\Grass6.jpg");
        gl.sand_tex = new Texture(".\\media\\sand_base1.jpg");
        gl.rock_tex = new Texture(".\\media\\nature072b.jpg");
        gl.noise_tex = new Texture(".\\media\\noise.jpg");
        ::testing::internal::GetCapturedStdout();
        ground = flat_ground(prepare_flat_landscape(256));
    }

    void TearDown() override
    {
        Md2Manager::FreeAll();
        GlFixture::TearDown();
    }

    // One frame; the main image is left in the depth-of-field target, which the final image
    // only reads.
    std::vector<unsigned char> main_image()
    {
        double view[16];
        camera_view_matrix(*eyecam, view);
        mat4_to_float(view, view_matrix);
        Md2Manager::UpdateAll(0.0f);
        const FrameDescription f = describe_frame(*sdlgl, true);
        begin_frame_images(f);
        end_simulation_image();
        render_frame(f);
        return pixels_of(sdlgl->dof_fbo);
    }

    // Where a world point lands in the main image (pixels, origin at the bottom left).
    void to_screen(double x, double y, double z, int& px, int& py) const
    {
        const FBO* image = sdlgl->dof_fbo;
        double view[16], proj[16], both[16], clip[4];
        float f[16];
        camera_view_matrix(*eyecam, view);
        frustum_matrix(frustum_bounds(60.0f, float(image->_texW) / image->_texH, 1.5f, 350000.0f), f);
        mat4_from_float(f, proj);
        mat4_mul(proj, view, both);
        double in[4] = {x, y, z, 1.0};
        mat4_transform(both, in, clip);
        px = int((clip[0] / clip[3] * 0.5 + 0.5) * image->_texW);
        py = int((clip[1] / clip[3] * 0.5 + 0.5) * image->_texH);
    }

    // Mean brightness of a square of the image around (px, py).
    double brightness_at(const std::vector<unsigned char>& p, int px, int py, int r = 6) const
    {
        const int w = sdlgl->dof_fbo->_texW;
        double sum = 0;
        int n = 0;
        for (int y = py - r; y <= py + r; ++y)
            for (int x = px - r; x <= px + r; ++x) {
                const unsigned char* c = &p[(static_cast<size_t>(y) * w + x) * 4];
                sum += (c[0] + c[1] + c[2]) / 3.0;
                ++n;
            }
        return sum / n;
    }

    float ground = 0;
};

TEST_F(ShadowPass, AModelDarkensTheGroundWhereItsShadowFalls)
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
    md2_visibility_distance = 1.0e6f;

    // Where the light's ray through the ship's centre meets the ground, and a spot well
    // away from both.
    const double reach = (my - ground) / L[1];
    int sx, sy, cx, cy;
    to_screen(mx - L[0] * reach, ground, mz - L[2] * reach, sx, sy);
    to_screen(mx - 300, ground, mz + 250, cx, cy);

    std::vector<unsigned char> with_ship = main_image();
    ship->m_Visible = false;
    std::vector<unsigned char> without_ship = main_image();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    double lit = brightness_at(without_ship, sx, sy), shaded = brightness_at(with_ship, sx, sy);
    EXPECT_LT(shaded, lit * 0.85) << "the shadow at (" << sx << ", " << sy << ")";
    EXPECT_NEAR(brightness_at(with_ship, cx, cy), brightness_at(without_ship, cx, cy), 1.0)
        << "away from the shadow nothing changes";
}

} // namespace
