// The per-frame keyboard and mouse handling of the window object, split so that the rules
// (held keys, toggles with their shared dead times, speed modifiers) can be driven with a
// synthetic key state.
#pragma once

#include <SDL.h>

class SDLGL;
class Camera;

// The four shared dead-time timers of the toggle keys (SDL ticks of their last action).
struct KeyTimers {
    Uint32 a = 0, b = 0, c = 0, d = 0;
};

extern KeyTimers key_timers;

// True, and the timer restarted, when more than `dead_ms` passed since its last action.
bool timer_ready(Uint32& timer, Uint32 now, Uint32 dead_ms);

// One frame's input as the handler sees it.
struct InputFrame {
    const Uint8* keys = nullptr; // indexed by SDLKey
    SDLMod mods = KMOD_NONE;
    int mouse_dx = 0, mouse_dy = 0;
    Uint8 buttons = 0;           // SDL_BUTTON(n) bits
    Uint32 ticks = 0;
};

// The camera speed after the Shift keys: left Shift multiplies, then right Shift divides.
float modified_speed(float speed, SDLMod mods, float fast_multiplier, float slow_divider);

// Marks in `keys` (SDL's key state copied, `count` entries) every key whose press waits in the
// event queue: a key pressed and let go since the last frame is down for this frame, where on
// a slow frame a quick tap would come and go between two reads of the keyboard unseen. The
// events stay in the queue.
void add_pending_presses(Uint8* keys, int count);

// Everything the handler does with one frame's input except reading SDL and draining the
// event queue: mouse look, held keys, toggles.
void apply_input(SDLGL& gl, Camera& eye, Camera& aux, const InputFrame& in);

// Applies the B key's parallax mode to the terrain's parallax program.
void apply_parallax_mode(SDLGL& gl);
