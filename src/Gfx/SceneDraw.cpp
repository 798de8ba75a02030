#include "Gfx/SceneDraw.h"

#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/FBO.h"
#include "Gfx/FrameDescription.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/PassUtil.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/TextureMatrices.h"
#include "Gfx/TextureUnits.h"

#include <algorithm>

namespace {

// One face of the sky cube: four corners of (+-s, +-s, +-s).
void sky_face(const float (&corners)[4][3], float s)
{
    for (const float* c : corners) glVertex3f(c[0] * s, c[1] * s, c[2] * s);
}

void draw_sky_cube(float s)
{
    static const float faces[6][4][3] = {
        {{1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}},     // +x
        {{-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}}, // -x
        {{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}},     // +y
        {{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1}}, // -y
        {{-1, -1, 1}, {-1, 1, 1}, {1, 1, 1}, {1, -1, 1}},     // +z
        {{1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}}, // -z
    };
    glBegin(GL_QUADS);
    for (const auto& face : faces) sky_face(face, s);
    glEnd();
}

} // namespace

void draw_skybox(const Camera& eye, int need_dof_alpha)
{
    SDLGL& gl = *sdlgl;
    Texture* cube = gl.textures.cubemap_tex;
    const float s = cube && cube->_texW > 0 ? float(cube->_texW) : 256.0f;

    glDepthMask(GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_FOG);
    bind_on(cube, GL_TEXTURE0);
    gl.programs.skyboxShader->bind();
    gl.programs.skyboxShader->set_uniform_1f("need_dof_alpha", float(need_dof_alpha));
    glTranslatef(float(eye.pos.x), float(eye.pos.y) - s / 100.0f, float(eye.pos.z));
    draw_sky_cube(s);
    unbind_from(cube);
    gl.programs.skyboxShader->unbind();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glPopMatrix();
    glEnable(GL_CULL_FACE);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
}

void draw_crystal_beams(const std::vector<BeamVertex>& beams)
{
    if (beams.empty()) return;
    glUseProgram(0);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    const GLsizei stride = sizeof(BeamVertex);
    glVertexPointer(3, GL_FLOAT, stride, &beams[0].x);
    glColorPointer(4, GL_FLOAT, stride, &beams[0].r);
    glDrawArrays(GL_QUADS, 0, GLsizei(beams.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_BLEND);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
}

LightMatrices begin_shadow_pass(const Camera& camera)
{
    SDLGL& gl = *sdlgl;
    const int size = gl.targets.shadow_fbo->_texW;
    LightMatrices light;
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    gl.set_projection(size, size, 0, camera.near_plane, camera.far_plane, camera.fov);
    glGetDoublev(GL_PROJECTION_MATRIX, light.projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera_view_matrix(camera, light.view);
    load_matrix(light.view);
    return light;
}

void bind_shadow_map(GLenum texture_unit, const LightMatrices& light)
{
    SDLGL& gl = *sdlgl;
    glDisable(GL_LIGHTING);
    gl.targets.shadow_fbo->bind_shadow_to_unit(texture_unit);
    glActiveTexture(texture_unit);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
    double m[16];
    shadow_texture_matrix(light.projection, light.view, m);
    glMatrixMode(GL_TEXTURE);
    load_matrix(m);
    glMatrixMode(GL_MODELVIEW);
}

ModelView eye_model_view(const FrameDescription& f, const Camera& camera)
{
    ModelView v;
    v.camera = &camera;
    v.culling = f.options.culling;
    v.visibility_distance = f.models.visibility_distance;
    v.cull_margin = f.options.cull_margin;
    v.focal_pixels = f.models.focal_pixels;
    return v;
}

ModelView nearby_model_view(const FrameDescription& f, const Camera& camera)
{
    ModelView v = eye_model_view(f, camera);
    v.visibility_distance = std::min(v.visibility_distance, f.models.nearby_distance);
    return v;
}

void draw_models(const ModelView& view, ShaderProgram* program, GLint texture_env_mode, GLenum shade_model)
{
    SDLGL& gl = *sdlgl;
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, texture_env_mode);
    glColor3f(1.0f, 1.0f, 1.0f);
    glShadeModel(shade_model);
    glPushMatrix();
    glEnable(GL_CULL_FACE);
    if (program) {
        program->bind();
        double to_world[16];
        camera_to_world(*view.camera, to_world);
        program->set_uniform_matrix4d("tmpMat", 1, false, to_world);
        bind_on(gl.textures.noise_tex, tex_unit(kUnitNoise));
        glActiveTexture(GL_TEXTURE0);
    }
    glEnable(GL_LIGHT0);
    Md2Manager::DrawAll(program, view);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    if (program) {
        program->unbind();
        unbind_from(gl.textures.noise_tex);
        glActiveTexture(GL_TEXTURE0);
    }
    glEnable(GL_CULL_FACE);
    glPopMatrix();
    glShadeModel(GL_SMOOTH);
    glDisable(GL_TEXTURE_2D);
}

