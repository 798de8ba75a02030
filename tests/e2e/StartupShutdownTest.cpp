// The game's spine: it starts, runs its frames, shuts down in order, and refuses bad
// configuration with a clear message.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

TEST(StartupShutdown, RunsFramesAndShutsDownInOrder)
{
    GameRun run = run_game(120, {}, [](const std::filesystem::path& dir) { use_test_height_map(dir); }, true);
    ASSERT_TRUE(ran_cleanly(run));
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
}

TEST(StartupShutdown, MissingHeightMapShutsDownInOrderWithStatusZero)
{
    GameRun run = run_game(5, {}, [](const std::filesystem::path& dir) {
        std::ofstream(dir / "config" / "map" / "map1.p") << "filename=.\\media\\no_such_map.hm\n";
    });
    EXPECT_TRUE(refused(run, 0, {}));
    EXPECT_TRUE(appear_in_order(run.log, {"in map-readfile: .\\media\\no_such_map.hm", "error loading hmap!",
                                          "SDLGL destructor called!", "SDLGL destructor finished!"}))
        << run.log;
    EXPECT_EQ(run.log.find("starting main loop"), std::string::npos) << run.log;
}

// A key missing from a settings file is named with its file, and the game ends before the
// part that needs it starts.
TEST(StartupShutdown, AMissingKeyIsNamedWithItsFileBeforeItsPartStarts)
{
    struct Case {
        const char* file;
        const char* key;
        const char* never; // what the game must not have reached
    };
    const Case cases[] = {
        {"objects\\terrain.p", "dynamic_friction", "SDLGL constructor called"},
        {"audio.p", "stereo_spread", "calling fmod"},
        {"levels\\level1.p", "winning_points", "points needed to win"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        GameRun run = run_game(5, {}, [&c](const std::filesystem::path& dir) {
            use_test_height_map(dir);
            std::string file = c.file;
            std::replace(file.begin(), file.end(), '\\', '/');
            remove_key(dir / "config" / file, c.key);
        });
        EXPECT_TRUE(refused(run, 1, {"\"" + std::string(c.key) + "\"", std::string(".\\config\\") + c.file}));
        EXPECT_EQ(run.log.find(c.never), std::string::npos) << run.log;
    }
}

} // namespace
