// The audio system: its settings, the background tracks taking turns, the effects and their
// loudness, and every way its start can fail. Each test runs in a fresh directory holding
// '.\config\audio.p' and small sound files, on SDL's silent driver.
#include "Audio/AudioSystem.h"
#include "Common/ParameterFile.h"
#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

bool wait_until_ended(FMOD::Channel* channel)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        bool playing = true;
        channel->isPlaying(&playing);
        if (!playing) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The parameter text with the line of `key` dropped, or its value replaced.
std::string edit_key(const std::string& text, const std::string& key, const std::string* value)
{
    std::string out, line;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        line = text.substr(start, end - start);
        start = end + 1;
        if (line.compare(0, key.size() + 1, key + "=") == 0) {
            if (!value) continue;
            line = key + "=" + *value;
        }
        out += line + "\n";
    }
    return out;
}

std::string without_line(const std::string& text, const std::string& key)
{
    return edit_key(text, key, nullptr);
}

std::string with_value(const std::string& text, const std::string& key, const std::string& value)
{
    return edit_key(text, key, &value);
}

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

    std::unique_ptr<AudioSystem> make(double track0 = 30.0, double track1 = 30.0,
                                      const std::string& config = audio_config_text())
    {
        write_sound_set(dir, track0, track1, config);
        return std::make_unique<AudioSystem>();
    }

    FMOD::Sound* playing_track(const AudioSystem& a) const { return a.system->current_music; }

    TempDir dir;
    std::filesystem::path previous;
};

// ---- construction ----

TEST_F(AudioSystemTest, ReadsItsSettingsAndLoadsTwoTracksAndThreeEffects)
{
    write_sound_set(dir);
    testing::internal::CaptureStderr();
    auto a = std::make_unique<AudioSystem>();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Initializing Audio\n");

    EXPECT_FLOAT_EQ(a->stereo_spread, 0.5f);
    EXPECT_FLOAT_EQ(a->min_distance, 10.0f);
    EXPECT_FLOAT_EQ(a->max_distance, 5000.0f);
    EXPECT_FLOAT_EQ(a->fake_max_distance, 100.0f);
    EXPECT_FLOAT_EQ(a->background_volume, 0.4f);
    EXPECT_FLOAT_EQ(a->effect_volume, 0.5f);
    EXPECT_EQ(a->channels, 8);
    EXPECT_EQ(a->background_index, -1);
    EXPECT_EQ(a->background_channel, nullptr);

    FMOD::System& s = *a->system;
    EXPECT_EQ(s.max_channels, 8);
    EXPECT_EQ(s.init_flags, FMOD_INIT_3D_RIGHTHANDED);
    EXPECT_FLOAT_EQ(s.doppler_scale, 1.0f);

    ASSERT_EQ(a->backgrounds.size(), 2u);
    EXPECT_EQ(a->backgrounds[0]->path, "./media/sound/tijuana.ogg");
    EXPECT_EQ(a->backgrounds[1]->path, "./media/sound/Peanuts.ogg");
    for (FMOD::Sound* t : a->backgrounds) {
        EXPECT_TRUE(t->stream);
        EXPECT_EQ(t->mode, 0x29u);
    }

    const char* names[] = {"collect", "vanished", "yipiee"};
    const char* paths[] = {"./media/sound/bling.wav", "./media/sound/walum.wav", "./media/sound/yipiee.wav"};
    ASSERT_EQ(a->effects.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(a->effects[i].name, names[i]);
        EXPECT_EQ(a->effects[i].sound->path, paths[i]);
        EXPECT_FALSE(a->effects[i].sound->stream);
        EXPECT_EQ(a->effects[i].sound->mode, 0x29u);
        EXPECT_FLOAT_EQ(a->effects[i].sound->min_distance, 10.0f);
        EXPECT_FLOAT_EQ(a->effects[i].sound->max_distance, 5000.0f);
    }
    EXPECT_EQ(s.plays, 0u) << "nothing plays before the main program asks";
}

