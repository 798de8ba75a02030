#include "Gfx/FramePass.h"

#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/DebugRays.h"
#include "Gfx/FBO.h"
#include "Gfx/FrameDescription.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/Md2FarDetail.h"
#include "Gfx/PassTiming.h"
#include "Gfx/PassUtil.h"
#include "Gfx/SceneDraw.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/TerrainPass.h"
#include "Gfx/TextureMatrices.h"
#include "Gfx/TextureUnits.h"
#include "Gfx/WaterPass.h"

#include <GL/glew.h>

namespace {

void eye_projection(const Camera& eye, int w, int h)
{
    sdlgl->set_projection(w, h, 0, eye.near_plane, eye.far_plane, eye.fov);
}

void window_projection(const Camera& eye) { eye_projection(eye, sdlgl->width, sdlgl->height); }

void dof_projection(const Camera& eye)
{
    eye_projection(eye, sdlgl->targets.dof_fbo->_texW, sdlgl->targets.dof_fbo->_texH);
}

// A tile of the debug view at column `i` of six along the bottom of the window.
void debug_tile(int i, float s1, float t1)
{
    const int size = sdlgl->width / 6;
    const int x0 = i * size, x1 = x0 + size - 2;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(x0, 0);
    glTexCoord2f(s1, 0);
    glVertex2i(x1, 0);
    glTexCoord2f(s1, t1);
    glVertex2i(x1, size - 2);
    glTexCoord2f(0, t1);
    glVertex2i(x0, size - 2);
    glEnd();
}

void draw_main_image(const FrameDescription& f, const LightMatrices& light)
{
    SDLGL& gl = *sdlgl;
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glMatrixMode(GL_MODELVIEW);
    window_projection(f.eye);
    glLoadIdentity();
    float view[16];
    camera_view_floats(f.eye, view);
    glLoadMatrixf(view);
    glPolygonMode(GL_FRONT_AND_BACK, f.options.wireframe ? GL_LINE : GL_FILL);
    dof_projection(f.eye);
    gl.targets.dof_fbo->bind_framebuffer();
    bind_shadow_map(tex_unit(kUnitShadow), light);
    gl.programs.md2instanceShader->bind();
    gl.programs.md2instanceShader->set_uniform_1f("need_dof_alpha", 1.0f);
    gl.programs.md2instanceShader->unbind();
    pass_begin(Pass::MainModels);
    draw_models(eye_model_view(f, f.eye), gl.programs.md2instanceShader, GL_REPLACE, GL_SMOOTH);
    pass_end(Pass::MainModels);
    pass_begin(Pass::MainGround);
    const GroundCut cut = main_image_cut(f.options.buffer_pass, f.eye.pos.y, frame_water_span());
    draw_ground_positions(gl.targets.pgmlandgrid_fbo, gl.targets.position_fbo, gl.programs.pgmland_positionShader, cut);
    pass_end(Pass::MainGround);
    pass_begin(Pass::MainShade);
    gl.targets.dof_fbo->bind_framebuffer();
    if (f.options.parallax_mode == 0) {
        shade_ground(f, gl.targets.position_fbo, gl.programs.pgmland_colorShader);
    } else {
        double to_world[16];
        camera_to_world(f.eye, to_world);
        for (ShaderProgram* p : relief_colour_programs(gl)) {
            p->bind();
            p->set_uniform_matrix4d("tmpMat", 1, false, to_world);
        }
        bind_on(gl.textures.noise_nm_tex, tex_unit(kUnitReliefNormals));
        shade_ground_by_class(f, gl.targets.position_fbo,
                              {gl.programs.ground_classShader, gl.programs.pgmland_parallax_grassShader,
                               gl.programs.pgmland_parallax_colorShader, gl.programs.pgmland_far_grassShader,
                               gl.programs.pgmland_far_colorShader});
        unbind_from(gl.textures.noise_nm_tex);
    }
    pass_end(Pass::MainShade);
    // Last, against the depth of the models and the ground, untextured and unfogged.
    if (f.lists.rays && !f.lists.rays->empty()) {
        gl.disable_texture_units();
        glDisable(GL_FOG);
        draw_debug_rays(*f.lists.rays);
    }
    glActiveTexture(tex_unit(kUnitShadow));
    gl.targets.shadow_fbo->unbind_shadow();
    gl.targets.dof_fbo->unbind_framebuffer();
}

LightMatrices draw_shadow_map(const FrameDescription& f)
{
    SDLGL& gl = *sdlgl;
    gl.targets.shadow_fbo->bind_framebuffer();
    const LightMatrices light = begin_shadow_pass(f.light);
    glPolygonOffset(2.0f, 4.0f);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPushMatrix();
    // Casters come from around the eye's view (the wider margin keeps those beside it whose
    // shadows fall into it) and from within the light's view, which holds the whole map; each
    // is as detailed as its size in the map asks, which from the light's height is small.
    ModelView casters = nearby_model_view(f, f.eye);
    casters.cull_margin -= 5000.0f;
    casters.light = &f.light;
    casters.focal_pixels = md2_focal_pixels(gl.targets.shadow_fbo->_texH, f.light.tan_half_fov);
    draw_models(casters, nullptr, GL_REPLACE, GL_SMOOTH);
    glPopMatrix();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
    glPolygonOffset(0.0f, 0.0f);
    glDisable(GL_POLYGON_OFFSET_FILL);
    window_projection(f.eye);
    gl.targets.shadow_fbo->unbind_framebuffer();
    return light;
}

// The sky into the main depth-of-field image, where the models and the ground left it room.
void draw_sky_image(const FrameDescription& f)
{
    SDLGL& gl = *sdlgl;
    pass_begin(Pass::Sky);
    dof_projection(f.eye);
    gl.targets.dof_fbo->bind_framebuffer();
    draw_skybox(f.eye, 1);
    gl.targets.dof_fbo->unbind_framebuffer();
    pass_end(Pass::Sky);
}

// Everything from the grids to the water surface.
void draw_scene_passes(const FrameDescription& f)
{
    SDLGL& gl = *sdlgl;
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);

