// The game's spine: it starts, plays its music, runs its frames, shuts down in order (the sound system last), and
// refuses bad configuration or sound data with a clear message.
#include "e2e/GameRunner.h"
#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A small height map and small sounds of its own in place of the game's, so that the runs
// judge the handling of sound rather than the generated music; `missing` is left out.
Prepare test_sounds(const std::string& missing = "")
{
    return [missing](const fs::path& run) {
        use_test_height_map(run);
        const std::pair<const char*, std::string> sounds[] = {
            {"tijuana.ogg", wav_bytes(0.5, 330.0)}, // short, so the tracks change during a run
            {"Peanuts.ogg", wav_bytes(0.5, 392.0)}, {"bling.wav", wav_bytes(0.2, 880.0)},
            {"walum.wav", wav_bytes(0.3, 220.0)},   {"yipiee.wav", wav_bytes(0.4, 660.0)}};
        for (const auto& [name, bytes] : sounds) {
            fs::path file = own_game_file(run, fs::path("media/sound") / name);
            if (name != missing) std::ofstream(file, std::ios::binary) << bytes;
        }
    };
}

TEST(StartupShutdown, StartsWithMusicRunsFramesAndShutsDownInOrder)
{
    GameRun run = run_game(120, {}, test_sounds());
    ASSERT_TRUE(ran_cleanly(run, false));
    // The sound system goes straight after the window object (what static objects report
    // once the program has returned may follow).
    EXPECT_TRUE(appear_in_order(run.log, {"SDLGL constructor called", "GLEW init okay!",
                                          "INFO: OpenGL 2.0 supported, proceeding", "in map-readfile: .\\test_map.hm",
                                          "\n\tGFX - hmap exists\n\n", "Initializing Audio\n", "calling fmod\n",
                                          "called fmod\n", "starting main loop\n", "points needed to win: ",
                                          "SDLGL destructor called!\n",
                                          "SDLGL destructor finished!\nAudioSystem destructor finished!\n"}))
        << run.log;
    EXPECT_EQ(count_of(run.log, "Initializing Audio"), 1) << run.log;
    EXPECT_EQ(count_of(run.log, "No audio device"), 0) << "the silent driver was asked for" << run.log;
    EXPECT_EQ(count_of(run.log, "Failed"), 0) << run.log;
}

TEST(StartupShutdown, WithoutAnAudioDeviceTheGamePlaysSilentlyAfterOneMessage)
{
    GameRun run = run_game(30, {{"SDL_AUDIODRIVER", "no-such-driver"}}, test_sounds());
    ASSERT_EQ(run.exit_code, 0) << run.log;
    EXPECT_EQ(count_of(run.log, "No audio device could be opened"), 1) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"Initializing Audio\n", "No audio device could be opened",
                                          "called fmod\n", "AudioSystem destructor finished!\n"}))
        << run.log;
}

// Missing music ends the game with status -1 before the music is called; a missing effect is
// reported and the game plays on.
TEST(StartupShutdown, AMissingTrackEndsTheGameAndAMissingEffectDoesNot)
{
    GameRun music = run_game(10, {}, test_sounds("tijuana.ogg"));
    EXPECT_TRUE(refused(music, 255, {}));
    EXPECT_TRUE(appear_in_order(music.log, {"Initializing Audio\n", "Failed to load background music!\n",
                                            "The sound file could not be found or opened.\n"}))
        << music.log;
    EXPECT_EQ(count_of(music.log, "calling fmod"), 0) << music.log;

    GameRun effect = run_game(20, {}, test_sounds("yipiee.wav"));
    EXPECT_TRUE(refused(effect, 0, {"Failed to load Sound ./media/sound/yipiee.wav: "}));
    EXPECT_TRUE(appear_in_order(effect.log, {"called fmod\n", "AudioSystem destructor finished!\n"})) << effect.log;
}

TEST(StartupShutdown, MissingHeightMapShutsDownInOrderWithStatusZero)
{
    GameRun run = run_game(5, {}, [](const fs::path& dir) {
        std::ofstream(dir / "config" / "map" / "map1.p") << "filename=.\\media\\no_such_map.hm\n";
    });
    EXPECT_TRUE(refused(run, 0, {}));
    EXPECT_TRUE(appear_in_order(run.log, {"in map-readfile: .\\media\\no_such_map.hm", "error loading hmap!",
                                          "SDLGL destructor finished!"}))
        << run.log;
    EXPECT_EQ(run.log.find("starting main loop"), std::string::npos) << run.log;
}

// A key missing from a settings file is named with its file, and the game ends before the
// part that needs it starts.
TEST(StartupShutdown, AMissingKeyIsNamedWithItsFileBeforeItsPartStarts)
{
    const struct {
        const char *file, *key, *never; // never: what the game must not have reached
    } cases[] = {{"objects\\terrain.p", "dynamic_friction", "SDLGL constructor called"},
                 {"audio.p", "stereo_spread", "calling fmod"},
                 {"levels\\level1.p", "winning_points", "points needed to win"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        GameRun run = run_game(5, {}, [&c](const fs::path& dir) {
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