class AudioMissingKey : public AudioSystemTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AudioMissingKey, EndsConstructionNamingTheKey)
{
    write_sound_set(dir, 30, 30, without_line(audio_config_text(), GetParam()));
    EXPECT_THROW(audio_system(), BadValueException);
    EXPECT_EQ(last_bad_value().key, GetParam());
    EXPECT_EQ(last_bad_value().file, ".\\config\\audio.p");
    EXPECT_EQ(the_audio_system, nullptr);

    // Nothing was left open: a complete file works straight after.
    write_sound_set(dir);
    EXPECT_NE(audio_system(), nullptr);
}

// Even keys whose values change nothing must be present.
INSTANTIATE_TEST_SUITE_P(Keys, AudioMissingKey,
                         ::testing::Values("stereo_spread", "backgroundFile", "numberOfChannels",
                                           "fakeMaxDistance", "backgroundVolume", "effectVolume"));

TEST_F(AudioSystemTest, MissingMusicFileEndsWithMinusOne)
{
    write_sound_set(dir);
    std::filesystem::remove(dir.path / "media/sound/Peanuts.ogg");
    EXPECT_EXIT(AudioSystem(), ::testing::ExitedWithCode(255),
                "Failed to load background music!\nThe sound file could not be found or opened.\n");
}

TEST_F(AudioSystemTest, UndecodableMusicEndsWithMinusOne)
{
    write_sound_set(dir);
    dir.write("media/sound/tijuana.ogg", "not music");
    EXPECT_EXIT(AudioSystem(), ::testing::ExitedWithCode(255), "Failed to load background music!\n");
}

TEST_F(AudioSystemTest, ImpossibleChannelCountEndsWithMinusOne)
{
    write_sound_set(dir, 30, 30, with_value(audio_config_text(), "numberOfChannels", "0"));
    EXPECT_EXIT(AudioSystem(), ::testing::ExitedWithCode(255),
                "Failed to init FMOD sound system - exiting!\nA parameter is out of range");
}

TEST_F(AudioSystemTest, ImpossibleDistanceRangeEndsWithMinusOne)
{
    write_sound_set(dir, 30, 30, with_value(audio_config_text(), "maxDistance", "1.0"));
    EXPECT_EXIT(AudioSystem(), ::testing::ExitedWithCode(255), "Failed to set min/max distance - exiting!\n");
}

TEST_F(AudioSystemTest, ImpossibleThreeDSettingsEndWithMinusOne)
{
    write_sound_set(dir, 30, 30, with_value(audio_config_text(), "distancefactor", "0"));
    EXPECT_EXIT(AudioSystem(), ::testing::ExitedWithCode(255), "Failed to set 3D settings - exiting!\n");
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
    EXPECT_EQ(a->effects[0].name, "collect");
    EXPECT_EQ(a->effects[1].name, "yipiee");
    const float here[3] = {0, 0, 0};
    EXPECT_EQ(a->play_effect("vanished", here), nullptr);
    EXPECT_EQ(a->system->plays, 0u);
    EXPECT_NE(a->play_effect("yipiee", here), nullptr);
}

// ---- background music ----

TEST_F(AudioSystemTest, TracksAlternateStartingWithTheFirst)
{
    auto a = make();
    for (int expected : {0, 1, 0, 1}) {
        a->play_next_background();
        EXPECT_EQ(a->background_index, expected);
        ASSERT_NE(a->background_channel, nullptr);
        EXPECT_EQ(a->background_channel->sound, a->backgrounds[static_cast<size_t>(expected)]);
        EXPECT_EQ(playing_track(*a), a->backgrounds[static_cast<size_t>(expected)]);
        EXPECT_TRUE(a->background_channel->started) << "the track must be unpaused";
        EXPECT_FLOAT_EQ(a->background_channel->volume, 0.4f);
        bool playing = false;
        a->background_channel->isPlaying(&playing);
        EXPECT_TRUE(playing);
    }
}

