// The audio system: its settings, the tracks taking turns, the effects' loudness and every way
// its start can fail. Each test runs in a fresh directory with small sound files, silently.
#include "Audio/AudioSystem.h"
#include "Common/ParameterFile.h"
#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

// The parameter text with the line of `key` dropped (`value` null), or its value replaced.
std::string edited(const std::string& key, const char* value)
{
    std::string text = audio_config_text();
    size_t at = text.find(key + "="), end = text.find('\n', at);
    return text.substr(0, at) + (value ? key + "=" + value + "\n" : "") + text.substr(end + 1);
}

const float kOrigin[3] = {0, 0, 0}, kUp[3] = {0, 1, 0}, kForward[3] = {0, 0, 1};

class AudioSystemTest : public ::testing::Test {
protected:
    AudioSystemTest() : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir.path);
        // Death tests start the program anew; that is the safe way with an audio thread.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    ~AudioSystemTest() override
    {
        delete the_audio_system;
        std::filesystem::current_path(previous);
    }

    std::unique_ptr<AudioSystem> make(double track0 = 30.0, double track1 = 30.0)
    {
        write_sound_set(dir, track0, track1);
        return std::make_unique<AudioSystem>();
    }

    // The track is the music, unpaused and playing at the background volume.
    void expect_playing(const AudioSystem& a, int index)
    {
        EXPECT_EQ(a.background_index, index);
        ASSERT_NE(a.background_channel, nullptr);
        EXPECT_EQ(a.system->current_music, a.backgrounds[static_cast<size_t>(index)]);
        EXPECT_TRUE(a.background_channel->started) << "the track must be unpaused";
        EXPECT_FLOAT_EQ(a.background_channel->volume, 0.4f);
        bool playing = false;
        a.background_channel->isPlaying(&playing);
        EXPECT_TRUE(playing);
    }

    TempDir dir;
    std::filesystem::path previous;
};

TEST_F(AudioSystemTest, ReadsItsSettingsAndLoadsTwoTracksAndThreeEffects)
{
    auto a = make();
    EXPECT_EQ((std::vector<float>{a->stereo_spread, a->min_distance, a->max_distance, a->fake_max_distance,
                                  a->background_volume, a->effect_volume}),
              (std::vector<float>{0.5f, 10, 5000, 100, 0.4f, 0.5f}));
    EXPECT_EQ(a->background_channel, nullptr);
    FMOD::System& s = *a->system;
    EXPECT_EQ(s.max_channels, 8);
    EXPECT_EQ(s.init_flags, FMOD_INIT_3D_RIGHTHANDED);

    // Every sound in the mode 0x29 (no loop, 2-D, hardware), the tracks streamed, the effects
    // heard from their distances.
    auto describe = [](const FMOD::Sound* sound) {
        return sound->path + (sound->stream ? " stream " : " ") + std::to_string(sound->mode);
    };
    std::vector<std::string> sounds;
    for (FMOD::Sound* t : a->backgrounds) sounds.push_back(describe(t));
    for (const auto& e : a->effects)
        sounds.push_back(e.name + ": " + describe(e.sound) + " " + std::to_string(int(e.sound->min_distance)) + "-" +
                         std::to_string(int(e.sound->max_distance)));
    EXPECT_EQ(sounds, (std::vector<std::string>{
                          "./media/sound/tijuana.ogg stream 41", "./media/sound/Peanuts.ogg stream 41",
                          "collect: ./media/sound/bling.wav 41 10-5000", "vanished: ./media/sound/walum.wav 41 10-5000",
                          "yipiee: ./media/sound/yipiee.wav 41 10-5000"}));
    EXPECT_EQ(s.plays, 0u) << "nothing plays before the main program asks";
}

// Even keys whose values change nothing must be present.
TEST_F(AudioSystemTest, AMissingKeyEndsConstructionNamingItAndLeavesNothingOpen)
{
    for (const char* key : {"stereo_spread", "backgroundFile", "numberOfChannels"}) {
        write_sound_set(dir, 30, 30, edited(key, nullptr));
        EXPECT_THROW(audio_system(), BadValueException) << key;
        EXPECT_EQ(last_bad_value().key, key);
        EXPECT_EQ(last_bad_value().file, ".\\config\\audio.p");
        EXPECT_EQ(the_audio_system, nullptr);
    }
    write_sound_set(dir);
    EXPECT_NE(audio_system(), nullptr);
}

TEST_F(AudioSystemTest, WhatCannotBeSetUpEndsTheProgramWithMinusOne)
{
    struct Case {
        const char* key; // a setting given `value`, or else the music file `file` with `contents`
        const char* value;
        const char* file;
        const char* contents; // null: the file is missing
        const char* message;
    } cases[] = {
        {nullptr, nullptr, "Peanuts.ogg", nullptr,
         "Failed to load background music!\nThe sound file could not be found or opened.\n"},
        {nullptr, nullptr, "tijuana.ogg", "not music", "Failed to load background music!\n"},
        {"numberOfChannels", "0", nullptr, nullptr,
         "Failed to init FMOD sound system - exiting!\nA parameter is out of range"},
        {"maxDistance", "1.0", nullptr, nullptr, "Failed to set min/max distance - exiting!\n"},
        {"distancefactor", "0", nullptr, nullptr, "Failed to set 3D settings - exiting!\n"},
    };
    for (const Case& c : cases) {
        write_sound_set(dir, 30, 30, c.key ? edited(c.key, c.value) : audio_config_text());
        const std::string music = std::string("media/sound/") + (c.file ? c.file : "");
        if (c.file && c.contents) dir.write(music, c.contents);
        if (c.file && !c.contents) std::filesystem::remove(dir.path / music);
        EXPECT_EXIT(AudioSystem(), ::testing::ExitedWithCode(255), c.message) << c.message;
    }
}

