// Moorhold's main program: creates the long-lived objects in a fixed order, runs the frame
// loop on the one thread of the game and tears everything down in a fixed order.

#include "Ai/EskelShip.h"
#include "Ai/GameplayFrame.h"
#include "Ai/RaceView.h"
#include "Audio/AudioSystem.h"
#include "Common/Camera.h"
#include "Common/CommandLine.h"
#include "Common/ControlsFile.h"
#include "Common/DataDir.h"
#include "Common/DescribeFrame.h"
#include "Common/Difficulty.h"
#include "Common/FollowCamera.h"
#include "Common/FontManager.h"
#include "Common/FrameStats.h"
#include "Common/GameFlow.h"
#include "Common/Gamepad.h"
#include "Common/HelpScreen.h"
#include "Common/Hud.h"
#include "Common/Input.h"
#include "Common/Menu.h"
#include "Common/RaceOverlayDraw.h"
#include "Common/Random.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/Pause.h"
#include "Common/PlayerControls.h"
#include "Common/Platform.h"
#include "Common/SDLGL.h"
#include "Common/SDLGLResources.h"
#include "Common/Screenshot.h"
#include "Common/TestSeams.h"
#include "Common/TitleScreen.h"
#include "Gfx/CrystalBeams.h"
#include "Gfx/DisplayToggles.h"
#include "Gfx/FBO.h"
#include "Gfx/FramePass.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/PassTiming.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/Texture.h"
#include "Objects/GenericObject.h"
#include "Objects/HoverPhysics.h"
#include "Objects/LevelPopulation.h"
#include "Objects/PlayerImpl.h"
#include "Objects/ObjectErrors.h"
#include "Physics/NxPhysics.h"
#include "Physics/TerrainPhysics.h"
#include "Physics/UserAllocator.h"
#include "Terrain/GroundHeight.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {


GameTimer game_timer;
FpsRing fps_ring;
unsigned int frame_counter = 0;
// The race as this frame shows it, and its crystals' beams; kept to allocate nothing.
RaceView race_view;
std::vector<BeamVertex> beam_vertices;

// Loads the height map named by the map file and cuts its physics tiles. False when the
// map cannot be loaded.
bool load_height_map()
{
    std::string filename;
    {
        ParameterFile map_file(".\\config\\map\\map1.p");
        filename = map_file.getString("filename");
    }
    if (hmap.readfile(filename.c_str()) == -1) {
        std::fprintf(stderr, "error loading hmap!\n");
        return false;
    }
    std::printf("\n\tGFX - hmap exists\n\n");
    hmap.create_tiles(hmap.map_w / 8, hmap.map_h / 8, hmap.map_w / 16);
    return true;
}

void hold_eye_at(const EyePose& pose);

// The physics world: SDK, scene, terrain tiles and ground plane; then the scale from physics
// to graphics that every game object's drawing matrix goes through.
void set_up_physics(const TerrainScale& terrain)
{
    if (!terrain_physics().init_physics(hmap, terrain)) {
        std::fprintf(stderr, "failed to init Ageia lib\n");
        sdlgl->quit_requested = true;
    }
    std::printf("ausserhalb B4: GenericObject::physx2gfx_translate.y=%f\n", GenericObject::physx2gfx_translate[1]);
    const float translate[3] = {0, terrain.pgmland_offset, 0};
    GenericObject::set_physx2gfx_transform(terrain.iface, translate);
    std::printf("ausserhalb: GenericObject::physx2gfx_translate.y=%f\n", GenericObject::physx2gfx_translate[1]);
    if (terrain_physics().scene) terrain_physics().scene->setTiming(0, 0, NX_TIMESTEP_VARIABLE);
}

