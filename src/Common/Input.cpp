#include "Common/Input.h"

#include "Gfx/DisplayToggles.h"

#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/PlayerControls.h"
#include "Common/SDLGL.h"
#include "Gfx/ShaderProgram.h"

#include <algorithm>
#include <cstdio>

PlayerControls player_controls;
bool new_game_requested = false;
KeyTimers key_timers;

namespace {

const double kDegree = 3.141592653589793 / 180.0;

bool down(const InputFrame& in, SDLKey key) { return in.keys[key] != 0; }

void mouse_look(Camera& eye, const InputFrame& in)
{
    if (in.buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) {
        SDL_ShowCursor(SDL_DISABLE);
        SDL_WM_GrabInput(SDL_GRAB_ON);
        eye.pitch(in.mouse_dy * 0.25 * kDegree);
        eye.yaw(in.mouse_dx * 0.25 * kDegree);
    } else if (in.buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) {
        SDL_ShowCursor(SDL_DISABLE);
        SDL_WM_GrabInput(SDL_GRAB_ON);
        eye.roll(in.mouse_dx * 0.25 * kDegree);
    }
    const Uint8 any = SDL_BUTTON(SDL_BUTTON_LEFT) | SDL_BUTTON(SDL_BUTTON_MIDDLE) | SDL_BUTTON(SDL_BUTTON_RIGHT);
    if (!(in.buttons & any)) {
        SDL_ShowCursor(SDL_ENABLE);
        SDL_WM_GrabInput(SDL_GRAB_OFF);
    }
}

// Arrows / WASD steer the hover in follow mode and fly the camera in free mode.
void held_keys(SDLGL& gl, Camera& eye, const InputFrame& in, float speed)
{
    bool follow = gl.camera_mode == 1;
    if (down(in, SDLK_UP) || down(in, SDLK_w)) {
        if (follow) player_controls.forward = true;
        else eye.move_dir(5 * speed);
    }
    if (down(in, SDLK_DOWN) || down(in, SDLK_s)) {
        if (follow) player_controls.backward = true;
        else eye.move_dir(-5 * speed);
    }
    if ((down(in, SDLK_r) || down(in, SDLK_RCTRL)) && !follow) eye.move_up(-5 * speed);
    if ((down(in, SDLK_f) || down(in, SDLK_KP0)) && !follow) eye.move_up(5 * speed);
    if (down(in, SDLK_LEFT) || down(in, SDLK_a)) {
        if (follow) player_controls.left = true;
        else eye.move_str(5 * speed);
    }
    if (down(in, SDLK_RIGHT) || down(in, SDLK_d)) {
        if (follow) player_controls.right = true;
        else eye.move_str(-5 * speed);
    }
}

void toggles(SDLGL& gl, const InputFrame& in)
{
    const Uint32 now = in.ticks;
    KeyTimers& t = key_timers;
    if (down(in, SDLK_0) && timer_ready(t.a, now, 250)) new_game_requested = true;
    if (down(in, SDLK_l) && timer_ready(t.a, now, 250)) toggle_display_option(gl, "L");
    if (down(in, SDLK_SPACE) && timer_ready(t.a, now, 350)) player_controls.jump = true;
    if (down(in, SDLK_m) && timer_ready(t.a, now, 250)) player_controls.set_upright = true;
    if (down(in, SDLK_n) && timer_ready(t.b, now, 250)) toggle_display_option(gl, "N");
    if (down(in, SDLK_i) && timer_ready(t.c, now, 250)) toggle_display_option(gl, "I");
    if (down(in, SDLK_F2) && timer_ready(t.c, now, 250)) gl.show_fps = !gl.show_fps;
    if (down(in, SDLK_F3) && timer_ready(t.c, now, 250)) toggle_display_option(gl, "F3");
    if (down(in, SDLK_F5) && timer_ready(t.c, now, 250)) {
        gl.filter_mode = (gl.filter_mode + 1) % 3;
        gl.filter_changed_at = gl.time_now;
        gl.set_texture_filtering();
    }
    if (down(in, SDLK_F6) && timer_ready(t.c, now, 250)) {
        gl.filter_linear = !gl.filter_linear;
        gl.filter_changed_at = gl.time_now;
        gl.set_texture_filtering();
    }
    if (down(in, SDLK_F8) && timer_ready(t.c, now, 250)) toggle_display_option(gl, "F8");
    if (down(in, SDLK_c) && timer_ready(t.c, now, 250)) toggle_display_option(gl, "C");
    if (down(in, SDLK_TAB) && timer_ready(t.c, now, 250)) gl.camera_mode = 1 - gl.camera_mode;
    if (down(in, SDLK_F9) && timer_ready(t.c, now, 250)) {
        gl.transparency = !gl.transparency;
        gl.transparency_changed_at = gl.time_now;
    }
    if (down(in, SDLK_b) && timer_ready(t.c, now, 250)) toggle_display_option(gl, "B");
    if (down(in, SDLK_k) && timer_ready(t.d, now, 250)) toggle_display_option(gl, "K");
    if (down(in, SDLK_x) && timer_ready(t.c, now, 250)) toggle_display_option(gl, "X");
}

} // namespace

