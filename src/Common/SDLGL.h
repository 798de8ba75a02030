// The window, the OpenGL context and every graphics resource of the game.
//
// One SDLGL exists, created by the main program from '.\config\gfx.p'. It owns the
// texture slots, the shader programs and the render targets; the render passes reach them
// through the global `sdlgl`.
#pragma once

#include <SDL.h>

#include <array>

class ParameterFile;
class Texture;
class ShaderProgram;
class FBO;
struct TerrainScale;

class SDLGL {
public:
    explicit SDLGL(const char* parameter_path);
    ~SDLGL();
    SDLGL(const SDLGL&) = delete;
    SDLGL& operator=(const SDLGL&) = delete;

    // Window and context.
    void setup_opengl(int w, int h);
    void resize_window(int w, int h);
    void poll_events();
    // A new press of `sym` (SDL's key repeat filtered out) with the modifiers `mods`: Escape
    // quits, and every key of the key table that acts once per press.
    void on_key(int sym, int mods = 0);
    // A new window size (each side at least 200 and even): the video mode of that size, the
    // projection and the eye's aspect at once, the images that follow the window at the next
    // frame.
    void set_window_size(int w, int h);
    // F11, Alt+Enter: full screen at the desktop's size, or back to the window as it was.
    void toggle_full_screen();
    // Makes the render targets of the window's size anew for its current size.
    void remake_window_targets();
    // SDL's video mode of this size and these flags, and everything that follows the window's
    // size; false (the old mode kept) when SDL refuses it.
    bool set_video_mode(int w, int h, unsigned int flags);
    // Whether the driver granted swap control, and how the frames are paced, on the console.
    void report_swap_control();
    // mode 0 perspective, 1 2-D pixels, 2 orthographic; `out` receives the inverse projection.
    void set_projection(int w, int h, int mode, float near_plane, float far_plane, float fov,
                        float* out = nullptr);
    void set_texture_filtering();
    void disable_texture_units();
    void bind_object_textures();
    void swap_buffers();
    void check_gl_error(const char* where);

    // Input (one call per frame while a game runs).
    void handle_input();

    // Graphics resources created by the main program after the textures exist; the shader
    // programs place the terrain by `terrain`.
    void prepare_shaders(const TerrainScale& terrain);
    void create_fbos();
    // The targets that follow the window's size: the depth-of-field pair, the finished image
    // and the position image.
    void make_window_targets();

    // ---- window state ----
    SDL_Surface* screen = nullptr;
    int width = 0, height = 0;
    unsigned int video_flags = 3;
    bool quit_requested = false;
    int filter_mode = 0;       // 0 no mipmaps, 1 nearest mipmap, 2 linear between mipmaps
    bool filter_linear = true; // linear or nearest sampling
    int scene_image_width = -1; // the 3-D image's size ("render_scale" of the window's), once made
    int scene_image_height = -1;
    int mouse_x = 0, mouse_y = 0;
    char window_title[300] = {};
    char title_work[300] = {};
    ParameterFile* parameters = nullptr;
    int screen_width = 0, screen_height = 0, screen_bpp = 0; // "screen_width" .. at first, then the window's
    int max_texture_units = 0;
    double aspect_ratio = 1.0;
    bool swap_control = false; // whether the driver granted the swap control that "vsync" asks for
    int desktop_width = 0, desktop_height = 0; // full screen's size
    int windowed_width = 0, windowed_height = 0; // the window's size to go back to
    bool window_targets_stale = false;          // the window changed size since they were made

    // ---- the keys of the graphics parameter file ----
    struct Settings {
        float phys_minfact = 0, y_pgmland_scale = 0;
        float cam_speed = 0, cam_move_fast_multiplier = 0, cam_move_slow_divider = 0;
        float parallax_scale_xz1 = 0, parallax_scale_y1 = 0;
        float parallax_scale_xz2 = 0, parallax_scale_y2 = 0;
        float md2_max_vis_dist = 0;
        float cc_above[4] = {}, cc_below[4] = {}, cc[4] = {};
        float light_still_in_shadowed_region = 0;
        float physx_min_timestep = 0;
        bool check_physx_min_timestep = false;
        // Frame pace: swap control asked for ("vsync"), and the cap that paces the frames
        // without it ("max_fps", 0 for none).
        bool vsync = true;
        int max_fps = 0;
    } settings;

    // ---- clock, input state and display options ----
    float time_now = 0;                 // seconds, set at the top of every frame
    int camera_mode = 1;                // 1 follows the player, 0 flies free
    int mouse_dx_total = 0, mouse_dy_total = 0;
    bool show_fps = false;
    bool transparency = true;           // HUD font drawn with alpha blending
    float filter_changed_at = 0;
    float transparency_changed_at = 0;
    float culling_changed_at = -1.0e9f; // no culling message before the first toggle
    float volume_changed_at = -1.0e9f;
    bool reading_game_keys = false;     // the event drain of handle_input, not the banner's

