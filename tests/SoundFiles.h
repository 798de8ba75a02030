// Small sound files for tests: a mono 16-bit PCM WAV of a sine tone, and the game's sound set
// (two tracks, three effects, '.\config\audio.p') laid out in a directory.
#pragma once

#include "HostileFiles.h"
#include "TempDir.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>

inline std::string wav_bytes(double seconds, double frequency = 440.0, int rate = 22050)
{
    const uint32_t frames = static_cast<uint32_t>(seconds * rate), data_size = frames * 2;
    std::string out;
    auto put = [&out](uint32_t v, int bytes) { hostile::put_le(out, v, bytes); };
    out += "RIFF";
    put(36 + data_size, 4);
    out += "WAVEfmt ";
    // The format chunk: its size, PCM, mono, the rate, bytes a second, block align, bits a sample.
    for (auto [v, bytes] : {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {uint32_t(rate), 4}, {uint32_t(rate) * 2, 4},
                            {2u, 2}, {16u, 2}})
        put(v, bytes);
    out += "data";
    put(data_size, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        double s = 0.3 * std::sin(2.0 * 3.141592653589793 * frequency * i / rate);
        put(static_cast<uint16_t>(static_cast<int16_t>(s * 32767.0)), 2);
    }
    return out;
}

// A complete, valid audio parameter file; tests change or drop single keys.
inline std::string audio_config_text()
{
    return "stereo_spread=0.5\ndopplerscale=1.0\ndistancefactor=1.0\nrolloffscale=1.0\nminDistance=10.0\n"
           "maxDistance=5000.0\nfakeMaxDistance=100.0\nnumberOfChannels=8\n"
           "backgroundFile=./media/sound/tijuana.ogg\nbackgroundVolume=0.4\neffectVolume=0.5\n";
}

// The five sound files (music as WAV data under the .ogg names: the decoder goes by the
// contents) and the parameter file, written into `dir`.
inline void write_sound_set(const TempDir& dir, double track0_seconds = 30.0, double track1_seconds = 30.0,
                            const std::string& config = audio_config_text())
{
    dir.write("media/sound/tijuana.ogg", wav_bytes(track0_seconds, 330.0));
    dir.write("media/sound/Peanuts.ogg", wav_bytes(track1_seconds, 392.0));
    dir.write("media/sound/bling.wav", wav_bytes(0.2, 880.0));
    dir.write("media/sound/walum.wav", wav_bytes(0.3, 220.0));
    dir.write("media/sound/yipiee.wav", wav_bytes(0.4, 660.0));
    dir.write("config/audio.p", config);
}

// Polls until the channel reports its sound has ended (or five seconds pass).
template <class Channel> bool wait_until_ended(Channel* channel)
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
