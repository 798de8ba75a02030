#include "Audio/SoundLayer.h"

#include "Common/Platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <dlfcn.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

// SDL_mixer is one global mixer: only one system may have it open at a time.
FMOD::System* g_mixer_owner = nullptr;

constexpr int kMaxVoices = 1024;
constexpr int kFrequency = 44100;
constexpr int kChunkFrames = 1024; // about 23 ms of latency
constexpr FMOD_MODE kKnownModes =
    FMOD_LOOP_OFF | FMOD_LOOP_NORMAL | FMOD_2D | FMOD_3D | FMOD_HARDWARE | FMOD_SOFTWARE;

unsigned long g_serial = 0;

// While SDL probes its drivers, ALSA prints a screenful of its own errors on a machine
// without a sound card; the fallback's one message says all that matters. ALSA is reached
// through the process's symbols (SDL loads it), so nothing changes where it is absent.
extern "C" void quiet_alsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaMessagesMuted {
public:
    AlsaMessagesMuted()
        : set_handler(reinterpret_cast<SetHandler>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler")))
    {
        if (set_handler) set_handler(quiet_alsa);
    }
    ~AlsaMessagesMuted()
    {
        if (set_handler) set_handler(nullptr); // ALSA's own handler again
    }
    AlsaMessagesMuted(const AlsaMessagesMuted&) = delete;
    AlsaMessagesMuted& operator=(const AlsaMessagesMuted&) = delete;

private:
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    SetHandler set_handler;
};

// Opens SDL's audio subsystem and the mixer on the driver SDL picks (SDL_AUDIODRIVER).
bool open_mixer()
{
    AlsaMessagesMuted muted;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) return false;
    if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, 2, kChunkFrames) < 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

float clamp_volume(float v)
{
    if (!(v > 0.0f)) return 0.0f; // also NaN
    return v > 1.0f ? 1.0f : v;
}

bool mode_valid(FMOD_MODE mode)
{
    if (mode & ~kKnownModes) return false;
    auto both = [mode](FMOD_MODE a, FMOD_MODE b) { return (mode & a) && (mode & b); };
    return !both(FMOD_LOOP_OFF, FMOD_LOOP_NORMAL) && !both(FMOD_2D, FMOD_3D) &&
           !both(FMOD_HARDWARE, FMOD_SOFTWARE);
}

// SDL_mixer counts plays: 1 plays once, -1 forever.
int mixer_loops(const FMOD::Sound& sound)
{
    return (sound.mode & FMOD_LOOP_NORMAL) ? -1 : (sound.stream ? 1 : 0);
}

} // namespace

const char* FMOD_ErrorString(FMOD_RESULT result)
{
    switch (result) {
    case FMOD_OK: return "No errors.";
    case FMOD_ERR_INITIALIZATION: return "The audio output could not be opened, not even the silent one.";
    case FMOD_ERR_INITIALIZED: return "The sound system is already initialized, or another one holds the mixer.";
    case FMOD_ERR_UNINITIALIZED: return "The sound system has not been initialized yet.";
    case FMOD_ERR_INVALID_PARAM: return "A parameter is out of range or invalid.";
    case FMOD_ERR_INVALID_HANDLE: return "The sound or channel handle is not valid (or its sound has ended).";
    case FMOD_ERR_FILE_NOTFOUND: return "The sound file could not be found or opened.";
    case FMOD_ERR_FORMAT: return "The sound file's format is not supported or the file is damaged.";
    case FMOD_ERR_UNSUPPORTED: return "The operation is not supported here.";
    case FMOD_ERR_CHANNEL_ALLOC: return "The mixer could not start the sound on a channel.";
    }
    return "Unknown error.";
}

FMOD_RESULT FMOD_System_Create(FMOD::System** system)
{
    if (!system) return FMOD_ERR_INVALID_PARAM;
    *system = new FMOD::System();
    return FMOD_OK;
}

