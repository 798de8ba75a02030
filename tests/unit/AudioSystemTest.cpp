// The sound layer on SDL_mixer and the audio system on it, all on SDL's silent driver.
#include "Audio/AudioSystem.h"
#include "Audio/SoundLayer.h"
#include "Common/ParameterFile.h"
#include "Console.h"
#include "GameDir.h"
#include "SoundFiles.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

namespace {

const FMOD_MODE kEffectMode = FMOD_LOOP_OFF | FMOD_2D | FMOD_HARDWARE;

class SoundLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
        ASSERT_EQ(system->init(4, FMOD_INIT_3D_RIGHTHANDED, nullptr), FMOD_OK);
    }

    void TearDown() override { if (system) system->release(); }

    FMOD::Sound* sound(double seconds, bool stream = false)
    {
        std::string path = dir.write("sound" + std::to_string(++files) + (stream ? ".ogg" : ".wav"), wav_bytes(seconds));
        FMOD::Sound* s = nullptr;
        EXPECT_EQ(stream ? system->createStream(path.c_str(), kEffectMode, nullptr, &s)
                         : system->createSound(path.c_str(), kEffectMode, nullptr, &s),
                  FMOD_OK);
        return s;
    }

    FMOD::Channel* play(FMOD::Sound* s, bool paused = false)
    {
        FMOD::Channel* c = nullptr;
        EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, s, paused, &c), FMOD_OK);
        return c;
    }

    TempDir dir;
    FMOD::System* system = nullptr;
    int files = 0;
};

