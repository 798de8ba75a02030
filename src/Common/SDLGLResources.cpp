#include "Common/SDLGLResources.h"

#include "Common/Globals.h"
#include "Common/OverlayAtlas.h"
#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Common/RadarLand.h"
#include "Common/SDLGL.h"
#include "Gfx/FBO.h"
#include "Gfx/Texture.h"

#include <GL/glew.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

const SceneTextureSlot scene_texture_slots[17] = {
    {".\\media\\sand_base1.jpg", &SDLGL::Textures::sand_tex, true},
    {".\\media\\noise.jpg", &SDLGL::Textures::noise_tex, true},
    {".\\media\\objects\\trees\\tree.jpg", &SDLGL::Textures::tree_tex, true},
    {".\\media\\objects\\teddy\\teddy.jpg", &SDLGL::Textures::teddy_tex, true},
    {".\\media\\objects\\evil\\evil.jpg", &SDLGL::Textures::evil_tex, true},
    {".\\media\\objects\\ship\\ship.jpg", &SDLGL::Textures::ship_tex, true},
    {".\\media\\objects\\crystal\\crystal.jpg", &SDLGL::Textures::crystal_tex, true},
    {".\\media\\objects\\hover\\hover.jpg", &SDLGL::Textures::hover_tex, true},
    {".\\media\\objects\\cam\\cam.jpg", &SDLGL::Textures::cam_tex, true},
    {".\\media\\objects\\unit\\unit.jpg", &SDLGL::Textures::unit_tex, false},
    {".\\media\\objects\\duck\\duck.jpg", &SDLGL::Textures::duck_tex, true},
    {".\\media\\objects\\pilz\\pilz.jpg", &SDLGL::Textures::pilz_tex, true},
    {".\\media\\objects\\tree_lazy_boy\\tree_lazy_boy.jpg", &SDLGL::Textures::lazyboy_tex, true},
    {".\\media\\noise_nm.png", &SDLGL::Textures::noise_nm_tex, true},
    {".\\media\\objects\\bridge\\bridge.jpg", &SDLGL::Textures::bridge_tex, true},
    {".\\media\\nature072b.jpg", &SDLGL::Textures::rock_tex, true},
    {".\\media\\Grass6.jpg", &SDLGL::Textures::grass_tex, true},
};

Texture* SDLGL::Textures::*const special_texture_slots[6] = {
    &SDLGL::Textures::title_tex,    &SDLGL::Textures::htex_16bit,     &SDLGL::Textures::cubemap_tex,
    &SDLGL::Textures::waveAnim_tex, &SDLGL::Textures::radar_land_tex, &SDLGL::Textures::overlay_atlas_tex};

void set_window_icon(const char* path)
{
    const std::string native = native_path(path);
    SDL_Surface* icon = names_a_non_regular_file(native) ? nullptr : IMG_Load(native.c_str());
    if (!icon) return;
    SDL_WM_SetIcon(icon, nullptr);
    SDL_FreeSurface(icon);
}

void load_title_texture(SDLGL& gl)
{
    gl.textures.title_tex = new Texture(".\\media\\title.jpg");
    gl.textures.title_tex->unbind();
}

void load_height_texture(SDLGL& gl, const HeightMap& map)
{
    gl.textures.htex_16bit = new Texture();
    gl.textures.htex_16bit->load_16bit(map);
    std::printf("\n\t outside: 16 bit tex id = %u, w=%d, h=%d\n\n", gl.textures.htex_16bit->id,
                gl.textures.htex_16bit->_texW, gl.textures.htex_16bit->_texH);
}

void load_sky_and_scene_textures(SDLGL& gl)
{
    gl.textures.cubemap_tex = new Texture();
    gl.textures.cubemap_tex->load_cubemap_strip(".\\media\\cubemap\\cubemap_daytime_X4.jpg");
    for (const SceneTextureSlot& s : scene_texture_slots) {
        Texture* t = new Texture(s.path);
        t->unbind();
        gl.textures.*s.slot = t;
    }
}

void load_wave_texture(SDLGL& gl)
{
    gl.textures.waveAnim_tex = new Texture();
    gl.textures.waveAnim_tex->load_3d(".\\media\\waveanim\\hm_%d_von_16.bmp", 16);
    gl.textures.waveAnim_tex->unbind();
}