bool timer_ready(Uint32& timer, Uint32 now, Uint32 dead_ms)
{
    if (now - timer <= dead_ms) return false;
    timer = now;
    return true;
}

float modified_speed(float speed, SDLMod mods, float fast_multiplier, float slow_divider)
{
    if (mods & KMOD_LSHIFT) speed *= fast_multiplier;
    if (mods & KMOD_RSHIFT) speed /= slow_divider;
    return speed;
}

void apply_parallax_mode(SDLGL& gl)
{
    ShaderProgram* program = gl.pgmland_parallax_colorShader;
    if (!program || gl.parallax_mode == 0) return;
    program->bind();
    if (gl.parallax_mode == 1)
        program->set_uniform_2f("parallax_scale_params", gl.parallax_scale_xz1, gl.parallax_scale_y1);
    else
        program->set_uniform_2f("parallax_scale_params", gl.parallax_scale_xz2, gl.parallax_scale_y2);
    program->unbind();
}

void apply_input(SDLGL& gl, Camera& eye, Camera& aux, const InputFrame& in)
{
    float speed = modified_speed(gl.cam_speed, in.mods, gl.cam_move_fast_multiplier, gl.cam_move_slow_divider);
    player_controls.forward = player_controls.backward = false;
    player_controls.left = player_controls.right = false;

    mouse_look(eye, in);
    held_keys(gl, eye, in, speed);

    if (down(in, SDLK_p)) {
        std::printf("eyecam\n");
        eye.print(false);
        std::printf("auxcam\n");
        aux.print(false);
    }
    if (down(in, SDLK_o)) {
        std::printf("setting aux orientation to eyecam\n");
        aux.str = eye.str;
        aux.up = eye.up;
        aux.dir = eye.dir;
    }
    toggles(gl, in);
}

void add_pending_presses(Uint8* keys, int count)
{
    SDL_Event pending[32];
    int n = SDL_PeepEvents(pending, 32, SDL_PEEKEVENT, SDL_EVENTMASK(SDL_KEYDOWN));
    for (int i = 0; i < n; ++i) {
        int sym = pending[i].key.keysym.sym;
        if (sym >= 0 && sym < count) keys[sym] = 1;
    }
}

void SDLGL::handle_input()
{
    SDL_PumpEvents();
    InputFrame in;
    int nkeys = 0;
    const Uint8* state = SDL_GetKeyState(&nkeys);
    Uint8 keys[SDLK_LAST] = {};
    nkeys = std::min(nkeys, static_cast<int>(SDLK_LAST));
    std::copy(state, state + nkeys, keys);
    add_pending_presses(keys, nkeys);
    in.keys = keys;
    in.buttons = SDL_GetRelativeMouseState(&in.mouse_dx, &in.mouse_dy);
    mouse_dx_total += in.mouse_dx;
    mouse_dy_total += in.mouse_dy;
    in.mods = SDL_GetModState();
    in.ticks = SDL_GetTicks();
    apply_input(*this, *eyecam, *auxcam, in);
    // Escape, closing the window and resizing are handled as while the banner shows.
    poll_events();
}