TEST_F(SoundLayerTest, InitOpensTheMixerOnceWithTheChannelsAskedAndReleaseAfterSdlHasQuitIsSafe)
{
    EXPECT_EQ(system->driver, "dummy");
    EXPECT_EQ(Mix_AllocateChannels(-1), 4);
    EXPECT_EQ(system->init(4, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INITIALIZED);
    // SDL_mixer is one global mixer: a second system cannot take it over.
    FMOD::System* other = nullptr;
    ASSERT_EQ(FMOD_System_Create(&other), FMOD_OK);
    EXPECT_EQ(other->init(4, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INITIALIZED);
    other->release();
    EXPECT_EQ(Mix_AllocateChannels(-1), 4) << "releasing the refused system must leave the mixer open";
    // The game ends SDL (with the window) before it deletes the sound system: that is safe, and sound works again.
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound(5.0, true), false, nullptr), FMOD_OK);
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound(5.0), false, nullptr), FMOD_OK);
    SDL_Quit();
    EXPECT_EQ(system->release(), FMOD_OK);
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    EXPECT_EQ(system->init(2, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
}

TEST(SoundLayerInit, RefusesCallsBeforeInitAndBadChannelCountsAndReleaseClosesTheAudio)
{
    FMOD::System* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    FMOD::Sound* s = reinterpret_cast<FMOD::Sound*>(1);
    EXPECT_EQ(system->createSound("x.wav", FMOD_DEFAULT, nullptr, &s), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(system->set3DSettings(1, 1, 1), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(system->update(), FMOD_ERR_UNINITIALIZED);
    for (int channels : {0, 100000}) EXPECT_EQ(system->init(channels, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    // The fall-back to silence without a device is judged in the game (StartupShutdownTest).
    ASSERT_EQ(system->init(8, FMOD_INIT_3D_RIGHTHANDED, nullptr), FMOD_OK);
    system->release();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "release closes the audio subsystem it opened";
}

TEST_F(SoundLayerTest, LoadTellsAMissingFileFromOneThatCannotBeDecodedAndRefusesContradictoryModes)
{
    FMOD::Sound* s = reinterpret_cast<FMOD::Sound*>(1);
    EXPECT_EQ(system->createSound(dir.file("none.wav").c_str(), FMOD_LOOP_OFF, nullptr, &s), FMOD_ERR_FILE_NOTFOUND);
    std::string junk = dir.write("junk.wav", "this is no sound at all, only words");
    EXPECT_EQ(system->createSound(junk.c_str(), FMOD_LOOP_OFF, nullptr, &s), FMOD_ERR_FORMAT);
    std::string empty = dir.write("empty.ogg", "");
    EXPECT_EQ(system->createStream(empty.c_str(), FMOD_LOOP_OFF, nullptr, &s), FMOD_ERR_FORMAT);
    EXPECT_EQ(s, nullptr);
    EXPECT_TRUE(system->sounds.empty());
    std::string path = dir.write("m.wav", wav_bytes(0.1));
    for (FMOD_MODE bad : std::initializer_list<FMOD_MODE>{FMOD_LOOP_OFF | FMOD_LOOP_NORMAL, FMOD_2D | FMOD_3D, 0x4000})
        EXPECT_EQ(system->createSound(path.c_str(), bad, nullptr, &s), FMOD_ERR_INVALID_PARAM) << bad;
}

TEST_F(SoundLayerTest, APausedStartWaitsForUnpauseAndVolumeIsClampedToZeroToOneOnTheMixer)
{
    FMOD::Channel* c = play(sound(2.0), true);
    ASSERT_NE(c, nullptr);
    bool playing = false;
    c->isPlaying(&playing);
    EXPECT_TRUE(playing) << "a paused channel counts as playing";
    EXPECT_FALSE(c->started);
    EXPECT_EQ(Mix_Playing(c->index), 0) << "nothing may sound before the volume is set";
    EXPECT_FLOAT_EQ(c->volume, 1.0f) << "a new channel starts at full volume";
    // The volume given, the one kept, and the mixer's.
    for (auto [given, kept, mixer] :
         {std::tuple{1.7f, 1.0f, 128}, {-0.3f, 0.0f, 0}, {NAN, 0.0f, 0}, {0.25f, 0.25f, 32}}) {
        ASSERT_EQ(c->setVolume(given), FMOD_OK);
        float v = -1;
        c->getVolume(&v);
        EXPECT_FLOAT_EQ(v, kept) << given;
        EXPECT_EQ(Mix_Volume(c->index, -1), mixer) << given;
    }
    ASSERT_EQ(c->setPaused(false), FMOD_OK);
    EXPECT_TRUE(c->started);
    EXPECT_EQ(Mix_Playing(c->index), 1);
    ASSERT_EQ(c->setPaused(true), FMOD_OK);
    EXPECT_EQ(Mix_Paused(c->index), 1);
    ASSERT_EQ(c->setPaused(false), FMOD_OK);
    EXPECT_EQ(Mix_Paused(c->index), 0);
}

TEST_F(SoundLayerTest, OverlappingEffectsTakeChannelsOfTheirOwnTheOldestIsStolenWhenFullAndAnEndedOneFreesIts)
{
    FMOD::Sound* s = sound(3.0);
    std::set<int> used;
    FMOD::Channel* first = play(s);
    used.insert(first->index);
    for (int i = 1; i < 4; ++i) used.insert(play(s)->index);
    EXPECT_EQ(used.size(), 4u);
    FMOD::Sound* other = sound(3.0);
    FMOD::Channel* c = play(other);
    EXPECT_EQ(c, first) << "the voice started longest ago makes room";
    EXPECT_EQ(Mix_GetChunk(c->index), other->chunk);
    // An ended sound frees its channel, taken before any is stolen.
    c = play(sound(0.05));
    const int index = c->index;
    ASSERT_TRUE(wait_until_ended(c));
    ASSERT_EQ(system->update(), FMOD_OK);
    EXPECT_EQ(c->sound, nullptr);
    EXPECT_EQ(c->setVolume(0.5f), FMOD_ERR_INVALID_HANDLE) << "an ended channel is no longer a handle";
    EXPECT_EQ(play(sound(1.0))->index, index) << "its voice is the first free one again";
}

TEST_F(SoundLayerTest, StreamsPlayOneAtATimeOnTheMusicChannel)
{
    FMOD::Sound* a = sound(3.0, true);
    FMOD::Sound* b = sound(0.1, true);
    FMOD::Channel* ca = play(a, true);
    EXPECT_EQ(ca, &system->music_channel);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    ASSERT_EQ(ca->setVolume(0.5f), FMOD_OK);
    ASSERT_EQ(ca->setPaused(false), FMOD_OK);
    EXPECT_EQ(Mix_VolumeMusic(-1), 64);
    EXPECT_EQ(system->current_music, a);
    FMOD::Channel* cb = play(b);
    EXPECT_EQ(cb, ca);
    EXPECT_EQ(system->current_music, b);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128) << "at full volume again";
}

TEST_F(SoundLayerTest, RefusesWhatIsNotOneOfItsSoundsAndSettingsItCannotUse)
{
    FMOD::Channel* c = reinterpret_cast<FMOD::Channel*>(1);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, nullptr, false, &c), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(c, nullptr);
    FMOD::Sound stranger;
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, &stranger, false, &c), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(system->playSound(static_cast<FMOD_CHANNELINDEX>(4), sound(0.1), false, &c), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->plays, 0u);
    // Settings are checked and kept.
    EXPECT_EQ(system->set3DSettings(2.0f, 0.5f, 3.0f), FMOD_OK);
    EXPECT_EQ(system->set3DSettings(1.0f, NAN, 1.0f), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ((std::vector<float>{system->doppler_scale, system->distance_factor, system->rolloff_scale}),
              (std::vector<float>{2, 0.5f, 3}))
        << "a refused call changes nothing";
    FMOD::Sound* s = sound(0.1);
    EXPECT_EQ(s->set3DMinMaxDistance(5.0f, 500.0f), FMOD_OK);
    EXPECT_EQ(s->set3DMinMaxDistance(50.0f, 5.0f), FMOD_ERR_INVALID_PARAM);
    float lo = 0, hi = 0;
    s->get3DMinMaxDistance(&lo, &hi);
    EXPECT_EQ((std::vector<float>{lo, hi}), (std::vector<float>{5, 500}));
    FMOD_VECTOR v{0, 0, 1};
    EXPECT_EQ(system->set3DListenerAttributes(1, &v, &v, &v, &v), FMOD_ERR_INVALID_PARAM) << "one listener only";
}

// The parameter text with the line of `key` dropped (`value` null) or its value replaced.
std::string edited(const std::string& key, const char* value)
{
    std::string text = audio_config_text();
    size_t at = text.find(key + "="), end = text.find('\n', at);
    return text.substr(0, at) + (value ? key + "=" + value + "\n" : "") + text.substr(end + 1);
}

const float kOrigin[3] = {0, 0, 0}, kUp[3] = {0, 1, 0}, kForward[3] = {0, 0, 1};

class AudioSystemTest : public ::testing::Test {
protected:
    // Death tests start the program anew; that is the safe way with an audio thread.
    AudioSystemTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    ~AudioSystemTest() override { delete the_audio_system; }

    std::unique_ptr<AudioSystem> make(double track0 = 30.0, double track1 = 30.0)
    {
        write_sound_set(dir, track0, track1);
        return std::make_unique<AudioSystem>();
    }

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
    InDirectory in{dir.path};
};

TEST_F(AudioSystemTest, ReadsItsSettingsAndLoadsTwoTracksAndThreeEffects)
{
    auto a = make();
    FMOD::System& s = *a->system;
    EXPECT_EQ(s.max_channels, 8);
    // Every sound in the mode 0x29 (no loop, 2-D, hardware); the effects with their distances.
    auto describe = [](auto* t) { return t->path + (t->stream ? " stream " : " ") + std::to_string(t->mode); };
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

// Even keys whose values change nothing must be present, and numbers must be ones the
// sound library can use.
TEST_F(AudioSystemTest, AMissingOrUnusableKeyEndsConstructionNamingItElseTheAccessorCreatesOneSystemOnFirstUse)
{
    for (auto [key, value] : {std::pair<const char*, const char*>{"backgroundFile", nullptr},
                              {"numberOfChannels", nullptr},
                              {"numberOfChannels", "0"},
                              {"distancefactor", "0"},
                              {"maxDistance", "1.0"}}) { // below minDistance
        write_sound_set(dir, 30, 30, edited(key, value));
        EXPECT_THROW(audio_system(), BadValueException) << key;
        EXPECT_EQ(last_bad_value().key, key);
        EXPECT_EQ(last_bad_value().file, ".\\config\\audio.p");
        EXPECT_EQ(the_audio_system, nullptr);
    }
    // With every key in place the accessor creates one system on first use; unknown effects play nothing.
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

// The listener follows the camera; the first listener update starts the first track, and an
// ended track is followed by the other.
TEST_F(AudioSystemTest, TheListenerFollowsTheCameraAndTracksTakeTurnsAtTheUpdateAfterOneEnds)
{
    auto a = make(0.1, 30.0);
    const float pos[3] = {10, 230, -5}, up[3] = {0, 0.6f, 0.8f}, fwd[3] = {0, -0.8f, 0.6f};
    a->update_listener(pos, up, fwd);
    const FMOD::System& s = *a->system;
    EXPECT_EQ((std::vector<float>{s.listener_position.y, s.listener_up.z, s.listener_forward.y}),
              (std::vector<float>{230, 0.8f, -0.8f}));
    EXPECT_EQ((std::vector<float>{s.listener_velocity.x, s.listener_velocity.y, s.listener_velocity.z}),
              (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(s.updates, 1u);
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
        float numerator_distance, volume, listener[3], at[3], expected; // fake max distance, effect volume
    } cases[] = {
        {100, 0.5f, {3, -2, 7}, {3 + 12, -2 + 0.5f, 7 + 16}, 50.0f / 400.25f}, // 50 over the squared distance
        {100, 0.5f, {1, 2, 3}, {1, 2, 3 + std::sqrt(50.0f)}, 1}, // at full volume and nearer, at one
        {100, 0, {0, 0, 0}, {0, 0, 0}, 0}, // no numerator silences, even at no distance
    };
    for (const Case& c : cases)
        EXPECT_NEAR(effect_loudness(c.numerator_distance, c.volume, c.listener, c.at), c.expected, 1e-6f)
            << c.numerator_distance << " " << c.volume << " to " << c.at[0] << " " << c.at[1] << " " << c.at[2];
    // The shipped settings: heard from the follow camera (250 up, 600 back), a crystal taken across the map too.
    InDirectory in(game_dir());
    AudioSystem a;
    const float at_player[3] = {0, 250, 600}, across_the_map[3] = {0, 0, 3000};
    const float near_volume = effect_loudness(a.fake_max_distance, a.effect_volume, kOrigin, at_player);
    const float far_volume = effect_loudness(a.fake_max_distance, a.effect_volume, kOrigin, across_the_map);
    EXPECT_GT(near_volume, 0.5f);
    EXPECT_GT(far_volume, 0.01f) << "a crystal taken far away is still heard";
    EXPECT_LT(far_volume, near_volume / 4.0f);
}

// The volume keys and the pause act on the master volume, kept for the run: the playing
// track's channel follows at once, effects started afterwards play at the master's share.
TEST_F(AudioSystemTest, TheMasterVolumeTheMuteAndThePauseSetTheMusicAndTheEffects)
{
    write_sound_set(dir);
    AudioSystem* a = audio_system();
    a->play_next_background();
    const float at20[3] = {0, 0, 20};
    // Each step: the change, then the music's channel volume (background 0.4), an effect's
    // (0.125 by its distance) and the option message's percent.
    const std::tuple<std::function<void()>, float, float, int> steps[] = {
        {[] {}, 0.4f, 0.125f, 100},
        {[] { change_master_volume(-3); }, 0.28f, 0.0875f, 70},
        {[] { change_master_volume(-20); }, 0.0f, 0.0f, 0},   // never below silence
        {[] { change_master_volume(5); }, 0.2f, 0.0625f, 50},
        {[] { toggle_mute(); }, 0.0f, 0.0f, -1},
        {[] { change_master_volume(1); }, 0.24f, 0.075f, 60}, // a volume key ends the mute
        {[] { change_master_volume(20); }, 0.4f, 0.125f, 100}, // never above full
        {[] { set_music_quiet(true); }, 0.4f * kQuietMusicShare, 0.125f, 100}, // effects keep theirs
        {[] { set_music_quiet(false); }, 0.4f, 0.125f, 100},
    };
    for (const auto& [change, music, effect, percent] : steps) {
        change();
        EXPECT_FLOAT_EQ(a->background_channel->volume, music);
        FMOD::Channel* c = a->play_effect("collect", at20);
        ASSERT_NE(c, nullptr);
        EXPECT_FLOAT_EQ(c->volume, effect);
        EXPECT_EQ(master_volume_percent(), percent);
    }
    // The next track starts at the level in force.
    change_master_volume(-5);
    a->play_next_background();
    EXPECT_FLOAT_EQ(a->background_channel->volume, 0.2f);
}

} // namespace
