// The game's own sound settings and sounds load, the music plays and effects are heard where they happen.
#include "Audio/AudioSystem.h"
#include "GameDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class GameSounds : public ::testing::Test {
protected:
    GameSounds() : previous(std::filesystem::current_path()) { std::filesystem::current_path(game_dir()); }
    ~GameSounds() override { std::filesystem::current_path(previous); }
    std::filesystem::path previous;
};

TEST_F(GameSounds, SettingsAndSoundsLoadAndTheMusicPlays)
{
    AudioSystem a;
    ASSERT_EQ(a.backgrounds.size(), 2u);
    ASSERT_EQ(a.effects.size(), 3u) << "every effect file must load";
    EXPECT_GT(a.background_volume, 0.0f);
    EXPECT_GT(a.effect_volume, 0.0f);
    for (int i = 0; i < 2; ++i) {
        a.play_next_background();
        bool playing = false;
        a.background_channel->isPlaying(&playing);
        EXPECT_TRUE(playing) << a.backgrounds[static_cast<size_t>(i)]->path;
    }
}

TEST_F(GameSounds, EffectsAreAudibleFromTheFollowCameraAndFadeWithDistance)
{
    AudioSystem a;
    // The follow camera trails the hover by about 650 units (250 up, 600 back).
    const float listener[3] = {0, 0, 0};
    const float at_player[3] = {0, 250, 600};
    const float across_the_map[3] = {0, 0, 3000};
    float near_volume = effect_loudness(a.fake_max_distance, a.effect_volume, listener, at_player);
    float far_volume = effect_loudness(a.fake_max_distance, a.effect_volume, listener, across_the_map);
    EXPECT_GT(near_volume, 0.5f);
    EXPECT_GT(far_volume, 0.01f) << "a crystal taken far away is still heard";
    EXPECT_LT(far_volume, near_volume / 4.0f);
}

} // namespace