TEST_F(AudioSystemTest, AnEndedTrackIsFollowedByTheOtherAtTheNextListenerUpdate)
{
    auto a = make(0.1, 30.0);
    const float pos[3] = {0, 0, 0}, up[3] = {0, 1, 0}, fwd[3] = {0, 0, 1};
    a->play_next_background();
    a->update_listener(pos, up, fwd);
    EXPECT_EQ(a->background_index, 0) << "a playing track is left alone";

    ASSERT_TRUE(wait_until_ended(a->background_channel));
    EXPECT_EQ(a->background_index, 0) << "nothing changes between frames";
    a->update_listener(pos, up, fwd);
    EXPECT_EQ(a->background_index, 1);
    EXPECT_EQ(playing_track(*a), a->backgrounds[1]);
    EXPECT_TRUE(a->background_channel->started);
    EXPECT_FLOAT_EQ(a->background_channel->volume, 0.4f);
    EXPECT_EQ(a->background_channel->mixer_volume, 51);

    // And round again: the music never stops.
    a->background_channel->stop();
    a->update_listener(pos, up, fwd);
    EXPECT_EQ(a->background_index, 0);
    EXPECT_EQ(playing_track(*a), a->backgrounds[0]);
}

TEST_F(AudioSystemTest, ListenerUpdateBeforeAnyTrackStartsTheFirst)
{
    auto a = make();
    const float pos[3] = {0, 0, 0}, up[3] = {0, 1, 0}, fwd[3] = {0, 0, 1};
    a->update_listener(pos, up, fwd);
    EXPECT_EQ(a->background_index, 0);
    EXPECT_EQ(playing_track(*a), a->backgrounds[0]);
}

TEST_F(AudioSystemTest, ListenerFollowsTheCameraWithoutVelocity)
{
    auto a = make();
    a->play_next_background();
    const float pos[3] = {10, 230, -5}, up[3] = {0, 0.6f, 0.8f}, fwd[3] = {0, -0.8f, 0.6f};
    a->update_listener(pos, up, fwd);
    const FMOD::System& s = *a->system;
    EXPECT_FLOAT_EQ(a->listener_position[0], 10);
    EXPECT_FLOAT_EQ(a->listener_position[1], 230);
    EXPECT_FLOAT_EQ(a->listener_position[2], -5);
    EXPECT_FLOAT_EQ(s.listener_position.y, 230);
    EXPECT_FLOAT_EQ(s.listener_up.z, 0.8f);
    EXPECT_FLOAT_EQ(s.listener_forward.y, -0.8f);
    EXPECT_FLOAT_EQ(s.listener_velocity.x + s.listener_velocity.y + s.listener_velocity.z, 0.0f);
    EXPECT_EQ(s.updates, 1u);
    a->update_listener(pos, up, fwd);
    EXPECT_EQ(s.updates, 2u);
}

// ---- effects ----

TEST(EffectLoudness, TwiceTheDistanceIsAQuarterOfTheVolume)
{
    const float listener[3] = {3, -2, 7};
    for (float d : {20.0f, 35.5f, 200.0f}) {
        const float near[3] = {3 + d * 0.6f, -2, 7 + d * 0.8f};
        const float far[3] = {3 + 2 * d * 0.6f, -2, 7 + 2 * d * 0.8f};
        float v1 = effect_loudness(100.0f, 0.5f, listener, near);
        float v2 = effect_loudness(100.0f, 0.5f, listener, far);
        EXPECT_NEAR(v1, 50.0f / (d * d), 1e-6f) << d;
        EXPECT_NEAR(v2, v1 / 4.0f, 1e-6f) << d;
    }
}

TEST(EffectLoudness, EveryAxisCounts)
{
    const float listener[3] = {0, 0, 0};
    const float p[3] = {10, 20, 20}; // squared distance 900
    EXPECT_NEAR(effect_loudness(900.0f, 0.5f, listener, p), 0.5f, 1e-6f);
}

