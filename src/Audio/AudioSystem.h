// The game's one sound object: two background tracks that take turns for the whole run, and
// three short effects that gameplay plays by name at a place in the world.
//
// Settings come from '.\config\audio.p' (every key must be present). Effects play as 2-D
// sounds whose loudness the game works out from the listener's distance (effect_loudness).
#pragma once

#include "Audio/SoundLayer.h"

#include <string>
#include <vector>

struct Effect {
    std::string name;
    FMOD::Sound* sound = nullptr;
};

class AudioSystem {
public:
    AudioSystem();
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // Starts the next background track (the first call plays track 0, then they alternate).
    void play_next_background();
    // Once per frame with the eye camera: moves the listener and, when the playing track has
    // ended, starts the other one.
    void update_listener(const float position[3], const float up[3], const float forward[3]);
    // Plays the effect called `name` at `position`, loudness by distance to the listener.
    // Returns the channel it plays on, or null when there is no such effect. Nobody needs to
    // keep the channel: overlapping effects each take a channel of their own.
    FMOD::Channel* play_effect(const char* name, const float position[3]);
    // Sets the playing track's channel to the music's level as the master volume, the mute
    // and the pause make it.
    void apply_music_level();
    float current_music_level() const;

    FMOD::System* system = nullptr;
    int channels = 0;
    int background_index = -1;              // the track playing; -1 before the first
    std::vector<FMOD::Sound*> backgrounds;  // in load order
    FMOD::Channel* background_channel = nullptr;
    float background_volume = 0;
    std::vector<Effect> effects;            // in load order
    float effect_volume = 0;
    float stereo_spread = 0;                // read, not used by the mixer
    float doppler_scale = 0, distance_factor = 0, rolloff_scale = 0;
    float min_distance = 0, max_distance = 0;
    float fake_max_distance = 0;            // loudness numerator of the effects
    float listener_position[3] = {0, 0, 0};

    // The player's volume, kept for the run: tenths of full (0 to 10), the mute, and the
    // pause's quieter music.
    int master_tenths = kMasterTenths;
    bool muted = false;
    bool music_quiet = false;
    static constexpr int kMasterTenths = 10;
};

// The paused game's music, as a share of its level in play.
constexpr float kQuietMusicShare = 0.35f;

// The music's channel volume: `background_volume` times the master volume, times the
// pause's share while the music is quiet; 0 when muted.
float music_level(float background_volume, int master_tenths, bool muted, bool quiet);

// An effect's channel volume: its loudness by distance times the master volume; 0 when
// muted.
float effect_level(float loudness, int master_tenths, bool muted);

// Volume of an effect at `position` heard at `listener`: fake_max_distance x effect_volume
// over the squared distance, kept in [0, 1]. Nearer than where the law reaches 1 (and so at
// distance zero, where it would divide by zero) the effect plays at full volume 1; a zero
// or negative numerator silences effects at every distance.
float effect_loudness(float fake_max_distance, float effect_volume, const float listener[3],
                      const float position[3]);

// The one audio system, created on the first call (which reads '.\config\audio.p' and loads
// the sounds). Deleting it clears the global again.
AudioSystem* audio_system();
extern AudioSystem* the_audio_system; // null until the first audio_system() call

// The volume keys: the master volume `steps` tenths up or down (kept within 0 to 10; a
// volume key also ends the mute), and the mute on or off. Nothing before the sound system
// exists.
void change_master_volume(int steps);
void toggle_mute();
// The pause turns the music down and up again.
void set_music_quiet(bool quiet);
// The master volume in percent, or -1 while muted (for the option message); 100 before the
// sound system exists.
int master_volume_percent();

// How gameplay makes a sound: plays the effect `name` ("collect", "vanished", "yipiee")
// at `position` in world coordinates. An unknown name plays nothing.
void play_effect(const char* name, const float position[3]);
