// Sound in the running game: the music starts before the loop, the game plays on without an
// audio device, the sound system goes last at shutdown, and broken sound data or settings end
// the game with the messages a player can act on.
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

// Gives the run directory a small height map and a media/ of its own: the built game's media
// linked entry by entry, and sound/ replaced by test sounds.
void use_test_sounds(const fs::path& run)
{
    use_test_height_map(run);
    fs::path media = run / "media";
    fs::path built = fs::read_symlink(media);
    fs::remove(media);
    fs::create_directory(media);
    for (const auto& entry : fs::directory_iterator(built))
        if (entry.path().filename() != "sound") fs::create_symlink(entry.path(), media / entry.path().filename());
    fs::create_directory(media / "sound");
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(media / "sound" / name, std::ios::binary) << bytes;
    };
    write("tijuana.ogg", wav_bytes(0.5, 330.0)); // short, so the tracks change during a run
    write("Peanuts.ogg", wav_bytes(0.5, 392.0));
    write("bling.wav", wav_bytes(0.2, 880.0));
    write("walum.wav", wav_bytes(0.3, 220.0));
    write("yipiee.wav", wav_bytes(0.4, 660.0));
}

TEST(Audio, MusicStartsBeforeTheLoopAndTheSoundSystemGoesLast)
{
    RunOptions opt;
    opt.frames = 90;
    opt.screenshot = false;
    opt.prepare = [](const fs::path& dir) { use_test_sounds(dir); };
    GameRun run = run_game(opt);
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
    RunOptions opt;
    opt.frames = 30;
    opt.screenshot = false;
    opt.prepare = [](const fs::path& dir) { use_test_sounds(dir); };
    opt.env = {{"SDL_AUDIODRIVER", "no-such-driver"}};
    GameRun run = run_game(opt);
    ASSERT_EQ(run.exit_code, 0) << run.log;
    EXPECT_EQ(count_of(run.log, "No audio device could be opened"), 1) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"Initializing Audio\n", "No audio device could be opened",
                                          "calling fmod\n", "called fmod\n", "starting main loop\n",
                                          "AudioSystem destructor finished!\n"}))
        << run.log;
}

TEST(Audio, MissingMusicEndsWithStatusMinusOneBeforeTheMusicIsCalled)
{
    RunOptions opt;
    opt.frames = 10;
    opt.screenshot = false;
    opt.prepare = [](const fs::path& dir) {
        use_test_sounds(dir);
        fs::remove(dir / "media" / "sound" / "tijuana.ogg");
    };
    GameRun run = run_game(opt);
    EXPECT_EQ(run.exit_code, 255) << run.log;
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"Initializing Audio\n", "Failed to load background music!\n",
                                          "The sound file could not be found or opened.\n"}))
        << run.log;
    EXPECT_EQ(count_of(run.log, "calling fmod"), 0) << run.log;
}

TEST(Audio, AMissingEffectIsReportedAndTheGamePlaysOn)
{
    RunOptions opt;
    opt.frames = 20;
    opt.screenshot = false;
    opt.prepare = [](const fs::path& dir) {
        use_test_sounds(dir);
        fs::remove(dir / "media" / "sound" / "yipiee.wav");
    };
    GameRun run = run_game(opt);
    EXPECT_EQ(run.exit_code, 0) << run.log;
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    EXPECT_EQ(count_of(run.log, "Failed to load Sound ./media/sound/yipiee.wav: "), 1) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"called fmod\n", "AudioSystem destructor finished!\n"})) << run.log;
}

TEST(Audio, AMissingSettingNamesTheKeyAndTheFile)
{
    RunOptions opt;
    opt.frames = 10;
    opt.screenshot = false;
    opt.prepare = [](const fs::path& dir) {
        use_test_sounds(dir);
        remove_key(dir / "config" / "audio.p", "stereo_spread");
    };
    GameRun run = run_game(opt);
    EXPECT_NE(run.exit_code, 0) << run.log;
    EXPECT_EQ(run.sanitizer_report(), "") << run.log;
    EXPECT_NE(run.log.find("\"stereo_spread\""), std::string::npos) << run.log;
    EXPECT_NE(run.log.find(".\\config\\audio.p"), std::string::npos) << run.log;
    EXPECT_EQ(count_of(run.log, "calling fmod"), 0) << run.log;
}

} // namespace