    pass_begin(Pass::Grid);
    gl.targets.pgmlandgrid_fbo->bind_framebuffer();
    if (!f.options.skip_subpass) update_terrain_grid(f, gl.programs.pgmlandShader, gl.targets.pgmlandgrid_fbo);
    gl.targets.pgmlandgrid_fbo->unbind_framebuffer();
    pass_end(Pass::Grid);

    pass_begin(Pass::Rings);
    gl.targets.ripple_a_fbo->bind_framebuffer();
    const RingImageView rings = draw_rings(f, gl.programs.ringsShader, gl.targets.ripple_a_fbo);
    gl.targets.ripple_a_fbo->unbind_framebuffer();
    glFlush();
    gl.targets.ripple_b_fbo->bind_framebuffer();
    draw_ring_normals(f, gl.programs.waternormalsShader, gl.targets.ripple_b_fbo);
    gl.targets.ripple_b_fbo->unbind_framebuffer();
    glFlush();
    pass_end(Pass::Rings);

    pass_begin(Pass::WaterGrid);
    gl.targets.watergrid_fbo->bind_framebuffer();
    update_water_grid(f, gl.programs.rippleShader, gl.targets.watergrid_fbo);
    gl.targets.watergrid_fbo->unbind_framebuffer();
    glFlush();
    pass_end(Pass::WaterGrid);

    gl.disable_texture_units();
    glPushMatrix();

    pass_begin(Pass::Shadow);
    const LightMatrices light = draw_shadow_map(f);
    glPopMatrix();
    glFlush();
    pass_end(Pass::Shadow);

    // The main image's matrix stays pushed through the water passes.
    pass_begin(Pass::Main);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    draw_main_image(f, light);
    pass_end(Pass::Main);

    draw_sky_image(f);

    pass_begin(Pass::Mirror);
    draw_reflection_refraction(f, light);
    pass_end(Pass::Mirror);

    pass_begin(Pass::Surface);
    if (f.options.buffer_pass) draw_water_surface(f, rings);
    pass_end(Pass::Surface);

