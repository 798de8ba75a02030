// The sound layer on SDL_mixer: what it hands to the mixer, and how it behaves when sounds
// end, overlap, fail to load, or when no audio device exists. Runs on SDL's silent driver.
#include "Audio/SoundLayer.h"
#include "SoundFiles.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
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
    // A tone of `seconds` loaded whole (an effect) or streamed (a track).
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

TEST_F(SoundLayerTest, InitOpensTheMixerOnceWithTheChannelsAsked)
{
    EXPECT_EQ(system->driver, "dummy");
    EXPECT_EQ(system->max_channels, 4);
    EXPECT_EQ(Mix_AllocateChannels(-1), 4);
    EXPECT_EQ(system->init(4, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INITIALIZED);

    // SDL_mixer is one global mixer: a second system cannot take it over.
    FMOD::System* other = nullptr;
    ASSERT_EQ(FMOD_System_Create(&other), FMOD_OK);
    EXPECT_EQ(other->init(4, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INITIALIZED);
    other->release();
    EXPECT_EQ(Mix_AllocateChannels(-1), 4) << "releasing the refused system must leave the mixer open";
}

TEST(SoundLayerInit, RefusesCallsBeforeInitAndBadChannelCountsAndWithoutADeviceFallsBackToSilence)
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

    // A driver name that exists nowhere stands for a machine without sound hardware.
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "no-such-driver", 1), 0);
    testing::internal::CaptureStderr();
    FMOD_RESULT r = system->init(8, FMOD_INIT_3D_RIGHTHANDED, nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(r, FMOD_OK);
    EXPECT_TRUE(system->silent);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("No audio device could be opened"), std::string::npos) << err;
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
    EXPECT_EQ(sound(0.1)->mode, 0x29u) << "the mode bits are kept";
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
    struct Case {
        float given, kept;
        int mixer;
    } cases[] = {{1.7f, 1.0f, 128}, {-0.3f, 0.0f, 0}, {NAN, 0.0f, 0}, {0.25f, 0.25f, 32}};
    for (const Case& k : cases) {
        ASSERT_EQ(c->setVolume(k.given), FMOD_OK);
        float v = -1;
        c->getVolume(&v);
        EXPECT_FLOAT_EQ(v, k.kept) << k.given;
        EXPECT_EQ(Mix_Volume(c->index, -1), k.mixer) << k.given;
    }
    ASSERT_EQ(c->setPaused(false), FMOD_OK);
    EXPECT_TRUE(c->started);
    EXPECT_EQ(Mix_Playing(c->index), 1);

    ASSERT_EQ(c->setPaused(true), FMOD_OK);
    EXPECT_EQ(Mix_Paused(c->index), 1);
    ASSERT_EQ(c->setPaused(false), FMOD_OK);
    EXPECT_EQ(Mix_Paused(c->index), 0);
}

TEST_F(SoundLayerTest, OverlappingEffectsTakeChannelsOfTheirOwnAndTheOldestIsStolenWhenFull)
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
}

TEST_F(SoundLayerTest, AnEndedSoundFreesItsChannel)
{
    FMOD::Channel* c = play(sound(0.05));
    int index = c->index;
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

    // The second stream takes over: the first is no longer reported as playing.
    FMOD::Channel* cb = play(b);
    EXPECT_EQ(cb, ca);
    EXPECT_EQ(system->current_music, b);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128) << "at full volume again";
    ASSERT_TRUE(wait_until_ended(cb));
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SoundLayerTest, PlaySoundRefusesWhatIsNotOneOfItsSounds)
{
    FMOD::Channel* c = reinterpret_cast<FMOD::Channel*>(1);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, nullptr, false, &c), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(c, nullptr);
    FMOD::Sound stranger;
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, &stranger, false, &c), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(system->playSound(static_cast<FMOD_CHANNELINDEX>(4), sound(0.1), false, &c), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->plays, 0u);
}

TEST_F(SoundLayerTest, SettingsAreCheckedAndKept)
{
    EXPECT_EQ(system->set3DSettings(2.0f, 0.5f, 3.0f), FMOD_OK);
    EXPECT_EQ((std::vector<float>{system->doppler_scale, system->distance_factor, system->rolloff_scale}),
              (std::vector<float>{2, 0.5f, 3}));
    EXPECT_EQ(system->set3DSettings(1.0f, 0.0f, 1.0f), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->set3DSettings(1.0f, NAN, 1.0f), FMOD_ERR_INVALID_PARAM);
    EXPECT_FLOAT_EQ(system->distance_factor, 0.5f) << "a refused call changes nothing";

    FMOD::Sound* s = sound(0.1);
    EXPECT_EQ(s->set3DMinMaxDistance(5.0f, 500.0f), FMOD_OK);
    EXPECT_EQ(s->set3DMinMaxDistance(50.0f, 5.0f), FMOD_ERR_INVALID_PARAM);
    float lo = 0, hi = 0;
    s->get3DMinMaxDistance(&lo, &hi);
    EXPECT_EQ((std::vector<float>{lo, hi}), (std::vector<float>{5, 500}));

    FMOD_VECTOR v{0, 0, 1};
    EXPECT_EQ(system->set3DListenerAttributes(1, &v, &v, &v, &v), FMOD_ERR_INVALID_PARAM) << "one listener only";
}

// The game ends SDL (with the window) before it deletes the sound system.
TEST_F(SoundLayerTest, ReleaseAfterSdlHasQuitIsSafeAndSoundWorksAgain)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0);
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound(5.0, true), false, nullptr), FMOD_OK);
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound(5.0), false, nullptr), FMOD_OK);
    SDL_Quit();
    EXPECT_EQ(system->release(), FMOD_OK);
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    EXPECT_EQ(system->init(2, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
}

TEST(SoundLayerErrors, EveryResultHasItsOwnText)
{
    std::set<std::string> texts;
    for (int r = FMOD_OK; r <= FMOD_ERR_CHANNEL_ALLOC; ++r) texts.insert(FMOD_ErrorString(static_cast<FMOD_RESULT>(r)));
    EXPECT_EQ(texts.size(), static_cast<size_t>(FMOD_ERR_CHANNEL_ALLOC) + 1);
    EXPECT_STREQ(FMOD_ErrorString(static_cast<FMOD_RESULT>(999)), "Unknown error.");
}

} // namespace
