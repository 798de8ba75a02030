// The game's spine: it starts, runs its frames, shuts down in order, and refuses bad
// configuration with a clear message.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupShutdown, RunsFramesAndShutsDownInOrder)
{
    RunOptions opt;
    opt.frames = 120;
    GameRun run = run_game(opt);
    ASSERT_EQ(run.exit_code, 0) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {
        "SDLGL constructor called",
        "setting depth-buffer to 24 bit precision",
        "setup_opengl",
        "GLEW init okay!",
        "INFO: OpenGL 2.0 supported, proceeding",
        "Ready for GLSL",
        "number of texture units (GL_MAX_TEXTURE_UNITS) available: ",
        "\t title_tex w,h on screen !!!!!! ",
        "--- prec mul = ",
        "calling fmod",
        "called fmod",
        "starting main loop",
        "points needed to win: ",
        "SDLGL destructor called!",
        "SDLGL destructor finished!",
    })) << run.log;
    EXPECT_EQ(count_of(run.log, "OpenGL ERROR"), 0) << run.log;
    EXPECT_FALSE(run.screenshot.empty());
}

TEST(StartupShutdown, MissingGraphicsFileEndsWithStatusOne)
{
    RunOptions opt;
    opt.frames = 5;
    opt.screenshot = false;
    opt.prepare = [](const std::filesystem::path& dir) { std::filesystem::remove(dir / "config" / "gfx.p"); };
    GameRun run = run_game(opt);
    EXPECT_EQ(run.exit_code, 1) << run.log;
    EXPECT_NE(run.log.find("Unable to open file: .\\config\\gfx.p"), std::string::npos) << run.log;
    EXPECT_EQ(run.log.find("SDLGL constructor called\nsetting"), std::string::npos) << run.log;
}

TEST(StartupShutdown, MissingKeyNamesFileAndKey)
{
    RunOptions opt;
    opt.frames = 5;
    opt.screenshot = false;
    opt.prepare = [](const std::filesystem::path& dir) { remove_key(dir / "config" / "gfx.p", "screen_height"); };
    GameRun run = run_game(opt);
    EXPECT_NE(run.exit_code, 0) << run.log;
    EXPECT_NE(run.log.find("screen_height"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find(".\\config\\gfx.p"), std::string::npos) << run.log;
}

TEST(StartupShutdown, MissingLevelKeyEndsBeforeTheLoop)
{
    RunOptions opt;
    opt.frames = 5;
    opt.screenshot = false;
    opt.prepare = [](const std::filesystem::path& dir) { remove_key(dir / "config" / "levels" / "level1.p", "winning_points"); };
    GameRun run = run_game(opt);
    EXPECT_NE(run.exit_code, 0) << run.log;
    EXPECT_NE(run.log.find("winning_points"), std::string::npos) << run.log;
    EXPECT_EQ(run.log.find("screenshot written"), std::string::npos) << run.log;
}

} // namespace
