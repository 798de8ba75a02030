#include "Common/KeyTable.h"

#include "Audio/AudioSystem.h"
#include "Common/Camera.h"
#include "Common/Difficulty.h"
#include "Common/HelpScreen.h"
#include "Common/Pause.h"
#include "Common/PlayerControls.h"
#include "Common/SDLGL.h"
#include "Gfx/DisplayToggles.h"

#include <cstdio>
#include <cstring>

namespace {

bool follow(const InputContext& c) { return c.gl.camera_mode == 1; }

void print_cameras(InputContext& c)
{
    std::printf("eyecam\n");
    c.eye.print(false);
    std::printf("auxcam\n");
    c.aux.print(false);
}

void align_grid_camera(InputContext& c)
{
    std::printf("setting aux orientation to eyecam\n");
    c.aux.str = c.eye.str;
    c.aux.up = c.eye.up;
    c.aux.dir = c.eye.dir;
}

void filter_changed(SDLGL& gl)
{
    gl.filter_changed_at = gl.time_now;
    gl.set_texture_filtering();
}

// The volume keys show the new volume as an option message.
void volume_shown(InputContext& c) { c.gl.volume_changed_at = c.gl.time_now; }

} // namespace

// The design's keys come first, in the order the handler has always checked them: keys that
// share a dead-time timer and are down in the same frame act in this order. The keys that act
// once per press, at any time, come last (a new toggle goes before them).
const KeyAction key_table[] = {
    {"forward", "up / w", "hover forward (free camera: fly forward)", Trigger::Held, nullptr, 0,
     [](InputContext& c) {
         if (follow(c)) player_controls.forward = true;
         else c.eye.move_dir(5 * c.speed);
     }},
    {"backward", "down / s", "hover backward (free camera: fly backward)", Trigger::Held, nullptr, 0,
     [](InputContext& c) {
         if (follow(c)) player_controls.backward = true;
         else c.eye.move_dir(-5 * c.speed);
     }},
    {"fly_up", "r / right ctrl", "free camera: fly up", Trigger::Held, nullptr, 0,
     [](InputContext& c) { if (!follow(c)) c.eye.move_up(-5 * c.speed); }},
    {"fly_down", "f / [0]", "free camera: fly down", Trigger::Held, nullptr, 0,
     [](InputContext& c) { if (!follow(c)) c.eye.move_up(5 * c.speed); }},
    {"left", "left / a", "turn left (free camera: fly left)", Trigger::Held, nullptr, 0,
     [](InputContext& c) {
         if (follow(c)) player_controls.left = true;
         else c.eye.move_str(5 * c.speed);
     }},
    {"right", "right / d", "turn right (free camera: fly right)", Trigger::Held, nullptr, 0,
     [](InputContext& c) {
         if (follow(c)) player_controls.right = true;
         else c.eye.move_str(-5 * c.speed);
     }},
    {"faster", "left shift", "free camera, held: faster", Trigger::Speed, nullptr, 0,
     [](InputContext& c) { c.speed *= c.gl.settings.cam_move_fast_multiplier; }},
    {"slower", "right shift", "free camera, held: slower", Trigger::Speed, nullptr, 0,
     [](InputContext& c) { c.speed /= c.gl.settings.cam_move_slow_divider; }},
    {"", "mouse, left button held", "free camera: look around (pitch and yaw)", Trigger::Mouse, nullptr, 0, nullptr},
    {"", "mouse, right button held", "free camera: roll", Trigger::Mouse, nullptr, 0, nullptr},
    {"print_cameras", "p", "print the eye and grid cameras on the console", Trigger::Held, nullptr, 0,
     print_cameras},
    {"align_grid_camera", "o", "align the grid camera with the eye camera", Trigger::Held, nullptr, 0,
     align_grid_camera},
    {"new_game", "0", "start a new game", Trigger::Timed, &KeyTimers::a, 250,
     [](InputContext&) { new_game_requested = true; }},
    {"freeze_waves", "l", "freeze the water waves", Trigger::Timed, &KeyTimers::a, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "L"); }},
    {"jump", "space", "jump", Trigger::Timed, &KeyTimers::a, 350, [](InputContext&) { player_controls.jump = true; }},
    {"upright", "m", "turn the hover upright (with a cheer)", Trigger::Timed, &KeyTimers::a, 250,
     [](InputContext&) { player_controls.set_upright = true; }},
    {"water", "n", "water surface on or off", Trigger::Timed, &KeyTimers::b, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "N"); }},
    {"debug_view", "i", "debug view of the intermediate images", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "I"); }},
    {"show_fps", "f2", "show the frame rate", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { c.gl.show_fps = !c.gl.show_fps; }},
    {"wireframe", "f3", "wire frame", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "F3"); }},
    {"mipmap_filter", "f5", "texture filter: mipmap mode", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) {
         c.gl.filter_mode = (c.gl.filter_mode + 1) % 3;
         filter_changed(c.gl);
     }},
    {"linear_filter", "f6", "texture filter: linear or nearest", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) {
         c.gl.filter_linear = !c.gl.filter_linear;
         filter_changed(c.gl);
     }},
    {"culling", "f8", "view-frustum culling on or off", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "F8"); }},
    {"cull_margin", "c", "invert the culling margin", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "C"); }},
    {"camera", "tab", "switch between follow camera and free camera", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { c.gl.camera_mode = 1 - c.gl.camera_mode; }},
    {"solid_font", "f9", "transparent or solid HUD font", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) {
         c.gl.transparency = !c.gl.transparency;
         c.gl.transparency_changed_at = c.gl.time_now;
     }},
    {"parallax", "b", "terrain parallax mode (off, mild, strong)", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "B"); }},
    {"freeze_grids", "k", "freeze the terrain and water grids", Trigger::Timed, &KeyTimers::d, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "K"); }},
    {"radar", "x", "radar on or off", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext& c) { toggle_display_option(c.gl, "X"); }},
    {"difficulty", "f7", "opponents easy, normal or hard (from the next game)", Trigger::Timed, &KeyTimers::c, 250,
     [](InputContext&) { difficulty_choice.chosen = next_difficulty(difficulty_choice.chosen); }},
    {"help", "f1 / h", "show or hide the help on screen", Trigger::Pressed, nullptr, 0, [](InputContext&) { toggle_help(); }},
    {"pause", "pause / t", "pause or go on", Trigger::Pressed, nullptr, 0,
     [](InputContext&) { toggle_pause(SDL_GetTicks()); }},
    {"full_screen", "f11 / alt+return", "full screen or window", Trigger::Pressed, nullptr, 0,
     [](InputContext& c) { c.gl.toggle_full_screen(); }},
    {"volume_down", "- / [-]", "sound quieter", Trigger::Pressed, nullptr, 0, [](InputContext& c) {
         change_master_volume(-1);
         volume_shown(c);
     }},
    {"volume_up", "= / [+]", "sound louder", Trigger::Pressed, nullptr, 0, [](InputContext& c) {
         change_master_volume(1);
         volume_shown(c);
     }},
    {"mute", "backspace / [*]", "sound off or on", Trigger::Pressed, nullptr, 0, [](InputContext& c) {
         toggle_mute();
         volume_shown(c);
     }},
    {"quit", "escape", "quit", Trigger::Pressed, nullptr, 0, [](InputContext& c) { c.gl.quit_requested = true; }},
};

const int key_table_size = static_cast<int>(sizeof key_table / sizeof key_table[0]);

int key_action_index(const char* action)
{
    for (int i = 0; i < key_table_size; ++i)
        if (action && *action && std::strcmp(key_table[i].action, action) == 0) return i;
    return -1;
}

bool drives_the_hover(int row)
{
    if (row < 0 || row >= key_table_size) return false;
    const char* a = key_table[row].action;
    return !std::strcmp(a, "forward") || !std::strcmp(a, "backward") || !std::strcmp(a, "left") ||
           !std::strcmp(a, "right");
}