    // ---- texture slots, in their order of creation ----
    struct Textures {
        Texture* title_tex = nullptr;
        Texture* htex_16bit = nullptr;
        Texture* cubemap_tex = nullptr;
        Texture* sand_tex = nullptr;
        Texture* noise_tex = nullptr;
        Texture* tree_tex = nullptr;
        Texture* teddy_tex = nullptr;
        Texture* evil_tex = nullptr;
        Texture* ship_tex = nullptr;
        Texture* crystal_tex = nullptr;
        Texture* hover_tex = nullptr;
        Texture* cam_tex = nullptr;
        Texture* unit_tex = nullptr;
        Texture* duck_tex = nullptr;
        Texture* pilz_tex = nullptr;
        Texture* lazyboy_tex = nullptr;
        Texture* noise_nm_tex = nullptr;
        Texture* bridge_tex = nullptr;
        Texture* rock_tex = nullptr;
        Texture* grass_tex = nullptr;
        Texture* waveAnim_tex = nullptr;
        Texture* radar_land_tex = nullptr; // the radar's land and water, from the height map
        Texture* overlay_atlas_tex = nullptr; // the race overlay's marks
    } textures;

    // ---- shader programs, in table order ----
    struct Programs {
        ShaderProgram* rippleShader = nullptr;
        ShaderProgram* waternormalsShader = nullptr;
        ShaderProgram* show_floatShader = nullptr;
        ShaderProgram* pgmlandShader = nullptr;
        ShaderProgram* pgmland_colorShader = nullptr;
        ShaderProgram* pgmland_parallax_colorShader = nullptr;
        ShaderProgram* pgmland_wateraboveShader = nullptr;
        ShaderProgram* pgmland_waterbelowShader = nullptr;
        ShaderProgram* colorShader = nullptr;
        ShaderProgram* wateraboveShader = nullptr;
        ShaderProgram* waterbelowShader = nullptr;
        ShaderProgram* perturbShader = nullptr;
        ShaderProgram* skyboxShader = nullptr;
        ShaderProgram* ringsShader = nullptr;
        ShaderProgram* objectsShader = nullptr;
        ShaderProgram* md2instanceShader = nullptr;
        ShaderProgram* imgwarpShader = nullptr;
        ShaderProgram* pgmland_positionShader = nullptr; // the ground into the position image
        ShaderProgram* water_positionShader = nullptr; // the water surface into it
        ShaderProgram* pgmland_parallax_grassShader = nullptr; // relief colour of ground of grass alone
        ShaderProgram* ground_classShader = nullptr; // marks the ground where more than grass shows
        ShaderProgram* pgmland_far_colorShader = nullptr; // the two beyond the relief's reach
        ShaderProgram* pgmland_far_grassShader = nullptr;
    } programs;

    // ---- render targets, in their order of creation ----
    struct Targets {
        FBO* watergrid_fbo = nullptr;
        FBO* ripple_a_fbo = nullptr; // the rings
        FBO* ripple_b_fbo = nullptr; // their normals
        FBO* dof_fbo = nullptr;
        FBO* dof_small_fbo = nullptr;
        // The finished image at the scene image's size, when that is smaller than the window:
        // the final program runs there, on a quarter of the window's pixels at half size, and
        // the result is stretched over the window.
        FBO* final_fbo = nullptr;
        // The position image (Gfx/PositionImage.h): the ground's, then the water surface's world
        // positions per pixel of the scene image, drawn with its depth, for their colour programs.
        FBO* position_fbo = nullptr;
        FBO* pgmlandgrid_fbo = nullptr;
        FBO* reflrefr_fbo = nullptr; // reflection in id, refraction in second_id
        FBO* shadow_fbo = nullptr;
    } targets;
};

// Free helpers of the graphics object, callable without a window.

// The four relief colour programs, which share their uniforms (the camera, the parallax pair).
inline std::array<ShaderProgram*, 4> relief_colour_programs(const SDLGL& gl)
{
    return {gl.programs.pgmland_parallax_colorShader, gl.programs.pgmland_parallax_grassShader,
            gl.programs.pgmland_far_colorShader, gl.programs.pgmland_far_grassShader};
}

// glFrustum for a vertical field of view in degrees; `out` (16 floats, column-major)
// receives the inverse of the projection matrix.
void perspective(float fov, float aspect, float near_plane, float far_plane, float* out = nullptr);

// True when `name` stands as a whole blank-separated token of `list`.
bool is_extension_supported(const char* name, const char* list);
