// What a player does at the keyboard, sent through the X server's own input as a keyboard
// sends it, and what the game does with it.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

namespace {

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
}

} // namespace