namespace FMOD {

// ---- Sound ----

FMOD_RESULT Sound::set3DMinMaxDistance(float min, float max)
{
    if (!std::isfinite(min) || !std::isfinite(max) || min < 0.0f || max < min)
        return FMOD_ERR_INVALID_PARAM;
    min_distance = min;
    max_distance = max;
    return FMOD_OK;
}

FMOD_RESULT Sound::get3DMinMaxDistance(float* min, float* max) const
{
    if (min) *min = min_distance;
    if (max) *max = max_distance;
    return FMOD_OK;
}

// ---- Channel ----

FMOD_RESULT Channel::setVolume(float v)
{
    if (!sound) return FMOD_ERR_INVALID_HANDLE;
    volume = clamp_volume(v);
    mixer_volume = static_cast<int>(std::lround(volume * MIX_MAX_VOLUME));
    if (index < 0)
        Mix_VolumeMusic(mixer_volume);
    else
        Mix_Volume(index, mixer_volume);
    return FMOD_OK;
}

FMOD_RESULT Channel::getVolume(float* v) const
{
    if (!v) return FMOD_ERR_INVALID_PARAM;
    *v = volume;
    return FMOD_OK;
}

FMOD_RESULT Channel::setPaused(bool pause)
{
    if (!sound) return FMOD_ERR_INVALID_HANDLE;
    if (!started) {
        paused = pause;
        return pause ? FMOD_OK : system->start(*this);
    }
    if (pause == paused) return FMOD_OK;
    if (index < 0) {
        if (pause) Mix_PauseMusic(); else Mix_ResumeMusic();
    } else {
        if (pause) Mix_Pause(index); else Mix_Resume(index);
    }
    paused = pause;
    return FMOD_OK;
}

FMOD_RESULT Channel::getPaused(bool* out) const
{
    if (!out) return FMOD_ERR_INVALID_PARAM;
    *out = paused;
    return FMOD_OK;
}

FMOD_RESULT Channel::isPlaying(bool* playing) const
{
    if (!playing) return FMOD_ERR_INVALID_PARAM;
    if (!sound)
        *playing = false;
    else if (!started)
        *playing = true;
    else if (index < 0)
        *playing = system->current_music == sound && Mix_PlayingMusic() != 0;
    else
        *playing = Mix_Playing(index) != 0;
    return FMOD_OK;
}

FMOD_RESULT Channel::stop()
{
    if (!sound) return FMOD_ERR_INVALID_HANDLE;
    if (started) {
        if (index >= 0)
            Mix_HaltChannel(index);
        else if (system->current_music == sound)
            Mix_HaltMusic();
    }
    sound = nullptr;
    started = false;
    paused = false;
    return FMOD_OK;
}

// ---- System ----

System::System() { music_channel.system = this; }

System::~System() = default;

FMOD_RESULT System::init(int maxchannels, FMOD_INITFLAGS flags, void*)
{
    if (initialized || g_mixer_owner) return FMOD_ERR_INITIALIZED;
    if (maxchannels < 1 || maxchannels > kMaxVoices) return FMOD_ERR_INVALID_PARAM;

    if (!open_mixer()) {
        // No device here (a server without a sound card, a muted container): play to SDL's
        // silent driver so that the game runs the same, only quietly.
        std::string why = SDL_GetError();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!open_mixer()) return FMOD_ERR_INITIALIZATION;
        std::fprintf(stderr, "No audio device could be opened (%s): playing without sound.\n", why.c_str());
    }
    char name[64] = {};
    driver = SDL_AudioDriverName(name, sizeof name) ? name : "";
    silent = driver == "dummy";

    max_channels = Mix_AllocateChannels(maxchannels);
    voices.clear();
    for (int i = 0; i < max_channels; ++i) {
        voices.emplace_back(new Channel());
        voices.back()->system = this;
        voices.back()->index = i;
        Mix_Volume(i, MIX_MAX_VOLUME);
    }
    init_flags = flags;
    initialized = true;
    g_mixer_owner = this;
    return FMOD_OK;
}

FMOD_RESULT System::set3DSettings(float dopplerscale, float distancefactor, float rolloffscale)
{
    if (!initialized) return FMOD_ERR_UNINITIALIZED;
    if (!std::isfinite(dopplerscale) || !std::isfinite(distancefactor) || !std::isfinite(rolloffscale) ||
        dopplerscale < 0.0f || distancefactor <= 0.0f || rolloffscale < 0.0f)
        return FMOD_ERR_INVALID_PARAM;
    doppler_scale = dopplerscale;
    distance_factor = distancefactor;
    rolloff_scale = rolloffscale;
    return FMOD_OK;
}

FMOD_RESULT System::createStream(const char* path, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO* exinfo, Sound** sound)
{
    if (exinfo) return FMOD_ERR_UNSUPPORTED;
    return load(path, mode, true, sound);
}

FMOD_RESULT System::createSound(const char* path, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO* exinfo, Sound** sound)
{
    if (exinfo) return FMOD_ERR_UNSUPPORTED;
    return load(path, mode, false, sound);
}

FMOD_RESULT System::load(const char* path, FMOD_MODE mode, bool stream, Sound** out)
{
    if (!out || !path) return FMOD_ERR_INVALID_PARAM;
    *out = nullptr;
    if (!initialized) return FMOD_ERR_UNINITIALIZED;
    if (!mode_valid(mode)) return FMOD_ERR_INVALID_PARAM;

    // Tell a missing file from one the decoders refuse.
    FILE* probe = open_file(path, "rb");
    if (!probe) return FMOD_ERR_FILE_NOTFOUND;
    std::fclose(probe);

    std::unique_ptr<Sound> sound(new Sound());
    sound->system = this;
    sound->path = path;
    sound->mode = mode;
    sound->stream = stream;
    SDL_RWops* rw = SDL_RWFromFile(native_path(path).c_str(), "rb");
    if (!rw) return FMOD_ERR_FILE_NOTFOUND;
    if (stream) {
        // The contents decide the decoder, not the file name's extension. The music reads
        // from the file while it plays, so the file stays open until the sound is freed;
        // it is closed here, not by the decoder, which would leave it open on failure.
        sound->music = Mix_LoadMUSType_RW(rw, MUS_NONE, SDL_FALSE);
        if (!sound->music) {
            SDL_RWclose(rw);
            return FMOD_ERR_FORMAT;
        }
        sound->music_source = rw;
    } else {
        sound->chunk = Mix_LoadWAV_RW(rw, 1);
        if (!sound->chunk) return FMOD_ERR_FORMAT;
    }

    *out = sound.get();
    sounds.push_back(std::move(sound));
    return FMOD_OK;
}

