#include "Gfx/TerrainPass.h"

#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/FBO.h"
#include "Gfx/FrameDescription.h"
#include "Gfx/GridMath.h"
#include "Gfx/PassUtil.h"
#include "Gfx/PositionImage.h"
#include "Gfx/PrepareShaders.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/TextureUnits.h"

#include <GL/glew.h>

#include <algorithm>

void update_terrain_grid(const FrameDescription& f, ShaderProgram* program, FBO* grid)
{
    SDLGL& gl = *sdlgl;
    const int w = grid->_texW, h = grid->_texH;

    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);

    gl.set_projection(w, h, 1, f.eye.near_plane, f.eye.far_plane, f.eye.fov);
    glLoadIdentity();

    program->bind();
    bind_on(gl.textures.noise_tex, tex_unit(kUnitNoise));
    bind_on(gl.textures.htex_16bit, tex_unit(kUnitHeight));
    bind_on(gl.textures.waveAnim_tex, tex_unit(kUnitWave));
    if (!f.options.freeze_waves) program->set_uniform_1f("slice_nr", f.time_now);

    const Camera& cam = f.terrain_grid;
    program->set_uniform_1f("pot", grid_spread(f.eye.dir.y, f.eye.pos.y).pot);
    program->set_uniform_4f("camPos", float(cam.pos.x), float(cam.pos.y), float(cam.pos.z), 1.0f);
    program->set_uniform_4f("camDirX", float(cam.str.x), float(cam.str.y), float(cam.str.z), 1.0f);
    program->set_uniform_4f("camDirY", float(cam.up.x), float(cam.up.y), float(cam.up.z), 1.0f);
    program->set_uniform_4f("camDirZ", float(cam.dir.x), float(cam.dir.y), float(cam.dir.z), 1.0f);
    program->set_uniform_1f("ratio", float(gl.aspect_ratio));

    glActiveTexture(GL_TEXTURE0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    draw_unit_quad(w, h);
    if (f.options.wireframe) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

    unbind_from(gl.textures.noise_tex);
    unbind_from(gl.textures.htex_16bit);
    unbind_from(gl.textures.waveAnim_tex);
    program->unbind();

    read_grid_into_vertex_buffer(grid);

    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
}

namespace {

// Between a cut and the height where its program begins to discard.
constexpr double kCutMargin = 2.0;
// The refraction program keeps ground up to this far above the swell.
constexpr double kRefractionReach = 2.0;

} // namespace

GroundCut main_image_cut(bool water_drawn, double eye_y, const WaterSpan& water)
{
    if (!water_drawn || !(eye_y > water.highest)) return {};
    return {GroundCut::Above, water.lowest - kCutMargin};
}

GroundCut reflection_cut(const WaterSpan& swell) { return {GroundCut::Above, swell.lowest - kCutMargin}; }

GroundCut refraction_cut(const WaterSpan& swell)
{
    return {GroundCut::Below, swell.highest + kRefractionReach + kCutMargin};
}

void ground_cut_plane(const GroundCut& cut, double plane[4])
{
    const double side = cut.keep == GroundCut::Below ? -1.0 : 1.0;
    plane[0] = 0;
    plane[1] = side;
    plane[2] = 0;
    plane[3] = -side * cut.level;
}

