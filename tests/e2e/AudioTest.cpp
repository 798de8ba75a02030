// Sound in the running game: the music starts before the loop, the game plays on without an
// audio device, the sound system goes last at shutdown, and broken sound data ends the game
// with the messages a player can act on.
//
// The runs use small sound files of their own, so that they judge the game's handling of
// sound rather than the generated music.
#include "e2e/GameRunner.h"
#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A small height map and test sounds in place of the game's; `missing` is left out.
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

TEST(Audio, MusicStartsBeforeTheLoopAndTheSoundSystemGoesLast)
{
    GameRun run = run_game(90, {}, test_sounds());
    ASSERT_EQ(run.exit_code, 0) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {
        "GFX - hmap exists",
        "Initializing Audio\n",
        "calling fmod\n",
        "called fmod\n",
        "starting main loop\n",
        "SDLGL destructor called!\n",
        "SDLGL destructor finished!\n",
        "AudioSystem destructor finished!\n",
    })) << run.log;
    EXPECT_EQ(count_of(run.log, "Initializing Audio"), 1) << run.log;
    // The last shutdown step, straight after the window object (what static objects report
    // once the program has returned may follow).
    EXPECT_EQ(count_of(run.log, "SDLGL destructor finished!\nAudioSystem destructor finished!\n"), 1) << run.log;
    EXPECT_EQ(count_of(run.log, "No audio device"), 0) << "the silent driver was asked for" << run.log;
    EXPECT_EQ(count_of(run.log, "Failed"), 0) << run.log;
}

TEST(Audio, WithoutAnAudioDeviceTheGamePlaysSilentlyAfterOneMessage)
{
    GameRun run = run_game(30, {{"SDL_AUDIODRIVER", "no-such-driver"}}, test_sounds());
    ASSERT_EQ(run.exit_code, 0) << run.log;
    EXPECT_EQ(count_of(run.log, "No audio device could be opened"), 1) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"Initializing Audio\n", "No audio device could be opened",
                                          "calling fmod\n", "called fmod\n", "starting main loop\n",
                                          "AudioSystem destructor finished!\n"}))
        << run.log;
}

// Missing music ends the game with status -1 before the music is called; a missing effect is
// reported and the game plays on.
TEST(Audio, AMissingTrackEndsTheGameAndAMissingEffectDoesNot)
{
    GameRun music = run_game(10, {}, test_sounds("tijuana.ogg"));
    EXPECT_TRUE(refused(music, 255, {}));
    EXPECT_TRUE(appear_in_order(music.log, {"Initializing Audio\n", "Failed to load background music!\n",
                                            "The sound file could not be found or opened.\n"}))
        << music.log;
    EXPECT_EQ(count_of(music.log, "calling fmod"), 0) << music.log;

    GameRun effect = run_game(20, {}, test_sounds("yipiee.wav"));
    EXPECT_TRUE(refused(effect, 0, {}));
    EXPECT_EQ(count_of(effect.log, "Failed to load Sound ./media/sound/yipiee.wav: "), 1) << effect.log;
    EXPECT_TRUE(appear_in_order(effect.log, {"called fmod\n", "AudioSystem destructor finished!\n"})) << effect.log;
}

} // namespace
