// Ctrl-C and SIGTERM end the game within a second at any point of its start-up, and once
// the frame loop runs they shut it down in order.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct SignalCase {
    int signal;
    const char* after;  // sent once the log holds this
    bool game_map;      // the game's own large map, whose tiles take seconds to cook
};

TEST(QuitSignal, DuringStartUpEndsTheGameWithinASecond)
{
    const SignalCase cases[] = {
        {SIGINT, "Ready for GLSL", false},                     // the window has just opened
        {SIGTERM, "loading texture .\\media\\noise.jpg", false}, // among the textures
        {SIGINT, "Creating Terrainphysics", true},             // cooking the terrain
    };
    for (const SignalCase& c : cases) {
        RunOptions opt;
        opt.frames = 100000;
        opt.screenshot = false;
        opt.signal = c.signal;
        opt.signal_after = c.after;
        opt.timeout_seconds = 120;
        if (!c.game_map) opt.prepare = [](const std::filesystem::path& dir) { use_test_height_map(dir); };
        GameRun run = run_game(opt);
        EXPECT_EQ(run.exit_code, 128 + c.signal) << c.after << "\n" << run.log;
        EXPECT_GE(run.seconds_after_signal, 0.0) << c.after;
        EXPECT_LT(run.seconds_after_signal, 1.0) << c.after;
        EXPECT_EQ(run.log.find("starting main loop"), std::string::npos) << c.after << "\n" << run.log;
        EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    }
}

TEST(QuitSignal, InTheFrameLoopShutsDownInOrder)
{
    RunOptions opt;
    opt.frames = 100000;
    opt.screenshot = false;
    opt.signal = SIGTERM;
    opt.signal_after = "points needed to win: ";
    opt.timeout_seconds = 120;
    opt.prepare = [](const std::filesystem::path& dir) { use_test_height_map(dir); };
    GameRun run = run_game(opt);
    EXPECT_EQ(run.exit_code, 0) << run.log;
    EXPECT_NE(run.log.find("SDLGL destructor finished!"), std::string::npos) << run.log;
    EXPECT_LT(run.seconds_after_signal, 10.0);
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
}

} // namespace
