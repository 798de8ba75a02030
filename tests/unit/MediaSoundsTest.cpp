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
#include <vector>

TEST(MediaSounds, TracksStreamAndDecodeAtTheirLengthsAndEffectsAreShort)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    int freq = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&freq, &format, &channels);
    const struct {
        const char* rel;
        double min_s, max_s;
    } sounds[] = {{"media/sound/tijuana.ogg", 60, 120},   {"media/sound/Peanuts.ogg", 60, 120},
                  {"media/sound/bling.wav", 0.3, 1.5},     {"media/sound/walum.wav", 0.6, 2.5},
                  {"media/sound/yipiee.wav", 0.8, 2.5}};
    for (const auto& e : sounds) {
        const std::string path = game_file(e.rel);
        if (path.find(".ogg") != std::string::npos) {
            Mix_Music* music = Mix_LoadMUS(path.c_str());
            EXPECT_NE(music, nullptr) << e.rel << ": " << Mix_GetError();
            Mix_FreeMusic(music);
        }
        Mix_Chunk* c = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
        ASSERT_NE(c, nullptr) << e.rel << ": " << Mix_GetError();
        std::vector<int16_t> s(c->alen / 2);
        std::memcpy(s.data(), c->abuf, s.size() * 2);
        Mix_FreeChunk(c);
        const double length = double(s.size()) / channels / freq;
        EXPECT_TRUE(length >= e.min_s && length <= e.max_s) << e.rel << ": " << length << " s";
        double sum = 0;
        for (int16_t v : s) sum += double(v) * v;
        EXPECT_GT(std::sqrt(sum / s.size()) / 32768.0, 0.05) << e.rel << " is too quiet";
    }
    Mix_CloseAudio();
    SDL_Quit();
}
