// Ctrl-C, SIGTERM and SIGHUP (a closed terminal) end the game within a second at any point
// of its start-up, and once the frame loop runs they shut it down in order.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <tuple>

namespace {

// A run of many frames sent `signal` once the log holds `after`; `game_map` keeps the game's
// own large map, whose tiles take seconds to cook.
GameRun signalled(int signal, const char* after, bool game_map = false)
{
    RunOptions opt;
    opt.frames = 100000;
    opt.screenshot = false;
    opt.timeout_seconds = 120;
    opt.signal = signal;
    opt.signal_after = after;
    if (!game_map) opt.prepare = [](const std::filesystem::path& dir) { use_test_height_map(dir); };
    return run_game(opt);
}

TEST(QuitSignal, DuringStartUpEndsTheGameWithinASecond)
{
    // The window has just opened, the textures are loading, the terrain is cooking.
    for (auto [signal, after, game_map] :
         {std::tuple<int, const char*, bool>{SIGINT, "Ready for GLSL", false},
          {SIGTERM, "loading texture .\\media\\noise.jpg", false}, {SIGINT, "Creating Terrainphysics", true}}) {
        SCOPED_TRACE(after);
        GameRun run = signalled(signal, after, game_map);
        EXPECT_EQ(run.exit_code, 128 + signal) << run.log;
        EXPECT_GE(run.seconds_after_signal, 0.0) << run.log;
        EXPECT_LT(run.seconds_after_signal, 1.0) << run.log;
        EXPECT_EQ(run.log.find("starting main loop"), std::string::npos) << run.log;
        EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    }
}

TEST(QuitSignal, InTheFrameLoopShutsDownInOrder)
{
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        GameRun run = signalled(signal, "points needed to win: ");
        EXPECT_EQ(run.exit_code, 0) << run.log;
        EXPECT_NE(run.log.find("SDLGL destructor finished!"), std::string::npos) << run.log;
        EXPECT_LT(run.seconds_after_signal, 10.0);
        EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    }
}

} // namespace
