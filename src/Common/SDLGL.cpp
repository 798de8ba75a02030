#include "Common/SDLGL.h"

#include "Common/Camera.h"
#include "Common/Projection.h"
#include "Common/SDLGLResources.h"
#include "Common/TextureFilter.h"
#include "Common/WindowRules.h"
#include "Common/Gamepad.h"
#include "Common/Globals.h"
#include "Common/Input.h"
#include "Common/Pause.h"
#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Gfx/FBO.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/Texture.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

GLUquadric* quadric = nullptr;

namespace {

const char* kSource = "src\\Common\\sdlgl";

// Fetches an entry point through SDL into GLEW's pointer of the same name.
#define FETCH_REQUIRED(name)                                                               \
    do {                                                                                   \
        *reinterpret_cast<void**>(&__glew##name) = SDL_GL_GetProcAddress("gl" #name);      \
        DEBUG_ASSERT(__glew##name != nullptr, "gl" #name " != NULL", kSource);             \
    } while (0)

// The values of the graphics parameter file, for every part of the graphics that reads it
// (the window here, the grids and waves, the render targets). Sizes of images and grids are
// checked once more against the driver's largest texture where they are made.
const KeyRange kGraphicsKeys[] = {
    {"parallax_scale_xz1", -1, 1, "a shift of the ground's texture, in texture widths"},
    {"parallax_scale_y1", -1, 1, "a shift of the ground's texture, in texture widths"},
    {"parallax_scale_xz2", -1, 1, "a shift of the ground's texture, in texture widths"},
    {"parallax_scale_y2", -1, 1, "a shift of the ground's texture, in texture widths"},
    {"md2_max_vis_dist", 100, 1e7, "nearer than 100 even the player's hover is not drawn"},
    // A window below the size a resize keeps would leave the quarter-size render targets
    // without a pixel; wider than 8192 SDL cannot make its rows.
    {"screen_width", kMinWindowSide, 8192, "a window side in pixels"},
    {"screen_height", kMinWindowSide, 8192, "a window side in pixels"},
    {"screen_bpp", 0, 64, "bits a pixel"},
    {"cam_speed", 0, 1e5, nullptr},
    {"cam_move_fast_multiplier", 0.01, 1000, nullptr},
    {"cam_move_slow_divider", 0.01, 1000, "the speed is divided by it"},
    {"_physx_min_timestep", 0.001, 1, "the longest step of simulated time one frame takes, in seconds"},
    {"_check_physx_min_timestep", INT_MIN, INT_MAX, "a switch: 0 off, anything else on"},
    {"phys_minfact", 0.01, 1000, "graphics units a height-map sample across: 0 puts the map in a point"},
    {"y_pgmland_scale", 0.001, 1000, "the height of the land: 0 flattens it under the water"},
    {"cc_above[0]", 0, 1, "a colour"}, {"cc_above[1]", 0, 1, "a colour"}, {"cc_above[2]", 0, 1, "a colour"},
    {"cc_above[3]", 0, 1, "a colour"}, {"cc_below[0]", 0, 1, "a colour"}, {"cc_below[1]", 0, 1, "a colour"},
    {"cc_below[2]", 0, 1, "a colour"}, {"cc_below[3]", 0, 1, "a colour"}, {"cc[0]", 0, 1, "a colour"},
    {"cc[1]", 0, 1, "a colour"},       {"cc[2]", 0, 1, "a colour"},       {"cc[3]", 0, 1, "a colour"},
    {"light_still_in_shadowed_region", 0, 1, "a share of the light"},
    {"fullscreen", INT_MIN, INT_MAX, "a switch: 0 a window, anything else the full screen"},
    {"vsync", INT_MIN, INT_MAX, "a switch: 0 off, anything else asks for swap control"},
    {"max_fps", 0, 1000, "frames a second at most; 0 for no cap"},
    // The projected grids: at least two rows and columns make a triangle; a finer grid than
    // the largest window has pixels draws nothing more.
    {"pgmlandgrid_dim_x", 2, 4096, "the ground's grid"},
    {"pgmlandgrid_dim_y", 2, 4096, "the ground's grid"},
    {"watergrid_dim_x", 2, 4096, "the water's grid"},
    {"watergrid_dim_y", 2, 4096, "the water's grid"},
    {"waterdynamicripplesmap_dim", 16, 8192, "the ring image's side in pixels"},
    {"prec_mul", 0.001, 1000, nullptr},
    {"ripple_scale_dynamic", -1e4, 1e4, nullptr},
    {"ripple_freq_dynamic", -1e4, 1e4, nullptr},
    {"waveScale", -1e4, 1e4, nullptr},
    {"render_scale", 0.25, 1, "the 3-D image's share of the window"},
    {"reflectionrefractionmap_dim", 16, 8192, "the water images' side in pixels"},
    {"shadowmap_dim", 16, 16384, "the shadow map's side in pixels"},
};

} // namespace

SDLGL::SDLGL(const char* parameter_path)
{
    std::printf("SDLGL constructor called\n");
    // Held here until every key has been read: a missing one throws out of the
    // constructor, and no destructor would release the reader then.
    std::unique_ptr<ParameterFile> reader(new ParameterFile(parameter_path, {kGraphicsKeys}));
    const ParameterFile& p = *reader;

    settings.parallax_scale_xz1 = p.getFloat("parallax_scale_xz1");
    settings.parallax_scale_y1 = p.getFloat("parallax_scale_y1");
    settings.parallax_scale_xz2 = p.getFloat("parallax_scale_xz2");
    settings.parallax_scale_y2 = p.getFloat("parallax_scale_y2");
    settings.md2_max_vis_dist = p.getFloat("md2_max_vis_dist");
    screen_width = p.getInt("screen_width");
    screen_height = p.getInt("screen_height");
    screen_bpp = p.getInt("screen_bpp");
    settings.cam_speed = p.getFloat("cam_speed");
    settings.cam_move_fast_multiplier = p.getFloat("cam_move_fast_multiplier");
    settings.cam_move_slow_divider = p.getFloat("cam_move_slow_divider");
    settings.physx_min_timestep = p.getFloat("_physx_min_timestep");
    settings.check_physx_min_timestep = p.getInt("_check_physx_min_timestep") != 0;
    settings.phys_minfact = p.getFloat("phys_minfact");
    settings.y_pgmland_scale = p.getFloat("y_pgmland_scale");
    char key[32];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(key, sizeof key, "cc_above[%d]", i);
        settings.cc_above[i] = p.getFloat(key);
    }
    for (int i = 0; i < 4; ++i) {
        std::snprintf(key, sizeof key, "cc_below[%d]", i);
        settings.cc_below[i] = p.getFloat(key);
    }
    for (int i = 0; i < 4; ++i) {
        std::snprintf(key, sizeof key, "cc[%d]", i);
        settings.cc[i] = p.getFloat(key);
    }
    settings.light_still_in_shadowed_region = p.getFloat("light_still_in_shadowed_region");
    video_flags = SDL_HWSURFACE | SDL_OPENGL;
    quit_requested = false;
    if (p.getInt("fullscreen") != 0) video_flags |= SDL_FULLSCREEN;
    // A window a player can resize (the full screen has the screen's size).
    else video_flags |= SDL_RESIZABLE;
    settings.vsync = p.getInt("vsync") != 0;
    settings.max_fps = p.getInt("max_fps");

    parameters = reader.release();

    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "Video initialization failed: %s\n", SDL_GetError());
        // Nothing can be drawn without video; end here rather than crash later.
        std::exit(1);
    }
    install_quit_signals();

    width = screen_width;
    height = screen_height;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    std::printf("setting depth-buffer to 24 bit precision\n");
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 32);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    // Swap control paces the frames by the screen's refresh where the driver grants it.
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, settings.vsync ? 1 : 0);
    // The desktop's size, which the first video mode would overwrite: full screen's size.
    if (const SDL_VideoInfo* info = SDL_GetVideoInfo()) {
        desktop_width = info->current_w;
        desktop_height = info->current_h;
    }
    windowed_width = screen_width;
    windowed_height = screen_height;

    std::snprintf(title_work, sizeof title_work, "%s ", "Moorhold 2008");
    std::strcpy(window_title, title_work);
    SDL_WM_SetCaption(window_title, "Moorhold");
    set_window_icon(".\\media\\icons\\moorhold_64.png");

    screen = SDL_SetVideoMode(width, height, 0, video_flags);
    if (!screen) {
        std::fprintf(stderr, "Video mode set failed: %s\n", SDL_GetError());
        SDL_Quit();
        std::exit(1);
    }

    setup_opengl(screen_width, screen_height);
    keep_loaded_libraries_for_leak_check();
    report_swap_control();

    SDL_EnableKeyRepeat(1, 30);
    SDL_PumpEvents();
    SDL_GetMouseState(&mouse_x, &mouse_y);
}

