// The pause's clocks: the game clock of the banners and the process clock of the opponents,
// the ship and the crystals stand while the game is paused and go on from where they stood;
// who pauses and what ends a pause.
#include "Common/HelpScreen.h"
#include "Common/Pause.h"
#include "Common/Platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

// Stopping and running at outside times, and what the clock reads at another outside time.
TEST(PausableClock, StandsWhileStoppedAndLeavesTheStoppedTimeOutAndTheProcessClockStandsWhilePaused)
{
    enum Op { Stop, Run, Read };
    const std::tuple<Op, double, double> steps[] = {
        {Read, 5.0, 5.0},   {Stop, 6.0, 0},  {Read, 9.0, 6.0},  {Stop, 9.5, 0}, // stopping twice keeps the first
        {Read, 10.0, 6.0},  {Run, 10.0, 0},  {Read, 10.0, 6.0}, {Read, 12.5, 8.5},
        {Run, 13.0, 0},     {Read, 13.0, 9.0}, // running twice changes nothing
        {Stop, 20.0, 0},    {Run, 19.0, 0},  {Read, 21.0, 17.0}, // an outside clock that steps back adds nothing
    };
    PausableClock clock;
    for (const auto& [op, outside, reads] : steps) {
        if (op == Stop) clock.stop(outside);
        if (op == Run) clock.run(outside);
        if (op == Read) {
            EXPECT_DOUBLE_EQ(clock.now(outside), reads) << "at " << outside;
        }
    }

    // The process clock stands while paused too, and a held clock stays held.
    const long before = process_clock_ms();
    stop_process_clock(true);
    const long stopped = process_clock_ms();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(process_clock_ms(), stopped);
    EXPECT_GE(stopped, before);
    hold_process_clock(123456);
    EXPECT_EQ(process_clock_ms(), 123456) << "the headless races' own clock wins over the pause";
    hold_process_clock(-1);
    stop_process_clock(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const long after = process_clock_ms();
    EXPECT_GE(after, stopped + 25);
    EXPECT_LT(after, stopped + 60) << "the 60 ms paused are left out";
}

class PauseTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        resume_game(0);
        help_shown = false;
    }
};

TEST_F(PauseTest, ThePauseKeyTogglesAPauseKeepsItsFirstReasonAndAHelpAskedForStays)
{
    toggle_pause(1000);
    EXPECT_EQ(pause_state.reason, PauseReason::Player);
    const double frozen = game_clock.now(1.0);
    EXPECT_DOUBLE_EQ(game_clock.now(4.0), frozen);
    pause_game(PauseReason::Focus, 2000); // already paused: the first reason stays
    EXPECT_EQ(pause_state.reason, PauseReason::Player);
    toggle_pause(3000);
    EXPECT_FALSE(pause_state.paused());
    EXPECT_DOUBLE_EQ(game_clock.now(3.5), frozen + 0.5) << "two paused seconds left out";

    // The first game's help goes when it starts (judged in the game: HelpOnScreen); one the
    // player asked for stays.
    help_shown = true;
    pause_game(PauseReason::Focus, 6000);
    resume_game(7000);
    EXPECT_TRUE(help_shown) << "a help the player asked for stays";
}

// The focus's events (lost or back, at a time) and whether the game pauses at a later time.
TEST(WindowFocusPause, OnlyAFocusAwayForAQuarterSecondPauses)
{
    struct Case { std::vector<std::pair<bool, Uint32>> events; Uint32 at; bool due; } cases[] = {
        {{}, 5000, false},
        {{{false, 1000}}, 1249, false},
        {{{false, 1000}}, 1250, true},
        {{{false, 1000}, {true, 1100}}, 5000, false},             // handed over and back
        {{{false, 1000}, {false, 1200}}, 1260, true},             // a second loss keeps the first time
        {{{false, 1000}, {true, 1100}, {false, 1200}}, 1300, false},
    };
    for (const Case& c : cases) {
        WindowFocus f;
        for (auto [gain, ticks] : c.events) f.change(gain, ticks);
        EXPECT_EQ(f.pause_due(c.at), c.due) << c.events.size() << " events, at " << c.at;
    }
}
