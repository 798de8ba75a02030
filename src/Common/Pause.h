// The pause: the game's clocks, its physics and its scores stand still while the scene is
// still drawn. The player pauses and goes on with a key (or the pad's button); the game
// pauses by itself when its window loses the input focus, and the first game of a run waits,
// paused with the help shown, for a driving key.
#pragma once

#include "Common/Platform.h"

#include <SDL.h>

enum class PauseReason {
    None,   // the game runs
    Player, // the pause key
    Focus,  // the window lost the input focus
    Start,  // the first game waits for a driving key
};

struct PauseState {
    PauseReason reason = PauseReason::None;
    bool paused() const { return reason != PauseReason::None; }
};

extern PauseState pause_state;

// The clock of `time_now`: SDL's ticks in seconds, less the time spent paused.
extern PausableClock game_clock;

// Stops the game's clocks (this one and the process clock) at `ticks` and turns the music
// down; nothing when already paused.
void pause_game(PauseReason why, Uint32 ticks);
// Lets the clocks run again from where they stood, the music at its level; the help shown
// for the start goes away with it.
void resume_game(Uint32 ticks);
// The pause key: pauses a running game, lets a paused one go on.
void toggle_pause(Uint32 ticks);

// How long the window may be without the input focus before the game pauses: a focus that
// goes and comes back at once (a window manager handing it over, a grab) pauses nothing.
constexpr Uint32 kFocusPauseDelayMs = 250;

// The window's input focus as its events tell it.
struct WindowFocus {
    bool focused = true;
    Uint32 lost_at = 0; // ticks when it went
    // An active event: `gain` 0 or 1 for the input focus or for the window shown at all.
    void change(bool gain, Uint32 ticks);
    // True when the focus has been away long enough to pause the game.
    bool pause_due(Uint32 ticks) const;
};

extern WindowFocus window_focus;