void SDLGL::setup_opengl(int w, int h)
{
    std::printf("setup_opengl\n");

    FETCH_REQUIRED(ActiveTexture);
    FETCH_REQUIRED(ActiveTextureARB);
    FETCH_REQUIRED(GenBuffersARB);
    FETCH_REQUIRED(BindBufferARB);
    FETCH_REQUIRED(BufferDataARB);
    FETCH_REQUIRED(DeleteBuffersARB);
    FETCH_REQUIRED(LockArraysEXT);
    FETCH_REQUIRED(UnlockArraysEXT);
    FETCH_REQUIRED(GenFramebuffersEXT);
    FETCH_REQUIRED(BindFramebufferEXT);

    *reinterpret_cast<void**>(&__glewPointParameterfARB) = SDL_GL_GetProcAddress("glPointParameterfARB");
    *reinterpret_cast<void**>(&__glewPointParameterfvARB) = SDL_GL_GetProcAddress("glPointParameterfvARB");
    bool point_parameters = __glewPointParameterfARB && __glewPointParameterfvARB;
    if (!point_parameters)
        std::fprintf(stderr, "One or more GL_ARB_point_parameters functions were not found");

    if (point_parameters) {
        const GLfloat attenuation[3] = {1.0f, 0.0f, 0.01f};
        glPointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, attenuation);
        GLfloat max_size = 0.0f;
        glGetFloatv(GL_POINT_SIZE_MAX_ARB, &max_size);
        max_size = clamp_point_size(max_size);
        glPointSize(max_size);
        glPointParameterfARB(GL_POINT_FADE_THRESHOLD_SIZE_ARB, 60.0f);
        glPointParameterfARB(GL_POINT_SIZE_MIN_ARB, 1.0f);
        glPointParameterfARB(GL_POINT_SIZE_MAX_ARB, max_size);
        glTexEnvf(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, 1.0f);
    }

    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (is_extension_supported("GL_EXT_framebuffer_object", extensions))
        std::printf("glFramebufferTexture2DEXT supported\n\n");
    else
        std::printf("glFramebufferTexture2DEXT !!!NOT!!! supported\n\n");

    FETCH_REQUIRED(FramebufferTexture2DEXT);
    FETCH_REQUIRED(CheckFramebufferStatusEXT);

    GLenum result = glewInit();
    if (result == GLEW_OK)
        std::fprintf(stderr, "GLEW init okay!\n");
    else
        std::fprintf(stderr, "Error initializing GLEW: %s\n",
                     reinterpret_cast<const char*>(glewGetErrorString(result)));

    if (GLEW_VERSION_2_0) {
        std::fprintf(stderr, "INFO: OpenGL 2.0 supported, proceeding\n");
    } else {
        std::fprintf(stderr, "INFO: OpenGL 2.0 !!! NOT !!! supported, exitting\n");
        std::exit(1);
    }

    if (GLEW_ARB_vertex_shader && GLEW_ARB_fragment_shader) {
        std::printf("Ready for GLSL\n");
        GLint v = 0;
        glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS_EXT, &v);
        std::printf("number of rendertargets (GL_MAX_COLOR_ATTACHMENTS_EXT) available: %d\n", v);
        glGetIntegerv(GL_MAX_DRAW_BUFFERS, &v);
        std::printf("number of draw buffers (GL_MAX_DRAW_BUFFERS) available: %d\n", v);
        glGetIntegerv(GL_MAX_TEXTURE_UNITS, &max_texture_units);
        std::printf("number of texture units (GL_MAX_TEXTURE_UNITS) available: %d\n", max_texture_units);
        glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &v);
        std::printf("number of texture units (GL_MAX_TEXTURE_IMAGE_UNITS) available: %d\n", v);
        glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &v);
        std::printf("number of texture units (GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS) available: %d\n", v);
        std::printf("\n");
    } else {
        std::printf("No GLSL support\n");
        std::exit(1);
    }

    glShadeModel(GL_SMOOTH);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearColor(0, 0, 0, 0);
    const GLfloat light_position[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, light_position);

    quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_TRUE);

    resize_window(w, h);
    glLoadIdentity();
    glDisable(GL_FOG);
}

