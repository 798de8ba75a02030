#include "Gfx/TextureUnits.h"
#include "Gfx/WaterPass.h"

#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/FBO.h"
#include "Gfx/FrameDescription.h"
#include "Gfx/PassUtil.h"
#include "Gfx/PositionImage.h"
#include "Gfx/PrepareShaders.h"
#include "Gfx/SceneDraw.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/TerrainPass.h"
#include "Gfx/TextureMatrices.h"

#include <GL/glew.h>

#include <cmath>

namespace {

// Clears the bound target to `colour` and gives the main image its clear colour back.
void clear_to(const float colour[4], GLbitfield buffers)
{
    const float* cc = sdlgl->settings.cc;
    glClearColor(colour[0], colour[1], colour[2], colour[3]);
    glClear(buffers);
    glClearColor(cc[0], cc[1], cc[2], cc[3]);
}

void clear_ripple_image()
{
    const float grey[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    clear_to(grey, GL_COLOR_BUFFER_BIT);
}

void vec4_uniform(ShaderProgram* p, const char* name, const Vec3d& v)
{
    p->set_uniform_4f(name, float(v.x), float(v.y), float(v.z), 1.0f);
}

// The eye mirrored in the water plane: the y of its position and of its three axes
// negated. Its frustum planes stay the eye's, which the mirrored models are culled against.
Camera mirrored_in_water_plane(const Camera& eye)
{
    Camera cam(eye);
    cam.pos.y = -cam.pos.y;
    cam.str.y = -cam.str.y;
    cam.up.y = -cam.up.y;
    cam.dir.y = -cam.dir.y;
    return cam;
}

} // namespace

float ripple_scale() { return ripple_scale_dynamic * prec_mul; }

WaterSpan frame_swell_span() { return swell_span(waveScale, -wave_scale_neg_half); }

WaterSpan frame_water_span() { return water_surface_span(waveScale, -wave_scale_neg_half, ripple_scale()); }

namespace {

// A ring's polygon: 16 sides around the unit circle, far enough out that the circle lies
// inside it.
constexpr int kRingSides = 16;
const float kRingOutline = 1.0f / std::cos(float(M_PI) / kRingSides);

struct RingOutline {
    float x[kRingSides + 1], z[kRingSides + 1];
    RingOutline()
    {
        for (int i = 0; i <= kRingSides; ++i) {
            const float a = 2.0f * float(M_PI) * float(i % kRingSides) / kRingSides;
            x[i] = kRingOutline * std::cos(a);
            z[i] = -kRingOutline * std::sin(a);
        }
    }
};

void ring_vertex(float x, float z) { glVertex3f(x, 0.0f, z); }

// The part of one ring (in the ring program's -1..1 square about its centre) where its
// program can draw, as triangles: the band between the circle and its quiet core, or the
// whole disc when the core is small. Every fragment outside the band would be discarded,
// and the rasteriser pays for each before it is. Counter-clockwise seen from above.
void ring_band_triangles(float core)
{
    static const RingOutline ring;
    const float in = core < 0.3f ? 0.0f : core / kRingOutline; // inner corners on the core's circle
    for (int i = 0; i < kRingSides; ++i) {
        const float ox0 = ring.x[i], oz0 = ring.z[i], ox1 = ring.x[i + 1], oz1 = ring.z[i + 1];
        ring_vertex(ox0 * in, oz0 * in);
        ring_vertex(ox0, oz0);
        ring_vertex(ox1, oz1);
        if (in == 0.0f) continue;
        ring_vertex(ox0 * in, oz0 * in);
        ring_vertex(ox1, oz1);
        ring_vertex(ox1 * in, oz1 * in);
    }
}

} // namespace

RingImageView draw_rings(const FrameDescription& f, ShaderProgram* program, FBO* target)
{
    SDLGL& gl = *sdlgl;
    RingImageView ring_view;
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);
    clear_ripple_image();

