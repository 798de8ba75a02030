#include "Common/Pause.h"

#include "Audio/AudioSystem.h"
#include "Common/HelpScreen.h"

#include <cstdio>

PauseState pause_state;
PausableClock game_clock;
WindowFocus window_focus;

namespace {

double seconds(Uint32 ticks) { return ticks * 0.001; }

const char* why_text(PauseReason why)
{
    switch (why) {
    case PauseReason::Player: return "game paused\n";
    case PauseReason::Focus: return "game paused: the window lost the input focus\n";
    case PauseReason::Start: return "the first game waits for a driving key\n";
    default: return "";
    }
}

} // namespace

void pause_game(PauseReason why, Uint32 ticks)
{
    if (pause_state.paused() || why == PauseReason::None) return;
    pause_state.reason = why;
    game_clock.stop(seconds(ticks));
    stop_process_clock(true);
    // The game's opening keeps its music; a pause in play goes on quieter.
    if (why != PauseReason::Start) set_music_quiet(true);
    std::printf("%s", why_text(why));
}

void resume_game(Uint32 ticks)
{
    if (!pause_state.paused()) return;
    if (pause_state.reason == PauseReason::Start) help_shown = false;
    pause_state.reason = PauseReason::None;
    game_clock.run(seconds(ticks));
    stop_process_clock(false);
    set_music_quiet(false);
    std::printf("game goes on\n");
}

void toggle_pause(Uint32 ticks)
{
    if (pause_state.paused())
        resume_game(ticks);
    else
        pause_game(PauseReason::Player, ticks);
}

void WindowFocus::change(bool gain, Uint32 ticks)
{
    if (!gain && focused) lost_at = ticks;
    focused = gain;
}

bool WindowFocus::pause_due(Uint32 ticks) const
{
    return !focused && ticks - lost_at >= kFocusPauseDelayMs;
}