void SDLGL::resize_window(int w, int h)
{
    width = w;
    height = h;
    aspect_ratio = static_cast<double>(static_cast<float>(w) / static_cast<float>(h));
    // The eye camera's planes when it exists; before it does, the values it is made with.
    float n = eyecam ? eyecam->near_plane : 1.5f;
    float f = eyecam ? eyecam->far_plane : 350000.0f;
    float fov = eyecam ? eyecam->fov : 60.0f;
    set_projection(w, h, 0, n, f, fov);
}

void SDLGL::poll_events()
{
    if (quit_signal_pending()) quit_requested = true;
    key_presses.forget_released(SDL_GetKeyState(nullptr));
    // A window being dragged larger sends a stream of sizes: only the last one is set.
    bool resized = false;
    int new_w = width, new_h = height;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            quit_requested = true;
            break;
        case SDL_KEYDOWN:
            if (key_presses.press(event.key.keysym.sym)) on_key(event.key.keysym.sym, event.key.keysym.mod);
            break;
        case SDL_KEYUP:
            key_presses.release(event.key.keysym.sym);
            break;
        case SDL_VIDEORESIZE:
            resized = true;
            new_w = event.resize.w;
            new_h = event.resize.h;
            break;
        case SDL_ACTIVEEVENT:
            if (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE))
                window_focus.change(event.active.gain != 0, SDL_GetTicks());
            break;
        case SDL_JOYBUTTONDOWN:
            press_pad_button(event.jbutton.button, reading_game_keys);
            break;
        default:
            break;
        }
    }
    if (resized) {
        clamp_resize(new_w, new_h);
        if (new_w != width || new_h != height) set_window_size(new_w, new_h);
    }
    if (window_focus.pause_due(SDL_GetTicks())) pause_game(PauseReason::Focus, SDL_GetTicks());
}

