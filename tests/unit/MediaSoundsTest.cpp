// The generated music and effects as the sound layer loads them through SDL_mixer: two Ogg
// Vorbis tracks of one to two minutes that stream, three short 16-bit PCM effects.
#include "GameDir.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class MediaSounds : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
        Mix_QuerySpec(&freq, &format, &channels);
    }
    static void TearDownTestSuite()
    {
        Mix_CloseAudio();
        SDL_Quit();
    }

    // The decoded samples (interleaved, 16-bit) of a file loaded as a chunk.
    static std::vector<int16_t> decode(const std::string& rel)
    {
        Mix_Chunk* c = Mix_LoadWAV_RW(SDL_RWFromFile(game_file(rel).c_str(), "rb"), 1);
        if (!c) return {};
        std::vector<int16_t> s(c->alen / 2);
        std::memcpy(s.data(), c->abuf, s.size() * 2);
        Mix_FreeChunk(c);
        return s;
    }
    // Decoded at its length, and not silent.
    static void expect_sound(const std::string& rel, double min_s, double max_s)
    {
        std::vector<int16_t> s = decode(rel);
        ASSERT_FALSE(s.empty()) << rel << ": " << Mix_GetError();
        const double length = double(s.size()) / channels / freq;
        EXPECT_TRUE(length >= min_s && length <= max_s) << rel << ": " << length << " s";
        double sum = 0;
        for (int16_t v : s) sum += double(v) * v;
        EXPECT_GT(std::sqrt(sum / s.size()) / 32768.0, 0.05) << rel << " is too quiet";
    }

    static inline int freq = 0, channels = 0;
    static inline Uint16 format = 0;
};

std::vector<uint8_t> read_bytes(const std::string& rel)
{
    std::ifstream in(game_file(rel), std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

} // namespace

TEST_F(MediaSounds, MusicTracksAreOggVorbisStereoThatStreamAndLastOneToTwoMinutes)
{
    for (const char* rel : {"media/sound/tijuana.ogg", "media/sound/Peanuts.ogg"}) {
        const std::vector<uint8_t> b = read_bytes(rel);
        EXPECT_EQ(std::string(b.begin(), b.begin() + std::min<size_t>(b.size(), 4)), "OggS") << rel;
        Mix_Music* music = Mix_LoadMUS(game_file(rel).c_str());
        ASSERT_NE(music, nullptr) << rel << ": " << Mix_GetError();
        Mix_FreeMusic(music);
        expect_sound(rel, 60.0, 120.0);
    }
}

TEST_F(MediaSounds, EffectsAreShortSixteenBitPcm)
{
    struct Effect {
        const char* rel;
        double min_s, max_s;
    } effects[] = {
        {"media/sound/bling.wav", 0.3, 1.5}, {"media/sound/walum.wav", 0.6, 2.5}, {"media/sound/yipiee.wav", 0.8, 2.5}};
    for (const Effect& e : effects) {
        std::vector<uint8_t> b = read_bytes(e.rel);
        ASSERT_GE(b.size(), 44u) << e.rel;
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4) + std::string(b.begin() + 8, b.begin() + 16), "RIFFWAVEfmt ");
        EXPECT_EQ(b[34] | b[35] << 8, 16) << e.rel << ": bits per sample";
        EXPECT_EQ(le32(b, 4) + 8, b.size()) << e.rel << ": RIFF size";
        expect_sound(e.rel, e.min_s, e.max_s);
    }
}