    gl.set_projection(target->_texW, target->_texH, 0, f.eye.near_plane, f.eye.far_plane, 90.0f);
    glGetDoublev(GL_PROJECTION_MATRIX, ring_view.projection);

    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendColor(0.5f, 0.5f, 0.5f, 0.5f);
    glBlendFunc(GL_DST_ALPHA, GL_SRC_ALPHA);
    glBlendEquation(GL_FUNC_ADD);
    glPushMatrix();
    double view[16];
    camera_view_matrix(f.water_grid, view);
    load_matrix(view);

    program->bind();
    bind_on(gl.textures.waveAnim_tex, tex_unit(kUnitWave));
    program->set_uniform_2f("waterDynamicWH", float(target->_texW), float(target->_texH));
    program->set_uniform_1f("ripple_freq", ripple_freq_dynamic);
    program->set_uniform_1f("ripple_scale", ripple_scale());
    program->set_uniform_1f("slice_nr", f.time_now * 0.4f);

    glActiveTexture(GL_TEXTURE0);
    // Hundreds of rings a frame: the three per-ring uniforms are looked up once.
    const GLint scale_curr = program->uniform_location("ripple_scale_curr");
    const GLint xz_scale_inv = program->uniform_location("uniform_xz_scale_inv");
    const GLint translate = program->uniform_location("translate");
    static const std::vector<const RingTrail*> none;
    for (const RingTrail* trail : f.lists.rings ? *f.lists.rings : none) {
        for (const RingRecord& r : trail->records) {
            if (!ring_visible(r)) continue;
            const float height = ring_scale_curr(r.strength, ripple_scale_dynamic);
            const float core = ring_quiet_core(r.size, height);
            if (core >= 1.0f || !ring_reaches_view(view, r.x, r.z, r.size * kRingOutline, f.eye.near_plane))
                continue;
            ShaderProgram::set_uniform_1f_at(scale_curr, height);
            ShaderProgram::set_uniform_1f_at(xz_scale_inv, 1.0f / r.size);
            ShaderProgram::set_uniform_4f_at(translate, r.x, 0.0f, r.z, 0.0f);
            glBegin(GL_TRIANGLES);
            ring_band_triangles(core);
            glEnd();
        }
    }

    unbind_from(gl.textures.waveAnim_tex);
    program->unbind();
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    return ring_view;
}

void draw_ring_normals(const FrameDescription& f, ShaderProgram* program, FBO* target)
{
    SDLGL& gl = *sdlgl;
    FBO* rings = gl.targets.ripple_a_fbo;
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);
    clear_ripple_image();
    // A flat image over the target's pixels.
    gl.set_projection(target->_texW, target->_texH, 1, f.eye.near_plane, f.eye.far_plane, 90.0f);
    glLoadIdentity();

    program->bind();
    bind_on(rings, tex_unit(kUnitRings));
    program->set_uniform_1i("dynamicRingsMap", kUnitRings);
    program->set_uniform_2f("dynamicRingsMapWH", float(rings->_texW), float(rings->_texH));
    program->set_uniform_1f("ripple_scale", ripple_scale());
    glActiveTexture(GL_TEXTURE0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    draw_unit_quad(rings->_texW, rings->_texH);
    if (f.options.wireframe) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

    unbind_from(rings);
    program->unbind();
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
}

WaterCorners water_corners(const Camera& eye, const Camera& camera)
{
    SDLGL& gl = *sdlgl;
    FBO* grid = gl.targets.watergrid_fbo;
    float inverse_projection[16];
    gl.set_projection(grid->_texW, grid->_texH, 0, eye.near_plane, eye.far_plane, 90.0f,
                      inverse_projection);
    return water_corners_from(camera, inverse_projection, kWaterGridFarLimit);
}