// The start-up in its fixed order. False when the height map is missing: the program then
// shuts down at once.
bool start_up()
{
    eyecam = new Camera(60.0f, 1.5f, 350000.0f);
    {
        float n = eyecam->near_plane, f = eyecam->far_plane;
        dof_params[0] = 0.15f * (0.2f * f - n);
        dof_params[1] = n;
        dof_params[2] = 0.2f * f;
        dof_params[3] = 0.2f * f;
    }

    sdlgl = new SDLGL(".\\config\\gfx.p");
    SDLGL& gl = *sdlgl;
    gl.resize_window(gl.screen_width, gl.screen_height);
    eyecam->set_aspect(static_cast<float>(gl.aspect_ratio));
    // The player's keys and pad, by SDL's names, which SDL knows once its video is up.
    read_controls(".\\config\\controls.p");

    std::printf("\tLoading font_test.png\n");
    menu.texture = new Texture(".\\media\\font_test.png");
    menu.texture->unbind();
    font_manager = new fontManager(".\\media\\font\\out.fnt");
    load_title_texture(gl);

    // Title screen, drawn once while the rest loads.
    gl.set_projection(gl.width, gl.height, 1, eyecam->near_plane, eyecam->far_plane, eyecam->fov);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    draw_title_screen(gl, gl.textures.title_tex, eyecam->near_plane, eyecam->far_plane, eyecam->fov);
    std::printf("\t title_tex w,h on screen !!!!!! \n");

    read_grid_and_wave_settings(*gl.parameters);

    auxcam = new Camera(*eyecam);
    auxcam->fov = 90.0f;
    {
        float len = std::sqrt(light_dir[0] * light_dir[0] + light_dir[1] * light_dir[1] +
                              light_dir[2] * light_dir[2]);
        if (len < 0.000001f) len = 0.000001f;
        for (float& c : light_dir) c /= len;
    }
    lightcam = new Camera(120.0f, 100.0f, 30000.0f);
    lightcam->set_position(0, 0, 0);
    lightcam->set_dir(light_dir[0], light_dir[1], light_dir[2]);
    belowcam = new Camera(90.0f, 50.0f, 8000.0f);

    if (!load_height_map()) return false;
    // Where the map lies for the graphics and for the physics, fixed here for the whole run.
    const SDLGL::Settings& s = gl.settings;
    const TerrainScale terrain =
        terrain_scale_for(hmap.map_w, hmap.phys_map_w, s.phys_minfact, s.y_pgmland_scale, waterlevel_frac);

    load_height_texture(gl, hmap);
    load_sky_and_scene_textures(gl);

    eyecam->set_position(0, 230, 100);
    eyecam->pitch(-45.0 * 3.141592653589793 / 180.0);
    auxcam->pos = eyecam->pos;
    auxcam->str = eyecam->str;
    auxcam->up = eyecam->up;
    auxcam->dir = eyecam->dir;
    if (test_seams.has_eye) hold_eye_at(test_seams.eye);

    load_wave_texture(gl);
    load_overlay_textures(gl, hmap);
    gl.bind_object_textures();
    gl.prepare_shaders(terrain);
    std::printf("after GL shader prepare\n");
    for (const std::string& key : test_seams.toggles) toggle_display_option(gl, key);
    pass_timing_enable(test_seams.pass_timing);
    frame_stats_enable(test_seams.frame_times);

    glClearColor(gl.settings.cc[0], gl.settings.cc[1], gl.settings.cc[2], gl.settings.cc[3]);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 10.0f);
    glFogf(GL_FOG_END, eyecam->far_plane);
    glFogfv(GL_FOG_COLOR, gl.settings.cc);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);

    gl.create_fbos();

    eyecam->load_path(".\\media\\camera_path.txt");
    eyecam->path_start_time = SDL_GetTicks() * 0.001;

    gl.check_gl_error("EZG B4 main loop");

    set_up_physics(terrain);

    // The light.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    {
        Vec3d d = lightcam->dir.normalized();
        const GLfloat pos[4] = {float(d.x), float(d.y), float(d.z), 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, pos);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        if (ShaderProgram* terrain = gl.programs.pgmland_colorShader) {
            terrain->bind();
            terrain->set_uniform_4fv("global_light_dir", pos);
            terrain->unbind();
        }
    }

    // The sound system reads its settings and loads the sounds before the level exists.
    audio_system();
    // The level file, read once: the opponents are made at its level, and its points to win
    // are taken once the start-up is done, as ever. A score of 0 is reached before the game
    // starts: every game would be won at once.
    static const KeyRange level_keys[] = {{"winning_points", 1, 1e6, "a score of 0 wins before the game starts"}};
    ParameterFile level(".\\config\\levels\\level1.p", {level_keys});
    difficulty_choice.in_use = difficulty_choice.chosen = read_difficulty(level);
    if (terrain_physics().scene) {
        populate_level();
        enable_score_log();
    }
    // The race's lists have room for every crystal the ship can have in play from the start.
    const size_t most_crystals = EskelShip::kMostCrystalsPrepared;
    race_view.crystals.reserve(most_crystals);
    race_view.opponents.reserve(8);
    beam_vertices.reserve(16 * most_crystals);
    reserve_race_overlay(most_crystals);
    // Pose every model once, so that the first frame draws posed instances.
    Md2Manager::UpdateAll(game_flow.time_scale * game_flow.frame_dt);

    std::fprintf(stderr, "calling fmod\n");
    audio_system()->play_next_background();
    std::fprintf(stderr, "called fmod\n");
    std::printf("starting main loop\n");

    game_flow.winning_points = level.getInt("winning_points");
    std::printf("points needed to win: %d\n", game_flow.winning_points);
    return true;
}