TEST(EffectLoudness, NearerThanFullVolumeAndAtZeroDistancePlaysAtOne)
{
    const float listener[3] = {1, 2, 3};
    const float close[3] = {1, 2, 4}; // law gives 50, more than the mixer can play
    EXPECT_FLOAT_EQ(effect_loudness(100.0f, 0.5f, listener, close), 1.0f);
    EXPECT_FLOAT_EQ(effect_loudness(100.0f, 0.5f, listener, listener), 1.0f);
    const float edge[3] = {1, 2, 3 + std::sqrt(50.0f)};
    EXPECT_NEAR(effect_loudness(100.0f, 0.5f, listener, edge), 1.0f, 1e-5f);
}

TEST(EffectLoudness, AZeroNumeratorSilencesEvenAtZeroDistance)
{
    const float p[3] = {0, 0, 0};
    const float q[3] = {5, 0, 0};
    EXPECT_FLOAT_EQ(effect_loudness(100.0f, 0.0f, p, p), 0.0f);
    EXPECT_FLOAT_EQ(effect_loudness(0.0f, 0.5f, p, q), 0.0f);
    EXPECT_FLOAT_EQ(effect_loudness(-100.0f, 0.5f, p, q), 0.0f);
}

TEST_F(AudioSystemTest, AnEffectPlaysAtTheLoudnessOfItsDistanceToTheListener)
{
    auto a = make();
    const float pos[3] = {10, 0, 0}, up[3] = {0, 1, 0}, fwd[3] = {0, 0, 1};
    a->update_listener(pos, up, fwd);

    const float at20[3] = {10, 0, 20}, at40[3] = {10, 0, 40};
    FMOD::Channel* c1 = a->play_effect("collect", at20);
    ASSERT_NE(c1, nullptr);
    EXPECT_EQ(c1->sound, a->effects[0].sound);
    EXPECT_TRUE(c1->started);
    EXPECT_FLOAT_EQ(c1->volume, 100.0f * 0.5f / 400.0f);

    FMOD::Channel* c2 = a->play_effect("collect", at40);
    ASSERT_NE(c2, nullptr);
    EXPECT_NE(c2, c1) << "overlapping effects take channels of their own";
    EXPECT_FLOAT_EQ(c2->volume, c1->volume / 4.0f);

    FMOD::Channel* c3 = a->play_effect("vanished", pos);
    ASSERT_NE(c3, nullptr);
    EXPECT_EQ(c3->sound, a->effects[1].sound);
    EXPECT_FLOAT_EQ(c3->volume, 1.0f);
    EXPECT_EQ(c3->mixer_volume, 128);
}

TEST_F(AudioSystemTest, AnUnknownEffectPlaysNothingAndSaysNothing)
{
    auto a = make();
    const float here[3] = {0, 0, 0};
    unsigned long before = a->system->plays;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(a->play_effect("Collect", here), nullptr);
    EXPECT_EQ(a->play_effect("collect ", here), nullptr);
    EXPECT_EQ(a->play_effect("", here), nullptr);
    EXPECT_EQ(a->play_effect(nullptr, here), nullptr);
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    EXPECT_EQ(a->system->plays, before);
}

// ---- the accessor and the call gameplay makes ----

TEST_F(AudioSystemTest, TheAccessorCreatesOneSystemOnFirstUseAndDeletingClearsIt)
{
    write_sound_set(dir);
    EXPECT_EQ(the_audio_system, nullptr);
    AudioSystem* a = audio_system();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(audio_system(), a);
    EXPECT_EQ(the_audio_system, a);

    const float at[3] = {0, 0, 5};
    play_effect("yipiee", at);
    EXPECT_EQ(a->system->plays, 1u);
    EXPECT_EQ(a->system->last_played->sound, a->effects[2].sound);

    testing::internal::CaptureStdout();
    delete the_audio_system;
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(the_audio_system, nullptr);
    EXPECT_EQ(out, "AudioSystem destructor finished!\n");
}

} // namespace