void load_overlay_textures(SDLGL& gl, const HeightMap& map)
{
    // 256 pixels across the map (2 m each on the game's): the radar shows 150 m across in up
    // to 260 pixels, where a coarser image would blur the shores.
    const int side = 256;
    std::vector<uint8_t> pixels;
    radar_land_image(map, side, waterlevel_frac, pixels);
    gl.textures.radar_land_tex = new Texture();
    gl.textures.radar_land_tex->load_rgba(side, side, pixels.data());
    gl.textures.radar_land_tex->unbind();
    overlay_atlas_image(pixels);
    gl.textures.overlay_atlas_tex = new Texture();
    gl.textures.overlay_atlas_tex->load_rgba(kAtlasWidth, kAtlasHeight, pixels.data());
    gl.textures.overlay_atlas_tex->unbind();
}

TargetSize dof_target_size(int screen_width, int screen_height, float render_scale)
{
    float s = std::min(1.0f, std::max(0.25f, render_scale));
    return TargetSize{std::max(1, static_cast<int>(screen_width * s + 0.5f)),
                      std::max(1, static_cast<int>(screen_height * s + 0.5f))};
}

TargetSize dof_small_target_size(int image_width, int image_height)
{
    return TargetSize{image_width / 4, image_height / 4};
}

// Every pass names the unit it binds a texture on (TextureUnits.h), so no texture keeps a
// unit of its own; what is left to set up is the texture environment of the active unit.
void SDLGL::bind_object_textures() { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE); }

namespace {

void report_failure(GLenum status)
{
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT)
        std::fprintf(stderr, "could not create the requested FBO!\n");
}

// Leaves the default framebuffer bound and the target's texture unbound.
void finish_colour_target(FBO* fbo, GLenum status)
{
    report_failure(status);
    fbo->unbind_framebuffer();
    fbo->unbind();
}

FBO* make_colour_target(GLenum target, GLenum internal_format, int w, int h, GLenum format,
                        GLenum type, GLint filter)
{
    FBO* fbo = new FBO();
    GLenum status = fbo->create_color(target, internal_format, w, h, format, type, filter,
                                      GL_CLAMP_TO_EDGE, GL_COLOR_ATTACHMENT0_EXT);
    finish_colour_target(fbo, status);
    return fbo;
}

FBO* make_grid_target(GLenum float_format, int w, int h)
{
    FBO* fbo = new FBO();
    GLenum status = fbo->create_grid(GL_TEXTURE_RECTANGLE_ARB, float_format, w, h, GL_RGBA,
                                     GL_FLOAT, GL_NEAREST, GL_CLAMP_TO_EDGE);
    finish_colour_target(fbo, status);
    return fbo;
}

// An image or grid larger than the driver's largest texture cannot be made: said once by
// its key, rather than by "could not create the requested FBO!" and a GL error every frame.
void require_texture_side(const ParameterFile& p, const char* key, int side, int max_side)
{
    if (side <= max_side) return;
    refuse_value(p, key, "larger than this driver's largest texture, " + std::to_string(max_side) + " pixels");
}

} // namespace

void SDLGL::make_window_targets()
{
    std::printf("\n\tDOF FBOs\n");
    TargetSize dof = dof_target_size(screen_width, screen_height, parameters->getFloat("render_scale"));
    targets.dof_fbo =
        make_colour_target(GL_TEXTURE_RECTANGLE_ARB, GL_RGBA, dof.w, dof.h, GL_RGBA, GL_UNSIGNED_BYTE, GL_LINEAR);
    std::printf("\n\tDOF FBO (small)\n");
    scene_image_width = dof.w;
    scene_image_height = dof.h;
    TargetSize small = dof_small_target_size(dof.w, dof.h);
    targets.dof_small_fbo =
        make_colour_target(GL_TEXTURE_RECTANGLE_ARB, GL_RGBA, small.w, small.h, GL_RGBA, GL_UNSIGNED_BYTE, GL_LINEAR);
    if (dof.w < screen_width || dof.h < screen_height)
        targets.final_fbo =
            make_colour_target(GL_TEXTURE_RECTANGLE_ARB, GL_RGBA, dof.w, dof.h, GL_RGBA, GL_UNSIGNED_BYTE, GL_LINEAR);
    report_failure(targets.dof_fbo->add_stencil());
    targets.dof_fbo->unbind_framebuffer();
    targets.position_fbo = new FBO();
    finish_colour_target(targets.position_fbo,
                         targets.position_fbo->create_color_on_depth(*targets.dof_fbo, GL_TEXTURE_RECTANGLE_ARB,
                                                                     float_rgba32_format(), GL_RGBA, GL_FLOAT));
    std::printf("\tDOF FBOs end\n\n");
    window_targets_stale = false;
}