    // The beams last, over the sky and the water: neither writes the depth a beam is tested
    // against, so either would cover a beam drawn before it.
    pass_begin(Pass::Beams);
    if (f.lists.beams && !f.lists.beams->empty()) {
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(f.view_matrix);
        dof_projection(f.eye);
        gl.targets.dof_fbo->bind_framebuffer();
        draw_crystal_beams(*f.lists.beams);
        gl.targets.dof_fbo->unbind_framebuffer();
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    pass_end(Pass::Beams);

    // Clean-up.
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_1D);
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glEnable(GL_DEPTH_TEST);
    dof_projection(f.eye);
    gl.targets.dof_fbo->bind_framebuffer();
    gl.targets.dof_fbo->unbind_framebuffer();
    glDisable(GL_DEPTH_TEST);
    glPopMatrix();
}

// A quad over (0, 0)-(w, h) whose unit 0 reads texels (0, 0)-(iw, ih) and whose wave unit
// reads (0, 0)-(1, 1).
void image_quad(int w, int h, float iw, float ih)
{
    glBegin(GL_QUADS);
    glMultiTexCoord2f(tex_unit(kUnitWave), 0, 0);
    glMultiTexCoord2f(GL_TEXTURE0, 0, 0);
    glVertex2i(0, 0);
    glMultiTexCoord2f(tex_unit(kUnitWave), 1, 0);
    glMultiTexCoord2f(GL_TEXTURE0, iw, 0);
    glVertex2i(w, 0);
    glMultiTexCoord2f(tex_unit(kUnitWave), 1, 1);
    glMultiTexCoord2f(GL_TEXTURE0, iw, ih);
    glVertex2i(w, h);
    glMultiTexCoord2f(tex_unit(kUnitWave), 0, 1);
    glMultiTexCoord2f(GL_TEXTURE0, 0, ih);
    glVertex2i(0, h);
    glEnd();
}

// The finished image, made at its own size, stretched over the back buffer by plain
// texturing: the one lookup per window pixel that a scaled scene image needs anyway.
void stretch_finished_image(FBO* finished, int w, int h)
{
    glDisable(GL_TEXTURE_2D);
    finished->bind_to_unit(GL_TEXTURE0);
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    image_quad(w, h, float(finished->_texW), float(finished->_texH));
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    unbind_from(finished);
}

// The final image through the image-warp program: into the back buffer, or, when the scene
// image is smaller than the window, at the scene image's size first (the program's blur,
// vignette and dither on a quarter of the pixels) and then stretched over the window.
void draw_composite(const FrameDescription& f, FBO* image, ShaderProgram* program)
{
    SDLGL& gl = *sdlgl;
    const int w = gl.width, h = gl.height;
    FBO* finished = gl.targets.final_fbo;
    const int out_w = finished ? finished->_texW : w, out_h = finished ? finished->_texH : h;
    pass_begin(Pass::Composite);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    // A flat image: the finished-image target's depth (when it has one) is never cleared.
    const GLboolean depth_test = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    if (finished) {
        finished->bind_framebuffer();
    } else {
        glDrawBuffer(GL_BACK);
    }
    gl.set_projection(out_w, out_h, 1, f.eye.near_plane, f.eye.far_plane, f.eye.fov);
    image->bind_to_unit(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    program->bind();
    program->set_uniform_1f("slice_nr", f.time_now);
    program->set_uniform_2f("imgMapWH", float(image->_texW), float(image->_texH));
    bind_on(gl.textures.waveAnim_tex, tex_unit(kUnitWave));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The image is always shown whole: in wire-frame mode the scene inside it is drawn
    // as lines, but the quad that shows it must be filled.
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    image_quad(out_w, out_h, float(image->_texW), float(image->_texH));
    unbind_from(image);
    unbind_from(gl.textures.waveAnim_tex);
    program->unbind();
    gl.set_projection(w, h, 1, f.eye.near_plane, f.eye.far_plane, f.eye.fov);
    if (finished) {
        finished->unbind_framebuffer();
        glDrawBuffer(GL_BACK);
        glActiveTexture(GL_TEXTURE0);
        stretch_finished_image(finished, w, h);
    }
    if (depth_test) glEnable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, f.options.wireframe ? GL_LINE : GL_FILL);
    pass_end(Pass::Composite);
}

