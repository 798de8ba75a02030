#include "Common/Input.h"

#include "Common/Camera.h"
#include "Common/GameFlow.h"
#include "Common/Gamepad.h"
#include "Common/Globals.h"
#include "Common/KeyBindings.h"
#include "Common/KeyTable.h"
#include "Common/Pause.h"
#include "Common/PlayerControls.h"
#include "Common/SDLGL.h"
#include "Gfx/ShaderProgram.h"

#include <algorithm>
#include <cstdio>

PlayerControls player_controls;
bool new_game_requested = false;
KeyTimers key_timers;
PressFilter key_presses;

namespace {

const double kDegree = 3.141592653589793 / 180.0;

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

// The rows of one trigger whose keys are down, in the table's order.
void run_rows(Trigger trigger, InputContext& c, const InputFrame& in)
{
    const KeyBindings& keys = key_bindings();
    for (int i = 0; i < key_table_size; ++i) {
        const KeyAction& row = key_table[i];
        if (row.trigger != trigger || !any_down(keys[static_cast<size_t>(i)], in)) continue;
        if (trigger == Trigger::Timed && !timer_ready(key_timers.*row.timer, in.ticks, row.dead_ms)) continue;
        row.act(c);
    }
}

} // namespace

bool timer_ready(Uint32& timer, Uint32 now, Uint32 dead_ms)
{
    if (now - timer <= dead_ms) return false;
    timer = now;
    return true;
}

void apply_input(SDLGL& gl, Camera& eye, Camera& aux, const InputFrame& in)
{
    InputContext c{gl, eye, aux, gl.settings.cam_speed};
    player_controls.forward = player_controls.backward = false;
    player_controls.left = player_controls.right = false;

    mouse_look(eye, in);
    run_rows(Trigger::Speed, c, in);
    run_rows(Trigger::Held, c, in);
    run_rows(Trigger::Timed, c, in);
}

bool PressFilter::press(SDLKey key)
{
    if (key <= SDLK_UNKNOWN || key >= SDLK_LAST || down[key]) return false;
    down[key] = true;
    return true;
}

void PressFilter::release(SDLKey key)
{
    if (key > SDLK_UNKNOWN && key < SDLK_LAST) down[key] = false;
}

void PressFilter::forget_released(const Uint8* keys)
{
    if (!keys) return;
    for (int k = 0; k < SDLK_LAST; ++k)
        if (!keys[k]) down[k] = false;
}

void press_key(SDLGL& gl, SDLKey key, int mods)
{
    const KeyBindings& keys = key_bindings();
    if (pause_state.reason == PauseReason::Start) {
        for (int i = 0; i < key_table_size; ++i)
            if (drives_the_hover(i) && pressed_by(keys[static_cast<size_t>(i)], key, mods, false)) {
                resume_game(SDL_GetTicks());
                break;
            }
    }
    // The rows that act once per press touch no camera; the placeholder stands in before the
    // cameras exist.
    static Camera placeholder(60.0f, 1.5f, 350000.0f);
    InputContext c{gl, eyecam ? *eyecam : placeholder, auxcam ? *auxcam : placeholder, gl.settings.cam_speed};
    for (bool exact : {true, false}) {
        bool acted = false;
        for (int i = 0; i < key_table_size; ++i) {
            const KeyAction& row = key_table[i];
            if (row.trigger != Trigger::Pressed || !pressed_by(keys[static_cast<size_t>(i)], key, mods, exact)) continue;
            row.act(c);
            acted = true;
        }
        if (acted) return;
    }
}

void release_player_controls()
{
    player_controls = PlayerControls();
}

void read_frame_input(SDLGL& gl, GameFlow& flow, void (*start_game)())
{
    if (pause_state.reason == PauseReason::Start && pad_drives()) resume_game(SDL_GetTicks());
    switch (input_step(pause_state.paused(), flow.game_over, restart_due(flow, gl.time_now))) {
    case InputStep::Play:
        gl.handle_input();
        if (new_game_requested) {
            new_game_requested = false;
            start_game();
        }
        return;
    case InputStep::Restart:
        std::printf("RESTART GAME!!!!\n");
        start_game();
        break;
    case InputStep::WindowOnly:
        gl.poll_events();
        break;
    }
    release_player_controls();
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
    steer_by_pad();
    // Escape, closing the window, resizing and the keys that act at any time are handled as
    // while the banner shows.
    reading_game_keys = true;
    poll_events();
    reading_game_keys = false;
}
