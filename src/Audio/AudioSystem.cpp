#include "Audio/AudioSystem.h"

#include "Common/ParameterFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

AudioSystem* the_audio_system = nullptr;

namespace {

const char* const kConfig = ".\\config\\audio.p";
const char* const kBackgroundFiles[] = {"./media/sound/tijuana.ogg", "./media/sound/Peanuts.ogg"};
struct EffectFile {
    const char* path;
    const char* name;
};
const EffectFile kEffectFiles[] = {
    {"./media/sound/bling.wav", "collect"},
    {"./media/sound/walum.wav", "vanished"},
    {"./media/sound/yipiee.wav", "yipiee"},
};
constexpr FMOD_MODE kMode = FMOD_LOOP_OFF | FMOD_2D | FMOD_HARDWARE;

const KeyRange kAudioKeys[] = {
    {"stereo_spread", -1, 1, nullptr},
    {"dopplerscale", 0, 100, nullptr},
    {"distancefactor", 0.0001, 1e6, "the length of a unit of distance"},
    {"rolloffscale", 0, 100, nullptr},
    {"minDistance", 0.0001, 1e9, nullptr},
    {"maxDistance", 0.0001, 1e9, nullptr},
    {"fakeMaxDistance", 0, 1e12, nullptr},
    {"numberOfChannels", 1, 256, "the mixer's channels for effects that overlap"},
    {"backgroundVolume", 0, 1, nullptr},
    {"effectVolume", 0, 1, nullptr},
};

// A sound-library failure makes running pointless: say what failed and why, then end with -1.
[[noreturn]] void fail(const char* message, FMOD_RESULT result)
{
    std::fprintf(stderr, "%s%s\n", message, FMOD_ErrorString(result));
    std::exit(-1);
}

void check(FMOD_RESULT result, const char* message)
{
    if (result != FMOD_OK) fail(message, result);
}

// The same for a file: the message names it.
void check_file(FMOD_RESULT result, const char* message, const char* path)
{
    if (result == FMOD_OK) return;
    std::fprintf(stderr, "%s%s: %s\n", message, path, FMOD_ErrorString(result));
    std::exit(-1);
}

FMOD_VECTOR vec(const float v[3]) { return {v[0], v[1], v[2]}; }

} // namespace

float effect_loudness(float fake_max_distance, float effect_volume, const float listener[3],
                      const float position[3])
{
    float numerator = fake_max_distance * effect_volume;
    if (!(numerator > 0.0f)) return 0.0f;
    float dx = position[0] - listener[0];
    float dy = position[1] - listener[1];
    float dz = position[2] - listener[2];
    float d2 = dx * dx + dy * dy + dz * dz;
    if (d2 <= numerator) return 1.0f; // includes d2 = 0
    return numerator / d2;
}

float music_level(float background_volume, int master_tenths, bool muted, bool quiet)
{
    if (muted) return 0.0f;
    return background_volume * master_tenths / 10.0f * (quiet ? kQuietMusicShare : 1.0f);
}

float effect_level(float loudness, int master_tenths, bool muted)
{
    return muted ? 0.0f : loudness * master_tenths / 10.0f;
}

AudioSystem::AudioSystem()
{
    std::fprintf(stderr, "Initializing Audio\n");
    std::unique_ptr<ParameterFile> p(new ParameterFile(kConfig, {kAudioKeys}));
    background_index = -1;
    stereo_spread = p->getFloat("stereo_spread");
    doppler_scale = p->getFloat("dopplerscale");
    distance_factor = p->getFloat("distancefactor");
    rolloff_scale = p->getFloat("rolloffscale");
    min_distance = p->getFloat("minDistance");
    max_distance = p->getFloat("maxDistance");
    fake_max_distance = p->getFloat("fakeMaxDistance");
    // Both values are named: either may be the one that is wrong.
    if (max_distance < min_distance)
        refuse_value(*p, "maxDistance", "must be at least minDistance=" + p->getString("minDistance"));

    if (FMOD_System_Create(&system) != FMOD_OK) {
        std::fprintf(stderr, "Failed to create FMOD sound system - exiting!\n");
        std::exit(-1);
    }
    try {
        channels = p->getInt("numberOfChannels");
        check(system->init(channels, FMOD_INIT_3D_RIGHTHANDED, nullptr),
              "Failed to init FMOD sound system - exiting!\n");
        check(system->set3DSettings(doppler_scale, distance_factor, rolloff_scale),
              "Failed to set 3D settings - exiting!\n");

        p->getString("backgroundFile"); // must be there; the tracks are always the two below
        for (const char* path : kBackgroundFiles) {
            FMOD::Sound* track = nullptr;
            check_file(system->createStream(path, kMode, nullptr, &track), "Failed to load background music!\n", path);
            backgrounds.push_back(track);
        }
        background_volume = p->getFloat("backgroundVolume");

        for (const EffectFile& file : kEffectFiles) {
            FMOD::Sound* sound = nullptr;
            FMOD_RESULT r = system->createSound(file.path, kMode, nullptr, &sound);
            if (r != FMOD_OK) {
                // The game goes on without this one effect; play_effect finds no such name.
                std::fprintf(stderr, "Failed to load Sound %s: %s\n", file.path, FMOD_ErrorString(r));
                continue;
            }
            check(sound->set3DMinMaxDistance(min_distance, max_distance),
                  "Failed to set min/max distance - exiting!\n");
            effects.push_back(Effect{file.name, sound});
        }
        effect_volume = p->getFloat("effectVolume");
    } catch (...) {
        // A missing key ends the program through the caller; leave nothing open behind it.
        system->release();
        system = nullptr;
        throw;
    }
}