void SDLGL::remake_window_targets()
{
    // The position image draws with the depth-of-field image's depth: it goes first.
    for (FBO** slot : {&targets.position_fbo, &targets.final_fbo, &targets.dof_small_fbo, &targets.dof_fbo}) {
        delete *slot;
        *slot = nullptr;
    }
    make_window_targets();
    std::printf("the images that follow the window are made anew for %d x %d\n", screen_width, screen_height);
}

void SDLGL::create_fbos()
{
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    const int mirror_dim = parameters->getInt("reflectionrefractionmap_dim");
    const int shadow_dim = parameters->getInt("shadowmap_dim");
    const std::pair<const char*, int> sides[] = {
        {"watergrid_dim_x", watergrid_dim_x},   {"watergrid_dim_y", watergrid_dim_y},
        {"pgmlandgrid_dim_x", pgmlandgrid_dim_x}, {"pgmlandgrid_dim_y", pgmlandgrid_dim_y},
        {"waterdynamicripplesmap_dim", waterdynamicripplesmap_dim}, {"reflectionrefractionmap_dim", mirror_dim},
        {"shadowmap_dim", shadow_dim}};
    for (const auto& [key, side] : sides) require_texture_side(*parameters, key, side, max_side);

    const GLenum float_format = float_rgba32_format();
    std::printf("float render targets use %s\n", float_rgba32_format_name(float_format));

    targets.watergrid_fbo = make_grid_target(float_format, watergrid_dim_x, watergrid_dim_y);
    targets.ripple_a_fbo = make_colour_target(GL_TEXTURE_2D, GL_RGBA, waterdynamicripplesmap_dim,
                                              waterdynamicripplesmap_dim, GL_RGBA, GL_UNSIGNED_BYTE, GL_LINEAR);
    targets.ripple_b_fbo = make_colour_target(GL_TEXTURE_2D, GL_RGBA, waterdynamicripplesmap_dim,
                                              waterdynamicripplesmap_dim, GL_RGBA, GL_UNSIGNED_BYTE, GL_LINEAR);

    make_window_targets();

    targets.pgmlandgrid_fbo = make_grid_target(float_format, pgmlandgrid_dim_x, pgmlandgrid_dim_y);

    targets.reflrefr_fbo = new FBO();
    GLenum status =
        targets.reflrefr_fbo->create_color(GL_TEXTURE_2D, GL_RGBA, mirror_dim, mirror_dim, GL_RGBA, GL_UNSIGNED_BYTE,
                                           GL_LINEAR, GL_CLAMP_TO_EDGE, GL_COLOR_ATTACHMENT0_EXT);
    report_failure(status);
    status =
        targets.reflrefr_fbo->create_color(GL_TEXTURE_2D, GL_RGBA, mirror_dim, mirror_dim, GL_RGBA, GL_UNSIGNED_BYTE,
                                           GL_LINEAR, GL_CLAMP_TO_EDGE, GL_COLOR_ATTACHMENT1_EXT);
    finish_colour_target(targets.reflrefr_fbo, status);

    std::printf("creating Shadow Map FBO\n");
    targets.shadow_fbo = new FBO();
    status =
        targets.shadow_fbo->create_depth(GL_TEXTURE_2D, GL_DEPTH_COMPONENT, shadow_dim, shadow_dim, GL_DEPTH_COMPONENT,
                                         GL_UNSIGNED_INT, GL_LINEAR, GL_CLAMP_TO_BORDER, GL_DEPTH_ATTACHMENT_EXT);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
        std::fprintf(stderr, "could not create the requested FBO! EZG\n");
        std::fprintf(stderr, "could not create the requested FBO! EZG, ret = %u\n", status);
    }
    targets.shadow_fbo->unbind_framebuffer();
    targets.shadow_fbo->unbind_shadow();
}