void update_water_grid(const FrameDescription& f, ShaderProgram* program, FBO* grid)
{
    SDLGL& gl = *sdlgl;
    FBO* rings = gl.targets.ripple_a_fbo;
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);

    WaterCorners c = water_corners(f.eye, f.water_grid);
    gl.set_projection(grid->_texW, grid->_texH, 1, f.eye.near_plane, f.eye.far_plane, f.eye.fov);
    glLoadIdentity();

    program->bind();
    bind_on(gl.textures.noise_tex, tex_unit(kUnitNoise));
    bind_on(gl.textures.waveAnim_tex, tex_unit(kUnitWave));
    if (!f.options.freeze_waves) program->set_uniform_1f("slice_nr", f.time_now);
    const char* names[4] = {"isect_mm", "isect_pm", "isect_pp", "isect_mp"};
    for (int i = 0; i < 4; ++i)
        program->set_uniform_4f(names[i], float(c.p[i].x), float(c.p[i].y), float(c.p[i].z), float(c.p[i].w));
    bind_on(rings, tex_unit(kUnitRings));
    program->set_uniform_1i("dynamicRingsMap", kUnitRings);
    program->set_uniform_2f("dynamicRingsMapWH", float(rings->_texW), float(rings->_texH));

    glActiveTexture(GL_TEXTURE0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    draw_unit_quad(grid->_texW, grid->_texH);
    if (f.options.wireframe) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

    unbind_from(gl.textures.noise_tex);
    unbind_from(gl.textures.waveAnim_tex);
    unbind_from(rings);
    program->unbind();
    read_grid_into_vertex_buffer(grid);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
}