bool System::owns(const Sound* sound) const
{
    for (const auto& s : sounds)
        if (s.get() == sound) return true;
    return false;
}

Channel* System::free_voice()
{
    Channel* oldest = nullptr;
    for (auto& v : voices) {
        if (!v->sound || (v->started && !Mix_Playing(v->index))) return v.get();
        if (!oldest || v->serial < oldest->serial) oldest = v.get();
    }
    return oldest;
}

FMOD_RESULT System::playSound(FMOD_CHANNELINDEX channelid, Sound* sound, bool paused, Channel** channel)
{
    if (channel) *channel = nullptr;
    if (!initialized) return FMOD_ERR_UNINITIALIZED;
    if (!sound || !owns(sound)) return FMOD_ERR_INVALID_HANDLE;

    Channel* voice = nullptr;
    if (sound->stream) {
        if (channelid != FMOD_CHANNEL_FREE) return FMOD_ERR_UNSUPPORTED;
        voice = &music_channel;
    } else if (channelid == FMOD_CHANNEL_FREE) {
        voice = free_voice();
    } else if (channelid >= 0 && channelid < static_cast<int>(voices.size())) {
        voice = voices[static_cast<size_t>(channelid)].get();
    } else {
        return FMOD_ERR_INVALID_PARAM;
    }
    if (voice->sound && voice->started) voice->stop();

    voice->sound = sound;
    voice->started = false;
    voice->paused = paused;
    voice->serial = ++g_serial;
    voice->volume = 1.0f;
    voice->mixer_volume = MIX_MAX_VOLUME;
    if (!paused) {
        FMOD_RESULT r = start(*voice);
        if (r != FMOD_OK) return r;
    }
    ++plays;
    last_played = voice;
    if (channel) *channel = voice;
    return FMOD_OK;
}

FMOD_RESULT System::start(Channel& voice)
{
    Sound& sound = *voice.sound;
    if (voice.index < 0) {
        Mix_VolumeMusic(voice.mixer_volume);
        if (Mix_PlayMusic(sound.music, mixer_loops(sound)) < 0) {
            voice.sound = nullptr;
            return FMOD_ERR_CHANNEL_ALLOC;
        }
        current_music = &sound;
    } else {
        Mix_Volume(voice.index, voice.mixer_volume);
        if (Mix_PlayChannel(voice.index, sound.chunk, mixer_loops(sound)) < 0) {
            voice.sound = nullptr;
            return FMOD_ERR_CHANNEL_ALLOC;
        }
    }
    voice.started = true;
    voice.paused = false;
    return FMOD_OK;
}

FMOD_RESULT System::set3DListenerAttributes(int listener, const FMOD_VECTOR* pos, const FMOD_VECTOR* vel,
                                            const FMOD_VECTOR* forward, const FMOD_VECTOR* up)
{
    if (!initialized) return FMOD_ERR_UNINITIALIZED;
    if (listener != 0) return FMOD_ERR_INVALID_PARAM;
    if (pos) listener_position = *pos;
    if (vel) listener_velocity = *vel;
    if (forward) listener_forward = *forward;
    if (up) listener_up = *up;
    return FMOD_OK;
}

FMOD_RESULT System::update()
{
    if (!initialized) return FMOD_ERR_UNINITIALIZED;
    ++updates;
    for (auto& v : voices) {
        bool playing = true;
        v->isPlaying(&playing);
        if (v->sound && !playing) {
            v->sound = nullptr;
            v->started = false;
        }
    }
    bool music_playing = true;
    music_channel.isPlaying(&music_playing);
    if (music_channel.sound && !music_playing) {
        music_channel.sound = nullptr;
        music_channel.started = false;
    }
    return FMOD_OK;
}

FMOD_RESULT System::release()
{
    // After SDL_Quit() the audio device is already closed; SDL_mixer's calls below then only
    // free what the mixer holds, which is what a late release needs.
    if (initialized) {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
    }
    for (auto& s : sounds) {
        if (s->chunk) Mix_FreeChunk(s->chunk);
        if (s->music) Mix_FreeMusic(s->music);
        if (s->music_source) SDL_RWclose(s->music_source);
        s->chunk = nullptr;
        s->music = nullptr;
        s->music_source = nullptr;
    }
    sounds.clear();
    voices.clear();
    if (initialized) {
        // No Mix_Quit(): SDL_mixer's would leave a freed pointer behind for the next open.
        Mix_CloseAudio();
        if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (g_mixer_owner == this) g_mixer_owner = nullptr;
    delete this;
    return FMOD_OK;
}

} // namespace FMOD