namespace {

// The grid's vertex buffer as one quad strip, cut by the clip plane.
void draw_grid(FBO* grid, bool full_resolution, GroundCut cut)
{
    if (cut.keep != GroundCut::All) {
        double plane[4];
        ground_cut_plane(cut, plane);
        glClipPlane(GL_CLIP_PLANE0, plane);
        glEnable(GL_CLIP_PLANE0);
    }
    draw_grid_strip(grid, full_resolution);
    glDisable(GL_CLIP_PLANE0);
}

// Binds the program with the ground's textures and the frame's light, seen from `eye`.
void bind_ground_colour(const FrameDescription& f, const Camera& eye, ShaderProgram* program)
{
    SDLGL& gl = *sdlgl;
    program->bind();
    bind_on(gl.textures.sand_tex, tex_unit(kUnitDecal));
    bind_on(gl.textures.noise_tex, tex_unit(kUnitNoise));
    bind_on(gl.textures.rock_tex, tex_unit(kUnitRock));
    bind_on(gl.textures.grass_tex, tex_unit(kUnitGrass));
    bind_on(gl.textures.htex_16bit, tex_unit(kUnitHeight));
    bind_on(gl.textures.waveAnim_tex, tex_unit(kUnitWave));
    program->set_uniform_1i("shadowMap", kUnitShadow);
    program->set_uniform_3f("lightDir", kTerrainLightDir[0], kTerrainLightDir[1], kTerrainLightDir[2]);
    program->set_uniform_4fv("lightColor", kTerrainLightColor);
    program->set_uniform_4f("camPos", float(eye.pos.x), float(eye.pos.y), float(eye.pos.z), 1.0f);
    if (!f.options.freeze_waves) program->set_uniform_1f("slice_nr", f.time_now);
    program->set_uniform_1i("noiseMap", kUnitNoise);
    glActiveTexture(GL_TEXTURE0);
}

void unbind_ground_colour(ShaderProgram* program)
{
    SDLGL& gl = *sdlgl;
    unbind_from(gl.textures.sand_tex);
    unbind_from(gl.textures.noise_tex);
    unbind_from(gl.textures.rock_tex);
    unbind_from(gl.textures.grass_tex);
    unbind_from(gl.textures.htex_16bit);
    unbind_from(gl.textures.waveAnim_tex);
    program->unbind();
}

} // namespace

void draw_terrain(const FrameDescription& f, const Camera& eye, FBO* grid, ShaderProgram* program,
                  bool full_resolution, GroundCut cut)
{
    bind_ground_colour(f, eye, program);
    draw_grid(grid, full_resolution, cut);
    unbind_ground_colour(program);
}

void draw_ground_positions(FBO* grid, FBO* positions, ShaderProgram* position_program, GroundCut cut)
{
    begin_position_image(positions, kMarkGround);
    position_program->bind();
    draw_grid(grid, true, cut);
    position_program->unbind();
    end_position_image();
}

namespace {

void shade_marked_ground(const FrameDescription& f, FBO* positions, ShaderProgram* program, PositionMark mark)
{
    bind_ground_colour(f, f.eye, program);
    positions->bind_to_unit(tex_unit(kUnitPosition));
    glActiveTexture(GL_TEXTURE0);
    draw_over_image(positions->_texW, positions->_texH, mark, f.options.wireframe);
    unbind_from(positions);
    unbind_ground_colour(program);
}

} // namespace

void shade_ground(const FrameDescription& f, FBO* positions, ShaderProgram* colour_program)
{
    shade_marked_ground(f, positions, colour_program, kMarkGround);
}

void shade_ground_by_class(const FrameDescription& f, FBO* positions, const ReliefColourPrograms& programs)
{
    positions->bind_to_unit(tex_unit(kUnitPosition));
    glActiveTexture(GL_TEXTURE0);
    programs.classing->bind();
    mark_over_image(positions->_texW, positions->_texH, kMarkGround, kMarkMixedBit);
    programs.classing->unbind();
    unbind_from(positions);
    // With a far plane inside the reach, all the ground drawn is within it.
    mark_ground_nearer_than(std::min(kReliefReach, 0.99 * f.eye.far_plane), kMarkNearBit);
    shade_marked_ground(f, positions, programs.far_grass, kMarkGround);
    shade_marked_ground(f, positions, programs.far_full, kMarkMixedGround);
    shade_marked_ground(f, positions, programs.grass, kMarkNearGround);
    shade_marked_ground(f, positions, programs.full, kMarkNearMixedGround);
}
