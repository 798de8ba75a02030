// The sound library the audio system talks to: a system, sounds and channels named after
// FMOD Ex's calls, played through SDL_mixer. Only this layer includes an SDL_mixer header.
//
// What the game gets:
// - streams (createStream) are music: SDL_mixer plays one music stream at a time, so a
//   stream that starts halts the one before; the game's two background tracks follow one
//   another and never overlap, so this is all they need. Every stream plays on the one
//   music channel of the system.
// - sounds (createSound) are decoded into memory and play on the mixer channels that init()
//   allocates, one channel per playing sound.
// - volumes run from 0 (silent) to 1 (full); anything above 1 plays at 1, anything below 0
//   (or not a number) at 0. SDL_mixer's own scale is 0..128.
// - a channel handle names a voice of the system; it stays valid until release() but plays
//   whatever was last started on it, so keep it only while its sound plays.
// - sounds are mixed in 2-D: the listener and the min/max distances are kept (and can be read
//   back) but do not colour the sound; the game sets effect loudness itself.
// - when no audio device can be opened, init() falls back to SDL's silent "dummy" driver with
//   one message on standard error, and everything plays (silently) as before.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct Mix_Chunk;
struct _Mix_Music;
struct SDL_RWops;

enum FMOD_RESULT {
    FMOD_OK = 0,
    FMOD_ERR_INITIALIZATION,  // the mixer could not be opened, not even silently
    FMOD_ERR_INITIALIZED,     // init() called twice, or another system owns the mixer
    FMOD_ERR_UNINITIALIZED,   // a call that needs init() came before it
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_INVALID_HANDLE,  // null or foreign sound or channel
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FORMAT,          // the file exists but cannot be decoded
    FMOD_ERR_UNSUPPORTED,     // e.g. a stream played on an effect channel
    FMOD_ERR_CHANNEL_ALLOC,   // the mixer refused to start the sound
};

// Text of a result code, for messages.
const char* FMOD_ErrorString(FMOD_RESULT result);

typedef unsigned int FMOD_MODE;
constexpr FMOD_MODE FMOD_DEFAULT = 0x00;
constexpr FMOD_MODE FMOD_LOOP_OFF = 0x01;
constexpr FMOD_MODE FMOD_LOOP_NORMAL = 0x02;
constexpr FMOD_MODE FMOD_2D = 0x08;
constexpr FMOD_MODE FMOD_3D = 0x10;
constexpr FMOD_MODE FMOD_HARDWARE = 0x20;
constexpr FMOD_MODE FMOD_SOFTWARE = 0x40;

typedef unsigned int FMOD_INITFLAGS;
constexpr FMOD_INITFLAGS FMOD_INIT_NORMAL = 0x0;
constexpr FMOD_INITFLAGS FMOD_INIT_3D_RIGHTHANDED = 0x2;

enum FMOD_CHANNELINDEX { FMOD_CHANNEL_FREE = -1 };

struct FMOD_VECTOR {
    float x = 0, y = 0, z = 0;
};

struct FMOD_CREATESOUNDEXINFO; // accepted for the call's shape; always pass nullptr

namespace FMOD {
class System;
}

// Creates a sound system; init() it before anything else.
FMOD_RESULT FMOD_System_Create(FMOD::System** system);

namespace FMOD {

class Sound {
public:
    FMOD_RESULT set3DMinMaxDistance(float min, float max);
    FMOD_RESULT get3DMinMaxDistance(float* min, float* max) const;

    System* system = nullptr;
    std::string path;          // as the caller gave it
    FMOD_MODE mode = FMOD_DEFAULT;
    bool stream = false;       // music (createStream) or an in-memory sound (createSound)
    float min_distance = 1.0f, max_distance = 10000.0f;
    Mix_Chunk* chunk = nullptr;
    _Mix_Music* music = nullptr;
    SDL_RWops* music_source = nullptr; // the open file a stream reads while it plays
};

class Channel {
public:
    FMOD_RESULT setVolume(float volume);
    FMOD_RESULT getVolume(float* volume) const;
    FMOD_RESULT setPaused(bool paused);
    FMOD_RESULT getPaused(bool* paused) const;
    // A paused channel counts as playing; a channel whose sound has ended does not.
    FMOD_RESULT isPlaying(bool* playing) const;
    FMOD_RESULT stop();

    System* system = nullptr;
    int index = -1;            // the mixer channel, -1 for the music channel
    Sound* sound = nullptr;    // what was last started here; null once it ended or stopped
    bool started = false;      // handed to the mixer (false while it waits paused)
    bool paused = false;
    float volume = 1.0f;       // as set, after clamping to [0, 1]
    int mixer_volume = 128;    // the same on SDL_mixer's scale
    unsigned long serial = 0;  // start order, used to steal the oldest voice
};

class System {
public:
    FMOD_RESULT init(int maxchannels, FMOD_INITFLAGS flags, void* extradriverdata);
    FMOD_RESULT set3DSettings(float dopplerscale, float distancefactor, float rolloffscale);
    FMOD_RESULT createStream(const char* path, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO* exinfo, Sound** sound);
    FMOD_RESULT createSound(const char* path, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO* exinfo, Sound** sound);
    // FMOD_CHANNEL_FREE takes a free voice; when every voice is busy the one started
    // longest ago is stopped and reused. A paused start waits for setPaused(false).
    FMOD_RESULT playSound(FMOD_CHANNELINDEX channelid, Sound* sound, bool paused, Channel** channel);
    FMOD_RESULT set3DListenerAttributes(int listener, const FMOD_VECTOR* pos, const FMOD_VECTOR* vel,
                                        const FMOD_VECTOR* forward, const FMOD_VECTOR* up);
    // Once per frame: frees the voices whose sounds have ended.
    FMOD_RESULT update();
    // Stops and frees every sound and channel, closes the mixer and deletes the system.
    // Safe after SDL_Quit() has already shut the audio subsystem down.
    FMOD_RESULT release();

    // ---- state, readable for diagnostics and tests ----
    bool initialized = false;
    bool silent = false;            // running on the silent fallback driver
    std::string driver;             // SDL's audio driver name
    int max_channels = 0;
    FMOD_INITFLAGS init_flags = 0;
    float doppler_scale = 1.0f, distance_factor = 1.0f, rolloff_scale = 1.0f;
    FMOD_VECTOR listener_position, listener_velocity, listener_forward, listener_up;
    unsigned long updates = 0;      // update() calls
    unsigned long plays = 0;          // successful playSound() calls
    Channel* last_played = nullptr;   // the channel of the latest one
    std::vector<std::unique_ptr<Sound>> sounds;
    std::vector<std::unique_ptr<Channel>> voices; // one per mixer channel
    Channel music_channel;
    Sound* current_music = nullptr; // the stream SDL_mixer plays (or last played)

private:
    friend FMOD_RESULT(::FMOD_System_Create)(System**);
    friend class Channel;
    System();
    ~System();
    FMOD_RESULT load(const char* path, FMOD_MODE mode, bool stream, Sound** out);
    Channel* free_voice();
    FMOD_RESULT start(Channel& channel);
    bool owns(const Sound* sound) const;
};

} // namespace FMOD
