// The per-frame keyboard and mouse handling of the window object, split so that the rules
// (held keys, toggles with their shared dead times, speed modifiers, presses) can be driven
// with a synthetic key state. Which key does what is the key table's (Common/KeyTable.h).
#pragma once

#include <SDL.h>

#include <bitset>

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
// event queue: the direction flags cleared, mouse look, then the key table's speed, held and
// timed rows.
void apply_input(SDLGL& gl, Camera& eye, Camera& aux, const InputFrame& in);

// Tells a press from the key-down events that SDL's key repeat sends while a key stays down.
struct PressFilter {
    std::bitset<SDLK_LAST> down;
    // A key-down event: true when it is a new press.
    bool press(SDLKey key);
    void release(SDLKey key);
    // Keys that the key state shows up are up, whatever event went missing (a key let go
    // while the window had no focus).
    void forget_released(const Uint8* keys);
};

extern PressFilter key_presses;

// A new press of `key` with `mods` held: the key table's rows that act once per press, and
// the start of the first game by a driving key. Rows whose keys ask for the held modifiers
// win over rows of the bare key (Alt+Enter is not Enter).
void press_key(SDLGL& gl, SDLKey key, int mods);

// The player's direction flags, and the jump and righting asked for, all off: what the hover
// gets in a frame whose keys are not read.
void release_player_controls();

struct GameFlow;

// The frame's input step: the keys while a game runs (and the new game the 0 key asks for),
// the restart when the banner has shown long enough, otherwise only the window's events and
// the keys that act at any time. A frame whose keys are not read lets go of the hover, which
// would otherwise keep the last keys' flags through a banner or a pause. The pad's stick
// starts the first game as a driving key does.
void read_frame_input(SDLGL& gl, GameFlow& flow, void (*start_game)());