void SDLGL::on_key(int sym, int mods)
{
    press_key(*this, static_cast<SDLKey>(sym), mods);
}

bool SDLGL::set_video_mode(int w, int h, unsigned int flags)
{
    SDL_Surface* s = SDL_SetVideoMode(w, h, 0, flags);
    if (!s) {
        std::fprintf(stderr, "Video mode set failed: %s\n", SDL_GetError());
        // The mode that was: the game goes on in it.
        screen = SDL_SetVideoMode(width, height, 0, video_flags);
        return false;
    }
    screen = s;
    video_flags = flags;
    // Where SDL made a different size than asked (a full screen of another mode), that one.
    w = s->w;
    h = s->h;
    screen_width = w;
    screen_height = h;
    resize_window(w, h);
    if (eyecam) eyecam->set_aspect(static_cast<float>(aspect_ratio));
    window_targets_stale = true;
    return true;
}

void SDLGL::set_window_size(int w, int h)
{
    if (set_video_mode(w, h, video_flags)) std::printf("window size %d x %d\n", width, height);
}

void SDLGL::toggle_full_screen()
{
    if (video_flags & SDL_FULLSCREEN) {
        const unsigned int flags = (video_flags & ~SDL_FULLSCREEN) | SDL_RESIZABLE;
        if (set_video_mode(windowed_width, windowed_height, flags))
            std::printf("window %d x %d\n", width, height);
        return;
    }
    windowed_width = width;
    windowed_height = height;
    const int w = desktop_width > 0 ? desktop_width : width, h = desktop_height > 0 ? desktop_height : height;
    if (set_video_mode(w, h, (video_flags | SDL_FULLSCREEN) & ~SDL_RESIZABLE))
        std::printf("full screen %d x %d\n", width, height);
}

void SDLGL::report_swap_control()
{
    int interval = 0;
    swap_control = settings.vsync && SDL_GL_GetAttribute(SDL_GL_SWAP_CONTROL, &interval) == 0 && interval > 0;
    if (swap_control)
        std::printf("frames paced by swap control\n");
    else if (settings.max_fps > 0)
        std::printf("frames paced to at most %d a second%s\n", settings.max_fps,
                    settings.vsync ? " (the driver grants no swap control)" : "");
    else
        std::printf("frames not paced\n");
}

void SDLGL::set_projection(int w, int h, int mode, float near_plane, float far_plane, float fov,
                           float* out)
{
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (mode == 1 || mode == 2) {
        if (mode == 1)
            gluOrtho2D(0, w, 0, h);
        else
            glOrtho(0, w, 0, h, near_plane, far_plane);
        glMatrixMode(GL_MODELVIEW);
        return;
    }
    // The scene image stands for the window, whatever fraction of it it is drawn at. Its
    // height is compared too: a window may have any size now, and at a width of 480 its scene
    // image is as wide as the square mirror images.
    const bool scene_image = w == scene_image_width && h == scene_image_height;
    double aspect = projection_aspect(w, h, scene_image ? w : screen_width, aspect_ratio, fov);
    perspective(fov, static_cast<float>(aspect), near_plane, far_plane, out);
    glMatrixMode(GL_MODELVIEW);
}