void draw_reflection_refraction(const FrameDescription& f, const LightMatrices& light)
{
    SDLGL& gl = *sdlgl;
    FBO* target = gl.targets.reflrefr_fbo;
    target->bind_framebuffer();
    gl.set_projection(target->_texW, target->_texH, 0, f.eye.near_plane, f.eye.far_plane, f.eye.fov);

    // Reflection: the world seen from the eye mirrored in the water plane.
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    clear_to(gl.settings.cc_above, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    const Camera mirrored = mirrored_in_water_plane(f.eye);
    float view[16];
    camera_view_floats(mirrored, view);
    glLoadMatrixf(view);
    glFrontFace(GL_CW);
    bind_shadow_map(tex_unit(kUnitShadow), light);
    draw_terrain(f, mirrored, gl.targets.pgmlandgrid_fbo, gl.programs.pgmland_wateraboveShader, false,
                 reflection_cut(frame_swell_span()));
    gl.programs.md2instanceShader->bind();
    gl.programs.md2instanceShader->set_uniform_1f("need_dof_alpha", 0.0f);
    gl.programs.md2instanceShader->unbind();
    draw_models(nearby_model_view(f, mirrored), gl.programs.md2instanceShader, GL_REPLACE, GL_SMOOTH);
    glActiveTexture(tex_unit(kUnitShadow));
    gl.targets.shadow_fbo->unbind_shadow();
    draw_skybox(mirrored, 0);
    if (f.lists.beams) draw_crystal_beams(*f.lists.beams);
    glPopMatrix();
    glFrontFace(GL_CCW);
    glLoadMatrixf(f.view_matrix);

    // Refraction: what lies under the water, from the eye itself.
    glDrawBuffer(GL_COLOR_ATTACHMENT1_EXT);
    clear_to(gl.settings.cc_below, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bind_shadow_map(tex_unit(kUnitShadow), light);
    glPushMatrix();
    draw_terrain(f, f.eye, gl.targets.pgmlandgrid_fbo, gl.programs.pgmland_waterbelowShader, false,
                 refraction_cut(frame_swell_span()));
    glActiveTexture(tex_unit(kUnitShadow));
    gl.targets.shadow_fbo->unbind_shadow();
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);

    target->unbind_framebuffer();
    glDrawBuffer(GL_BACK);
    glEnable(GL_DEPTH_TEST);
}

void draw_water_surface(const FrameDescription& f, const RingImageView& rings_drawn)
{
    SDLGL& gl = *sdlgl;
    FBO* grid = gl.targets.watergrid_fbo;
    FBO* mirror = gl.targets.reflrefr_fbo;
    FBO* normals = gl.targets.ripple_b_fbo;

    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(f.view_matrix);
    glPolygonMode(GL_FRONT_AND_BACK, f.options.wireframe ? GL_LINE : GL_FILL);
    gl.set_projection(gl.targets.dof_fbo->_texW, gl.targets.dof_fbo->_texH, 0, f.eye.near_plane, f.eye.far_plane,
                      f.eye.fov);

    // Where the surface shows: its grid into the position image, against the scene's depth.
    begin_position_image(gl.targets.position_fbo, kMarkWater);
    gl.programs.water_positionShader->bind();
    glCullFace(GL_FRONT);
    draw_grid_strip(grid, true);
    glCullFace(GL_BACK);
    gl.programs.water_positionShader->unbind();
    end_position_image();

    ShaderProgram* p = gl.programs.perturbShader;
    p->bind();
    bind_on(gl.textures.noise_tex, tex_unit(kUnitNoise));
    bind_on(gl.textures.waveAnim_tex, tex_unit(kUnitWave));
    if (mirror) {
        mirror->bind_second_to_unit(tex_unit(kUnitRefraction));
        p->set_uniform_1i("refractMap", kUnitRefraction);
        mirror->bind_to_unit(tex_unit(kUnitReflection));
        p->set_uniform_1i("reflectMap", kUnitReflection);
    }
    vec4_uniform(p, "camPos", f.eye.pos);
    vec4_uniform(p, "camDir", f.eye.dir);
    vec4_uniform(p, "camUp", f.eye.up);
    p->set_uniform_1f("sc_ratio", float(gl.aspect_ratio));
    p->set_uniform_1f("fadeFactor", 0.0f);
    p->set_uniform_3f("lightDir", kTerrainLightDir[0], kTerrainLightDir[1], kTerrainLightDir[2]);
    p->set_uniform_4fv("lightColor", kTerrainLightColor);
    if (!f.options.freeze_waves) p->set_uniform_1f("slice_nr", f.time_now);
    bind_on(normals, tex_unit(kUnitRings));
    p->set_uniform_1i("dynamicRingsMap", kUnitRings);
    p->set_uniform_2f("dynamicRingsMapWH", float(normals->_texW), float(normals->_texH));
    p->set_uniform_1f("ripple_scale", ripple_scale());

    // Unit 7's texture matrix projects world points onto the rings as they were drawn.
    double aux_view[16], ring_matrix[16];
    camera_view_matrix(f.water_grid, aux_view);
    ring_texture_matrix(rings_drawn.projection, aux_view, ring_matrix);
    glActiveTexture(tex_unit(kUnitRings));
    glMatrixMode(GL_TEXTURE);
    load_matrix(ring_matrix);
    glMatrixMode(GL_MODELVIEW);
    gl.targets.position_fbo->bind_to_unit(tex_unit(kUnitPosition));
    p->set_uniform_2f("positionMapWH", float(gl.targets.position_fbo->_texW), float(gl.targets.position_fbo->_texH));
    glActiveTexture(GL_TEXTURE0);

    gl.targets.dof_fbo->bind_framebuffer();
    draw_over_image(gl.targets.dof_fbo->_texW, gl.targets.dof_fbo->_texH, kMarkWater, f.options.wireframe);
    gl.targets.dof_fbo->unbind_framebuffer();
    unbind_from(gl.targets.position_fbo);

    unbind_from(gl.textures.noise_tex);
    unbind_from(gl.textures.waveAnim_tex);
    if (mirror) {
        glActiveTexture(tex_unit(kUnitRefraction));
        mirror->unbind();
        glActiveTexture(tex_unit(kUnitReflection));
        mirror->unbind();
    }
    unbind_from(normals);
    p->unbind();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
