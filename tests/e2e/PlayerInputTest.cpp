// What a player does at the keyboard, sent through the X server's own input as a keyboard
// sends it, and what the game does with it.
#include "e2e/GameRunner.h"
#include "e2e/PlayLog.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kPi = 3.141592653589793;

TEST(PlayerInput, EscapeFromTheKeyboardQuitsInOrderWithStatusZero)
{
    RunOptions opt;
    opt.frames = 1000000; // only the key ends this run
    opt.screenshot = false;
    opt.timeout_seconds = 240;
    opt.prepare = [](const std::filesystem::path& dir) { use_small_window(dir); };
    opt.player = "wait_for 'starting main loop' && sleep 1 && mark escape && press Escape";
    GameRun run = run_game(opt);
    EXPECT_EQ(run.exit_code, 0) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"starting main loop", "input: escape", "SDLGL destructor finished!"}))
        << run.log;
    EXPECT_TRUE(run.sanitizer_report().empty()) << run.log;
    EXPECT_EQ(count_of(run.log, "player: "), 0) << "the player's log is off unless asked for";
}

// The sanitized game may run at 5 frames a second, where every frame is cut to the frame-time
// cap (0.05 game seconds, a 0.1 s physics step) and the game runs slower than the clock: the
// run waits in game seconds, read from the log, and judges what the hover did, not how fast.
TEST(PlayerInput, HoldingUpDrivesTheHoverAlongItsNose)
{
    RunOptions opt;
    opt.frames = 1000000;
    opt.screenshot = false;
    opt.timeout_seconds = 300;
    opt.env = {{"MOORHOLD_LOG_PLAYER", "1"}};
    opt.prepare = [](const std::filesystem::path& dir) { use_small_window(dir, 320, 240); };
    // The first game starts at frame 12; by 3 game seconds the hover has settled on the ground.
    opt.player = "wait_for 'player: 3.' 240 && mark up && hold Up 2 && sleep 1 && mark stop && press Escape";
    GameRun run = run_game(opt);
    ASSERT_EQ(run.exit_code, 0) << run.log;
    EXPECT_TRUE(run.sanitizer_report().empty()) << run.log;

    PlayLog play(run.log);
    ASSERT_GT(play.player.size(), 60u) << run.log;
    // A line every frame: game seconds rise by one frame's time, never more than the cap.
    for (size_t i = 1; i < play.player.size(); ++i) {
        double step = play.player[i].t - play.player[i - 1].t;
        ASSERT_TRUE(step >= 0 && step < 0.0505) << "line " << i << ": " << step;
    }
    const PlayerLine* start = play.before("up");
    const PlayerLine* stop = play.before("stop");
    ASSERT_TRUE(start && stop) << run.log;
    // At 5 frames a second the 2 s are 1 s of physics: about 7 physics units (32 graphics
    // units each); a hover that only bobbed moves a few graphics units.
    double distance = moved(*start, *stop);
    EXPECT_GT(distance, 5 * 32.0);
    double nose = start->heading * kPi / 180.0;
    double along = ((stop->x - start->x) * std::cos(nose) - (stop->z - start->z) * std::sin(nose)) / distance;
    EXPECT_GT(along, std::cos(20 * kPi / 180.0)) << "the hover drove off its nose's line";
}

} // namespace