// The eye held at a pose for tests and screenshots: the free camera, so that nothing
// moves it.
void hold_eye_at(const EyePose& pose)
{
    const double to_rad = 3.141592653589793 / 180.0;
    eyecam->set_position(pose.x, pose.y, pose.z);
    eyecam->set_str(1, 0, 0);
    eyecam->set_up(0, 1, 0);
    eyecam->set_dir(0, 0, 1);
    eyecam->yaw(pose.yaw_deg * to_rad);
    eyecam->pitch(pose.pitch_deg * to_rad);
    auxcam->pos = eyecam->pos;
    auxcam->str = eyecam->str;
    auxcam->up = eyecam->up;
    auxcam->dir = eyecam->dir;
    sdlgl->camera_mode = 0;
}

void start_game()
{
    begin_new_game(game_flow);
    restart_game_objects();
    // A player's first game opens with the keys on screen and waits for a driving key; runs
    // of the test seams go at once, as they always did.
    static bool first_game = true;
    if (first_game && !test_seams.autopilot && !test_seams.human_pilot && test_seams.frames < 0) {
        help_shown = true;
        pause_game(PauseReason::Start, SDL_GetTicks());
    }
    first_game = false;
}

// Places the light camera for the shadow pass around `p`, the player's graphics position.
void place_lightcam(const float p[3])
{
    float n = lightcam->near_plane, f = lightcam->far_plane;
    float a = n + 0.275f * (f - n);
    float b = 0.95f * (f - n);
    const float* d = light_dir;
    lightcam->set_position(p[0] + a * d[0] + b * d[0], std::floor(p[1]) + a * d[1],
                           p[2] + a * d[2] + b * d[2]);
}

// The chase camera behind the player's hover, over the ground of the height map, raised
// (eased over `seconds` of game time) where the ground would hide the hover or the camera
// would stand in it.
EasedLift follow_lift;

void follow_player(float seconds)
{
    const float* p = game_player->gfx_position;
    const NxVec3 nose = game_player->forward_axis();
    follow_hover(*eyecam, Vec3d(p[0], p[1], p[2]), Vec3d(nose.x, nose.y, nose.z), hmap, terrain_physics().scale,
                 follow_lift, seconds);
}

// The crystals' beams for this frame's eye, at least a few pixels of the 3-D image wide.
void build_beams(const SDLGL& gl)
{
    const int image_h = gl.targets.dof_fbo ? gl.targets.dof_fbo->_texH : gl.height;
    const float pixel_angle = 2.0f * std::tan(eyecam->fov * 3.14159265f / 360.0f) / float(std::max(image_h, 1));
    build_crystal_beams(race_view, *eyecam, pixel_angle, BeamLook(), beam_vertices);
}

// The overlay's window and the land the radar shows: the height map's square in graphics units.
OverlaySettings overlay_settings(const SDLGL& gl)
{
    OverlaySettings s;
    s.width = gl.width;
    s.height = gl.height;
    s.radar_on = display.radar;
    const float* pgmland = terrain_physics().scale.pgmland;
    s.map_size[0] = pgmland[0] > 0 ? 1.0f / pgmland[0] : 0.0f;
    s.map_size[1] = pgmland[2] > 0 ? 1.0f / pgmland[2] : 0.0f;
    hud_score_box(font_manager->glyphs, font_manager->max_char_h, int(race_view.opponents.size()), s.scores_box);
    return s;
}

// The memory line of long runs, every MOORHOLD_MEMORY_EVERY frames (`frames` counts the
// frames done).
void print_memory_line(unsigned int frames)
{
    if (test_seams.memory_every <= 0 || frames % static_cast<unsigned long>(test_seams.memory_every) != 0) return;
    size_t high_water = 0, in_use = 0;
    if (UserAllocator* a = UserAllocator::latest()) a->usage(high_water, in_use);
    std::printf("memory: frame %u, resident %ld KB, physics high water %zu KB, physics in use %zu KB\n", frames,
                resident_kb(), high_water / 1024, in_use / 1024);
}

