// What a player does at the keyboard, sent through the X server's own input as a keyboard
// sends it, and what the game does with it.
#include "e2e/GameRunner.h"
#include "e2e/PlayLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The sanitized game may run at 5 frames a second, where every frame is cut to the frame-time
// cap (0.05 game seconds, a 0.1 s physics step) and the game runs slower than the clock: the
// run waits in game seconds, read from the log, and judges what the hover did, not how fast.
TEST(PlayerInput, AfterTheStartUpDrivesTheHoverAlongItsNoseAndATapOfLeftTurnsItALittle)
{
    // The first game starts at frame 12; by 3 game seconds the hover has settled on the ground.
    GameRun run = run_game(session("wait_for 'player: 3.' 240 && mark up && hold Up 2 && sleep 2.5 && "
                                   "mark tap && tap Left && sleep 2 && mark done && press Escape",
                                   {{"MOORHOLD_LOG_PLAYER", "1"}, {"MOORHOLD_LOG_STEERING", "1"}}, 320, 240));
    // Escape from the keyboard quits in order with status 0.
    ASSERT_TRUE(ran_cleanly(run, false));
    EXPECT_TRUE(appear_in_order(run.log, {"starting main loop", "input: done", "SDLGL destructor finished!"}))
        << run.log;

    PlayLog play(run.log);
    ASSERT_GT(play.player.size(), 60u) << run.log;
    // A line every frame: game seconds rise by one frame's time, never more than the cap.
    for (size_t i = 1; i < play.player.size(); ++i) {
        double step = play.player[i].t - play.player[i - 1].t;
        ASSERT_TRUE(step >= 0 && step < 0.0505) << "line " << i << ": " << step;
    }
    const PlayerLine *start = play.before("up"), *tap = play.before("tap"), *done = play.before("done");
    ASSERT_TRUE(start && tap && done) << run.log;

    // Up: at 5 frames a second the 2 s are 1 s of physics, about 7 physics units (32 graphics
    // units each); a hover that only bobbed moves a few graphics units.
    EXPECT_GT(play.steered("forward", "up", "tap"), 0.5) << run.log;
    EXPECT_TRUE(drove_along_its_nose(*start, *tap));

    // The tap: a 0.1 s press is 0.2 s of physics while the game keeps 20 frames a second, and
    // then turns the hover 10 to 20 degrees. A slower game cuts each frame to a 0.1 s step and
    // the press falls on one frame or two; a loaded X server may hold it a little longer. For
    // as long as the key acted, the turn grows faster than that time and slower than its
    // square (the turn builds up while the key is held): 10 to 20 degrees at 0.2 s, scaled.
    double held = play.steered("left", "tap", "done");
    double turn = turned(tap, done);
    ASSERT_GT(held, 0.0) << "the tap was lost";
    ASSERT_LE(held, 0.5) << "the tap acted far longer than a 0.1 s press";
    const double r = held / 0.2;
    EXPECT_GE(turn, 10 * std::min(r, r * r)) << held << " s of physics";
    EXPECT_LE(turn, 20 * std::max(r, r * r)) << held << " s of physics";
    std::printf("the tap acted for %.3f s of physics and turned the hover %.1f degrees\n", held, turn);
}

} // namespace