TEST_F(AudioSystemTest, AnEffectThatFailsToLoadIsLeftOutAndTheRestWork)
{
    write_sound_set(dir);
    std::filesystem::remove(dir.path / "media/sound/walum.wav");
    testing::internal::CaptureStderr();
    auto a = std::make_unique<AudioSystem>();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Failed to load Sound ./media/sound/walum.wav: The sound file could not be found or opened.\n"),
              std::string::npos)
        << err;
    ASSERT_EQ(a->effects.size(), 2u);
    EXPECT_EQ(a->effects[1].name, "yipiee");
    EXPECT_EQ(a->play_effect("vanished", kOrigin), nullptr);
    EXPECT_NE(a->play_effect("yipiee", kOrigin), nullptr);
}

// The first listener update starts the first track; an ended track is followed by the other.
TEST_F(AudioSystemTest, TracksTakeTurnsAtTheListenerUpdateAfterOneEnds)
{
    auto a = make(0.1, 30.0);
    a->update_listener(kOrigin, kUp, kForward);
    expect_playing(*a, 0);
    ASSERT_TRUE(wait_until_ended(a->background_channel));
    EXPECT_EQ(a->background_index, 0) << "nothing changes between frames";
    a->update_listener(kOrigin, kUp, kForward);
    expect_playing(*a, 1);
    a->update_listener(kOrigin, kUp, kForward);
    EXPECT_EQ(a->background_index, 1) << "a playing track is left alone";
    a->background_channel->stop();
    a->update_listener(kOrigin, kUp, kForward);
    expect_playing(*a, 0);
}

TEST(EffectLoudness, FallsWithTheSquareOfTheDistanceAndPlaysAtMostAtOne)
{
    struct Case {
        float numerator_distance, volume; // fake max distance, effect volume
        float listener[3], at[3];
        float expected;
    } cases[] = {
        // 50 over the squared distance: twice as far is a quarter as loud; every axis counts.
        {100, 0.5f, {3, -2, 7}, {3 + 12, -2, 7 + 16}, 50.0f / 400},
        {100, 0.5f, {3, -2, 7}, {3 + 24, -2, 7 + 32}, 50.0f / 1600},
        {900, 0.5f, {0, 0, 0}, {10, 20, 20}, 0.5f},
        // Nearer than full volume, and at no distance at all, the mixer plays at one.
        {100, 0.5f, {1, 2, 3}, {1, 2, 4}, 1},
        {100, 0.5f, {1, 2, 3}, {1, 2, 3}, 1},
        {100, 0.5f, {1, 2, 3}, {1, 2, 3 + std::sqrt(50.0f)}, 1},
        // A zero or negative numerator silences, even at no distance.
        {100, 0, {0, 0, 0}, {0, 0, 0}, 0},
        {-100, 0.5f, {0, 0, 0}, {5, 0, 0}, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(effect_loudness(c.numerator_distance, c.volume, c.listener, c.at), c.expected, 1e-6f)
            << c.numerator_distance << " " << c.volume << " to " << c.at[0] << " " << c.at[1] << " " << c.at[2];
}

TEST_F(AudioSystemTest, TheListenerFollowsTheCameraAndEffectsPlayAtTheLoudnessOfTheirDistanceToIt)
{
    auto a = make();
    const float pos[3] = {10, 230, -5}, up[3] = {0, 0.6f, 0.8f}, fwd[3] = {0, -0.8f, 0.6f};
    a->update_listener(pos, up, fwd);
    const FMOD::System& s = *a->system;
    EXPECT_FLOAT_EQ(s.listener_position.y, 230);
    EXPECT_FLOAT_EQ(s.listener_up.z, 0.8f);
    EXPECT_FLOAT_EQ(s.listener_forward.y, -0.8f);
    EXPECT_FLOAT_EQ(s.listener_velocity.x + s.listener_velocity.y + s.listener_velocity.z, 0.0f) << "no velocity";
    EXPECT_EQ(s.updates, 1u);

    const float at20[3] = {10, 230, 15};
    FMOD::Channel* c1 = a->play_effect("collect", at20);
    ASSERT_NE(c1, nullptr);
    EXPECT_EQ(c1->sound, a->effects[0].sound);
    EXPECT_TRUE(c1->started);
    EXPECT_FLOAT_EQ(c1->volume, 100.0f * 0.5f / 400.0f);
    FMOD::Channel* c3 = a->play_effect("vanished", pos);
    ASSERT_NE(c3, nullptr);
    EXPECT_EQ(c3->sound, a->effects[1].sound);
    EXPECT_FLOAT_EQ(c3->volume, 1.0f);
}

TEST_F(AudioSystemTest, TheAccessorCreatesOneSystemOnFirstUseUnknownEffectsPlayNothingAndDeletingClears)
{
    write_sound_set(dir);
    AudioSystem* a = audio_system();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(audio_system(), a);
    EXPECT_EQ(the_audio_system, a);

    const float at[3] = {0, 0, 5};
    play_effect("yipiee", at);
    EXPECT_EQ(a->system->plays, 1u);
    EXPECT_EQ(a->system->last_played->sound, a->effects[2].sound);
    for (const char* name : {"Collect", "collect ", static_cast<const char*>(nullptr)}) {
        play_effect(name, at);
        EXPECT_EQ(a->play_effect(name, at), nullptr) << (name ? name : "null");
    }
    EXPECT_EQ(a->system->plays, 1u) << "unknown effects play nothing";
    delete the_audio_system;
    EXPECT_EQ(the_audio_system, nullptr);
}

} // namespace