// The six intermediate images as tiles along the bottom of the window.
void draw_debug_view(const FrameDescription& f)
{
    SDLGL& gl = *sdlgl;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_FOG);
    gl.disable_texture_units();
    glPushMatrix();
    gl.set_projection(gl.width, gl.height, 1, f.eye.near_plane, f.eye.far_plane, f.eye.fov);
    glDrawBuffer(GL_BACK);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    FBO* mirror = gl.targets.reflrefr_fbo;
    mirror->bind_to_unit(GL_TEXTURE0);
    debug_tile(0, 1, 1);
    mirror->unbind();
    mirror->bind_second_to_unit(GL_TEXTURE0);
    debug_tile(1, 1, 1);
    mirror->unbind();

    // Depths as grey: the comparison is switched off for the view.
    gl.targets.shadow_fbo->bind_to_unit(GL_TEXTURE0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_NONE);
    debug_tile(2, 1, 1);
    gl.targets.shadow_fbo->unbind();

    FBO* grid = gl.targets.watergrid_fbo;
    grid->bind_to_unit(GL_TEXTURE0);
    gl.programs.show_floatShader->bind();
    debug_tile(3, float(grid->_texW), float(grid->_texH));
    gl.programs.show_floatShader->unbind();
    grid->unbind();

    gl.targets.ripple_a_fbo->bind_to_unit(GL_TEXTURE0);
    debug_tile(4, 1, 1);
    gl.targets.ripple_a_fbo->unbind();
    gl.targets.ripple_b_fbo->bind_to_unit(GL_TEXTURE0);
    debug_tile(5, 1, 1);
    gl.targets.ripple_b_fbo->unbind();

    glPolygonMode(GL_FRONT_AND_BACK, f.options.wireframe ? GL_LINE : GL_FILL);
    window_projection(f.eye);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}

// Resets the state the scene left, shows the final image and, when asked, the
// intermediate images over it.
void compose_frame(const FrameDescription& f)
{
    SDLGL& gl = *sdlgl;
    dof_projection(f.eye);
    gl.targets.dof_fbo->bind_framebuffer();
    gl.disable_texture_units();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    gl.targets.dof_fbo->unbind_framebuffer();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    if (gl.textures.tree_tex) {
        glActiveTexture(gl.textures.tree_tex->unit);
        gl.textures.tree_tex->unbind();
    }
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    draw_composite(f, gl.targets.dof_fbo, gl.programs.imgwarpShader);
    if (f.options.extra_pass) draw_debug_view(f);
    gl.disable_texture_units();
}

// The eye's view and projection, face culling and the polygon mode that the passes start from.
void load_eye(const FrameDescription& f)
{
    glClearColor(sdlgl->settings.cc[0], sdlgl->settings.cc[1], sdlgl->settings.cc[2], sdlgl->settings.cc[3]);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glMatrixMode(GL_MODELVIEW);
    window_projection(f.eye);
    glLoadMatrixf(f.view_matrix);
    glPolygonMode(GL_FRONT_AND_BACK, f.options.wireframe ? GL_LINE : GL_FILL);
}

// The small and the main depth-of-field images start each frame empty.
void clear_frame_images()
{
    SDLGL& gl = *sdlgl;
    for (FBO* target : {gl.targets.dof_small_fbo, gl.targets.dof_fbo}) {
        target->bind_framebuffer();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        target->unbind_framebuffer();
    }
}

} // namespace

void render_frame(const FrameDescription& f)
{
    SDLGL& gl = *sdlgl;
    gl.disable_texture_units();
    gl.check_gl_error("EZG main loop start");
    // The models pose themselves also while the title is up, so that their clocks run on.
    Md2Manager::UpdateAll(f.models.dt);
    load_eye(f);
    if (!f.scene) return;
    clear_frame_images();
    draw_scene_passes(f);
    compose_frame(f);
}
