// The generated music and effects as the sound layer loads them through SDL_mixer: two tracks
// of one to two minutes that stream, three short effects; each decodes whole and is audible.
#include "GameDir.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

TEST(MediaSounds, TracksStreamAndDecodeAtTheirLengthsAndEffectsAreShort)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    int freq = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&freq, &format, &channels);
    // Each file with the shortest and longest it may last, in seconds.
    for (auto [rel, min_s, max_s] :
         {std::tuple<const char*, double, double>{"media/sound/tijuana.ogg", 60, 120},
          {"media/sound/Peanuts.ogg", 60, 120}, {"media/sound/bling.wav", 0.3, 1.5},
          {"media/sound/walum.wav", 0.6, 2.5}, {"media/sound/yipiee.wav", 0.8, 2.5}}) {
        const std::string path = game_file(rel);
        if (path.find(".ogg") != std::string::npos) {
            Mix_Music* music = Mix_LoadMUS(path.c_str());
            EXPECT_NE(music, nullptr) << rel << ": " << Mix_GetError();
            Mix_FreeMusic(music);
        }
        Mix_Chunk* c = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
        ASSERT_NE(c, nullptr) << rel << ": " << Mix_GetError();
        std::vector<int16_t> s(c->alen / 2);
        std::memcpy(s.data(), c->abuf, s.size() * 2);
        Mix_FreeChunk(c);
        const double length = double(s.size()) / channels / freq;
        EXPECT_TRUE(length >= min_s && length <= max_s) << rel << ": " << length << " s";
        double sum = 0;
        for (int16_t v : s) sum += double(v) * v;
        EXPECT_GT(std::sqrt(sum / s.size()) / 32768.0, 0.05) << rel << " is too quiet";
    }
    Mix_CloseAudio();
    SDL_Quit();
}