void run_frame(bool last_frame)
{
    SDLGL& gl = *sdlgl;

    if (frame_counter == 0) game_flow.game_over_time = gl.time_now;
    // The window changed size since the last frame: its images take the new size first.
    if (gl.window_targets_stale) gl.remake_window_targets();
    Uint32 frame_start_ticks = SDL_GetTicks();
    double frame_start_seconds = monotonic_seconds();
    std::clock_t frame_start_cpu = std::clock();
    gl.time_now = static_cast<float>(game_clock.now(frame_start_ticks * 0.001) + test_seams.clock_offset);

    read_frame_input(gl, game_flow, start_game);
    // Paused, nothing of the game moves: no steering, no simulated time, no physics step.
    const bool running = !pause_state.paused();

    if (running) steer_player(gl.time_now);
    float player_position[3];
    player_gfx_position(player_position);
    place_lightcam(player_position);

    const float measured = static_cast<float>(game_timer.read());
    const SDLGL::Settings& s = gl.settings;
    game_flow.frame_dt = running ? cap_frame_time(measured, s.check_physx_min_timestep, s.physx_min_timestep) : 0.0f;
    game_flow.time_total += game_flow.frame_dt;

    hover_debug_rays.clear();
    if (running) update_game_objects(game_flow.time_scale * game_flow.frame_dt);
    sync_player();
    log_player(game_flow.time_total, game_flow.time_scale);
    log_steering(game_flow.time_total, physics_step(frame_counter, game_flow.frame_dt, game_flow.time_scale));
    if (gl.camera_mode == 1 && game_player) follow_player(game_flow.frame_dt);
    eyecam->update_frustum(model_visibility_distance(gl, *eyecam));

    NxScene* scene = running ? terrain_physics().scene : nullptr;
    if (scene) {
        scene->simulate(physics_step(frame_counter, game_flow.frame_dt, game_flow.time_scale));
        scene->flushStream();
    }

    // The eye is final: its view (which also normalises its axes) before anything looks
    // through it.
    float view[16];
    eye_view_matrix(*eyecam, view);
    read_race(race_view);
    build_beams(gl);
    belowcam->set_position(eyecam->pos.x, eyecam->pos.y - 150.0, eyecam->pos.z);
    {
        Vec3d d = eyecam->dir.normalized();
        belowcam->str = eyecam->str;
        belowcam->up = eyecam->up;
        belowcam->dir = d;
    }

    {
        float position[3], up[3], dir[3];
        eyecam->get_position(position);
        eyecam->get_up(up);
        eyecam->get_dir(dir);
        audio_system()->update_listener(position, up, dir);
    }

    // The title covers the whole window during frames 0 to 12: the scene passes would only
    // be drawn over. Everything else of the frame (input, physics, the game) still runs.
    // The window itself is not cleared: the finished image (or the title) covers all of it
    // and nothing drawn into it tests depth.
    const FrameLists lists{&beam_vertices, &leave_rings(gl.time_now, game_flow.frame_dt, game_flow.time_scale),
                           &hover_debug_rays};
    render_frame(describe_frame(gl, frame_counter > 12, view, lists, game_flow.time_scale * game_flow.frame_dt));

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    gl.set_projection(gl.width, gl.height, 1, eyecam->near_plane, eyecam->far_plane, eyecam->fov);
    {
        const RaceOverlayFrame& overlay = draw_race_overlay(gl, *font_manager, race_view, *eyecam, overlay_settings(gl));
        human_pilot_look(overlay.layout, race_view, gl.width, gl.height, static_cast<float>(eyecam->fov));
        if (last_frame && test_seams.log_overlay) print_race_overlay(overlay, gl.width, gl.height);
    }
    {
        // The loop decides whether the game has ended; the display only shows it.
        bool was_over = game_flow.game_over;
        const GameEndBanners banners = evaluate_game_end(game_flow, player_score(), opponent_scores(), gl.time_now,
                                                         [] { return game_rand(); });
        log_game_end(was_over, game_flow.game_over, game_flow.player_won, game_flow.winning_points);
        draw_hud(gl, *font_manager, banners, fps_ring.mean(), player_score(), opponent_scores());
        draw_overlay(gl, *font_manager, static_cast<int>(opponent_scores().size()));
    }
    fps_ring.push(SDL_GetTicks() - frame_start_ticks);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    if (scene) scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    glFlush();

    // The last frame, also when a key or a signal ended the run in it.
    last_frame = last_frame || gl.quit_requested;
    const char* shot = last_frame && !test_seams.screenshot.empty() ? test_seams.screenshot.c_str() : nullptr;
    if (frame_counter <= 12) {
        if (frame_counter == 12) start_game();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw_title_screen(gl, gl.textures.title_tex, eyecam->near_plane, eyecam->far_plane, eyecam->fov, shot);
    } else if (shot) {
        write_screenshot(shot, gl.width, gl.height);
    }
    gl.swap_buffers();
    const double frame_seconds = monotonic_seconds() - frame_start_seconds;
    frame_stats_frame(frame_counter, frame_seconds);
    ++frame_counter;
    pass_timing_frame(frame_seconds, double(std::clock() - frame_start_cpu) / CLOCKS_PER_SEC);
    print_memory_line(frame_counter);
    // Without swap control a fast machine would draw frames nobody sees.
    sleep_seconds(frame_cap_sleep(monotonic_seconds() - frame_start_seconds, gl.settings.max_fps, gl.swap_control));
}

