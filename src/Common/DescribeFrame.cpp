#include "Common/DescribeFrame.h"

#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/DisplayToggles.h"
#include "Gfx/FBO.h"
#include "Gfx/GridMath.h"
#include "Gfx/Md2FarDetail.h"

#include <algorithm>

float model_visibility_distance(const SDLGL& gl, const Camera& eye)
{
    return gl.settings.md2_max_vis_dist + 8.0f * static_cast<float>(eye.pos.y);
}

void eye_view_matrix(Camera& eye, float out[16])
{
    double origin[3] = {0, 0, 0};
    double s[3] = {eye.str.x, eye.str.y, eye.str.z};
    double u[3] = {eye.up.x, eye.up.y, eye.up.z};
    double d[3] = {eye.dir.x, eye.dir.y, eye.dir.z};
    Camera::view_matrix(origin, s, u, d, out);
    eye.set_axes(s, u, d);
    // The translation as glTranslatef applies it, in single precision and in its order.
    const float x = float(-eye.pos.x), y = float(-eye.pos.y), z = float(-eye.pos.z);
    for (int r = 0; r < 4; ++r) out[12 + r] = out[r] * x + out[4 + r] * y + out[8 + r] * z + out[12 + r];
}

FrameDescription describe_frame(const SDLGL& gl, bool scene, const float view[16], const FrameLists& lists,
                                float model_dt)
{
    const bool aim_grids = scene && !display.skip_subpass;
    if (aim_grids) {
        const GridSpread spread = grid_spread(eyecam->dir.y, eyecam->pos.y);
        auxcam->derive_grid_view(*eyecam, spread.tilt, 1250.0);
    }
    const Camera terrain_grid(*auxcam);
    if (aim_grids) auxcam->derive_grid_view(*eyecam, 0.0025, 0.0);
    lightcam->update_frustum(lightcam->far_plane);

    FrameDescription f(*eyecam, terrain_grid, *auxcam, *lightcam);
    std::copy(view, view + 16, f.view_matrix);
    f.time_now = gl.time_now;
    f.options = display;
    f.models.visibility_distance = model_visibility_distance(gl, *eyecam);
    f.models.nearby_distance = gl.settings.md2_max_vis_dist;
    f.models.focal_pixels =
        md2_focal_pixels(gl.targets.dof_fbo ? gl.targets.dof_fbo->_texH : gl.height, eyecam->tan_half_fov);
    f.models.dt = model_dt;
    f.lists = lists;
    f.scene = scene;
    return f;
}
