// The game's spine: it starts, runs its frames, shuts down in order, and refuses bad
// configuration with a clear message.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(StartupShutdown, RunsFramesAndShutsDownInOrder)
{
    RunOptions opt;
    opt.frames = 120;
    opt.prepare = [](const std::filesystem::path& dir) { use_test_height_map(dir); };
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
        "in map-readfile: .\\test_map.hm",
        "\n\tGFX - hmap exists\n\n",
        "create tiles for PHYSX baking!",
        "downsample seems to have worked fine",
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

TEST(StartupShutdown, MissingHeightMapShutsDownInOrderWithStatusZero)
{
    RunOptions opt;
    opt.frames = 5;
    opt.screenshot = false;
    opt.prepare = [](const std::filesystem::path& dir) {
        std::ofstream(dir / "config" / "map" / "map1.p") << "filename=.\\media\\no_such_map.hm\n";
    };
    GameRun run = run_game(opt);
    EXPECT_EQ(run.exit_code, 0) << run.log;
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"in map-readfile: .\\media\\no_such_map.hm", "error loading hmap!",
                                          "SDLGL destructor called!", "SDLGL destructor finished!"}))
        << run.log;
    EXPECT_EQ(run.log.find("starting main loop"), std::string::npos) << run.log;
}

TEST(StartupShutdown, MissingGraphicsFileEndsWithStatusOne)
{
    RunOptions opt;
    opt.frames = 5;
    opt.screenshot = false;
    opt.prepare = [](const std::filesystem::path& dir) { std::filesystem::remove(dir / "config" / "gfx.p"); };
    GameRun run = run_game(opt);
    EXPECT_EQ(run.exit_code, 1) << run.log;
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
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
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    EXPECT_NE(run.log.find("screen_height"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find(".\\config\\gfx.p"), std::string::npos) << run.log;
}

TEST(StartupShutdown, MissingLevelKeyEndsBeforeTheLoop)
{
    RunOptions opt;
    opt.frames = 5;
    opt.screenshot = false;
    opt.prepare = [](const std::filesystem::path& dir) {
        use_test_height_map(dir);
        remove_key(dir / "config" / "levels" / "level1.p", "winning_points");
    };
    GameRun run = run_game(opt);
    EXPECT_NE(run.exit_code, 0) << run.log;
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    EXPECT_NE(run.log.find("winning_points"), std::string::npos) << run.log;
    EXPECT_EQ(run.log.find("screenshot written"), std::string::npos) << run.log;
}

} // namespace