void shut_down()
{
    close_pad();
    Md2Manager::FreeAll();
    delete font_manager;
    font_manager = nullptr;
    delete lightcam;
    delete auxcam;
    delete eyecam;
    delete belowcam;
    lightcam = auxcam = eyecam = belowcam = nullptr;
    delete sdlgl;
    sdlgl = nullptr;
    delete the_audio_system; // last: SDL has already quit, the sound system copes
}

int run()
{
    try {
        if (start_up() && !sdlgl->quit_requested) {
            while (!sdlgl->quit_requested) {
                bool last = test_seams.frames >= 0 && frame_counter + 1 >= static_cast<unsigned long>(test_seams.frames);
                run_frame(last);
                if (last) sdlgl->quit_requested = true;
            }
        }
    } catch (...) {
        // A bad file ends the program (main reports it), but what was already made (the
        // window, the models) is still taken down in order.
        shut_down();
        throw;
    }
    pass_timing_report();
    frame_stats_report();
    shut_down();
    return 0;
}

// --help and --version answer before anything is loaded; other arguments are refused.
// Returns the status to end with, or -1 to play.
int answer_command_line(int argc, char** argv)
{
    std::string refused;
    switch (parse_command_line(argc, argv, &refused)) {
    case CommandLineAction::play:
        return -1;
    case CommandLineAction::version:
        std::printf("%s\n", version_text().c_str());
        return 0;
    case CommandLineAction::help: {
        const std::vector<std::string> candidates =
            data_dir_candidates(executable_path(), std::getenv("MOORHOLD_DATA_DIR"));
        std::fputs(usage_text(first_data_dir(candidates, [](const std::string& d) {
                                  return is_regular_file(d + "/config/gfx.p");
                              })).c_str(),
                   stdout);
        return 0;
    }
    case CommandLineAction::refuse:
        break;
    }
    std::fprintf(stderr, "moorhold: unknown argument \"%s\"\n\n%s", refused.c_str(), usage_text("").c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Progress lines and diagnostics interleave in the order they happen.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    const int answered = answer_command_line(argc, argv);
    if (answered >= 0) return answered;
    // Every file is read relative to the data directory, and the scratch files need a
    // folder that can be written, before the first file is opened.
    if (!enter_data_dir() || !prepare_scratch_dir()) return 1;
    // The physics world first, as it always was: its parameter file is the first one read.
    terrain_physics();
    read_test_seams();
    try {
        return run();
    } catch (const BadValueException&) {
        report_bad_value();
        return 1;
    } catch (const HoverObjectError&) {
        std::fprintf(stderr, "\nHoverObjectError: an opponent's or the eskel ship's parameter file gives a shape "
                             "type other than the box (111)\n");
        return 1;
    } catch (const StaticObjectError&) {
        std::fprintf(stderr, "\nStaticObjectError: a static object's parameter file gives a shape type other "
                             "than the box (111)\n");
        return 1;
    } catch (const ObjectError&) {
        std::fprintf(stderr, "\nObjectError: an object's parameter file gives a shape type other than the box "
                             "(111)\n");
        return 1;
    }
}