AudioSystem::~AudioSystem()
{
    if (system) system->release();
    system = nullptr;
    if (the_audio_system == this) the_audio_system = nullptr;
    backgrounds.clear();
    effects.clear();
    std::printf("AudioSystem destructor finished!\n");
}

void AudioSystem::play_next_background()
{
    if (backgrounds.empty()) return;
    background_index += 1;
    if (background_index >= static_cast<int>(backgrounds.size())) background_index = 0;
    FMOD::Sound* track = backgrounds[static_cast<size_t>(background_index)];
    check(system->playSound(FMOD_CHANNEL_FREE, track, true, &background_channel), "Error starting playback!\n");
    check(background_channel->setVolume(current_music_level()), "Error starting playback!\n");
    check(background_channel->setPaused(false), "Error starting playback!\n");
}

void AudioSystem::update_listener(const float position[3], const float up[3], const float forward[3])
{
    for (int i = 0; i < 3; ++i) listener_position[i] = position[i];

    bool playing = false;
    if (background_channel) background_channel->isPlaying(&playing);
    if (!playing) play_next_background();

    const FMOD_VECTOR pos = vec(position), velocity = {0, 0, 0}, fwd = vec(forward), upv = vec(up);
    system->set3DListenerAttributes(0, &pos, &velocity, &fwd, &upv);
    system->update();
}

FMOD::Channel* AudioSystem::play_effect(const char* name, const float position[3])
{
    if (!name || !position) return nullptr;
    for (const Effect& effect : effects) {
        if (effect.name != name) continue;
        FMOD::Channel* channel = nullptr;
        // A sound that cannot start (no voice to be had) is simply not heard.
        if (system->playSound(FMOD_CHANNEL_FREE, effect.sound, true, &channel) != FMOD_OK || !channel)
            return nullptr;
        const float loudness = effect_loudness(fake_max_distance, effect_volume, listener_position, position);
        channel->setVolume(effect_level(loudness, master_tenths, muted));
        channel->setPaused(false);
        return channel;
    }
    return nullptr;
}

float AudioSystem::current_music_level() const
{
    return music_level(background_volume, master_tenths, muted, music_quiet);
}

void AudioSystem::apply_music_level()
{
    if (background_channel) background_channel->setVolume(current_music_level());
}

void change_master_volume(int steps)
{
    AudioSystem* a = the_audio_system;
    if (!a) return;
    a->master_tenths += steps;
    if (a->master_tenths < 0) a->master_tenths = 0;
    if (a->master_tenths > AudioSystem::kMasterTenths) a->master_tenths = AudioSystem::kMasterTenths;
    a->muted = false;
    a->apply_music_level();
}

void toggle_mute()
{
    if (AudioSystem* a = the_audio_system) {
        a->muted = !a->muted;
        a->apply_music_level();
    }
}

void set_music_quiet(bool quiet)
{
    if (AudioSystem* a = the_audio_system) {
        a->music_quiet = quiet;
        a->apply_music_level();
    }
}

int master_volume_percent()
{
    const AudioSystem* a = the_audio_system;
    if (!a) return 100;
    return a->muted ? -1 : a->master_tenths * 10;
}

AudioSystem* audio_system()
{
    if (!the_audio_system) the_audio_system = new AudioSystem();
    return the_audio_system;
}

void play_effect(const char* name, const float position[3])
{
    audio_system()->play_effect(name, position);
}
