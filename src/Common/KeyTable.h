// The one table of the game's keys: every action with its default keys, what it does, and how
// the input handler runs it. The input handler dispatches from it, the help on screen lists
// it, config/controls.p names a key for each of its actions, and the README's controls table
// is checked against it row by row.
#pragma once

#include "Common/Input.h"

#include <SDL.h>

class SDLGL;
class Camera;

// How a row's keys act.
enum class Trigger {
    Speed,   // while down, changes the free camera's speed (first, before the held keys)
    Held,    // every frame while down: the movement keys, P, O
    Timed,   // while down, once the dead time of its shared timer has passed: the toggles
    Pressed, // once per press, at any time, also while a banner shows or the game is paused
    Mouse,   // the mouse's rows: listed only; the mouse look handles them and no file binds them
};

// What an action acts on.
struct InputContext {
    SDLGL& gl;
    Camera& eye;
    Camera& aux;
    float speed; // the free camera's speed this frame, after the Speed rows
};

struct KeyAction {
    const char* action;      // its name in config/controls.p ("" for the mouse's rows)
    const char* keys;        // its default keys by SDL's names, " / " between them
    const char* description; // what it does, for the help and the README
    Trigger trigger;
    Uint32 KeyTimers::*timer; // Timed rows: the shared timer
    Uint32 dead_ms;           // Timed rows: its dead time
    void (*act)(InputContext&);
};

extern const KeyAction key_table[];
extern const int key_table_size;

// The row of `action`, or -1 when the table has none.
int key_action_index(const char* action);

// The four rows whose keys drive the hover (what starts the first game).
bool drives_the_hover(int row);