void SDLGL::set_texture_filtering()
{
    GLint min_filter = min_filter_for(filter_mode, filter_linear);
    for (const SceneTextureSlot& s : scene_texture_slots) {
        Texture* t = textures.*s.slot;
        if (!s.filtered || !t || t->id == 0) continue;
        glBindTexture(GL_TEXTURE_2D, t->id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter_for(min_filter));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void SDLGL::disable_texture_units()
{
    for (int i = 0; i < max_texture_units; ++i) {
        glActiveTexture(GL_TEXTURE0 + i);
        glDisable(GL_TEXTURE_1D);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_RECTANGLE_ARB);
        glDisable(GL_TEXTURE_CUBE_MAP);
        glDisable(GL_TEXTURE_3D);
    }
}

void SDLGL::swap_buffers() { SDL_GL_SwapBuffers(); }

void SDLGL::check_gl_error(const char* where)
{
    GLenum code = glGetError();
    if (code != GL_NO_ERROR)
        std::printf("\n >>> @ %s => OpenGL ERROR: %s !!!\n\n", where,
                    reinterpret_cast<const char*>(gluErrorString(code)));
}

SDLGL::~SDLGL()
{
    std::printf("SDLGL destructor called!\n");
    delete parameters;
    parameters = nullptr;
    ShaderProgram** program_slots[] = {
        &programs.rippleShader, &programs.waternormalsShader, &programs.show_floatShader, &programs.pgmlandShader,
        &programs.pgmland_colorShader, &programs.pgmland_parallax_colorShader, &programs.pgmland_wateraboveShader,
        &programs.pgmland_waterbelowShader, &programs.colorShader, &programs.wateraboveShader,
        &programs.waterbelowShader, &programs.perturbShader, &programs.skyboxShader, &programs.ringsShader,
        &programs.objectsShader, &programs.md2instanceShader, &programs.imgwarpShader, &programs.pgmland_positionShader,
        &programs.water_positionShader, &programs.pgmland_parallax_grassShader, &programs.ground_classShader,
        &programs.pgmland_far_colorShader, &programs.pgmland_far_grassShader};
    for (ShaderProgram** slot : program_slots) {
        delete *slot;
        *slot = nullptr;
    }
    auto release = [](Texture*& t) {
        if (!t) return;
        if (t->id) glDeleteTextures(1, &t->id);
        delete t;
        t = nullptr;
    };
    for (Texture* SDLGL::Textures::*slot : special_texture_slots) release(textures.*slot);
    for (const SceneTextureSlot& s : scene_texture_slots) release(textures.*s.slot);
    FBO** target_slots[] = {&targets.watergrid_fbo, &targets.ripple_a_fbo,    &targets.ripple_b_fbo,
                            &targets.dof_fbo,       &targets.dof_small_fbo,   &targets.final_fbo,
                            &targets.position_fbo,  &targets.pgmlandgrid_fbo, &targets.reflrefr_fbo,
                            &targets.shadow_fbo};
    for (FBO** slot : target_slots) {
        delete *slot; // releases its framebuffer, textures and buffers
        *slot = nullptr;
    }
    if (quadric) gluDeleteQuadric(quadric);
    quadric = nullptr;
    std::printf("SDLGL destructor finished!\n");
    SDL_Quit();
}

// ---- free helpers ----

void perspective(float fov, float aspect, float near_plane, float far_plane, float* out)
{
    FrustumBounds b = frustum_bounds(fov, aspect, near_plane, far_plane);
    glFrustum(b.left, b.right, b.bottom, b.top, b.near_plane, b.far_plane);
    if (out) inverse_frustum_matrix(b, out);
}

bool is_extension_supported(const char* name, const char* list)
{
    if (!list || !name) return false;
    size_t name_len = std::strlen(name);
    const char* p = list;
    while (*p) {
        const char* end = std::strchr(p, ' ');
        size_t len = end ? static_cast<size_t>(end - p) : std::strlen(p);
        if (len == name_len && std::strncmp(p, name, len) == 0) return true;
        if (!end) break;
        p = end + 1;
    }
    return false;
}
