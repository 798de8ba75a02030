#include "Common/Hud.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class HudLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        flow.winning_points = 100;
        in.width = 1024;
        in.height = 768;
        in.max_char_w = 20;
        in.max_char_h = 40;
        in.now = 50;
    }

    HudFrame layout(int player, const std::vector<int>& opponents, int roll_value = 0)
    {
        return hud_layout(flow, player, opponents, in, [this, roll_value] {
            ++rolls;
            return roll_value;
        });
    }

    static std::vector<std::string> texts(const HudFrame& f)
    {
        std::vector<std::string> out;
        for (const HudText& t : f.texts) out.push_back(t.text);
        return out;
    }

    static const HudText& find(const HudFrame& f, const std::string& text)
    {
        for (const HudText& t : f.texts)
            if (t.text == text) return t;
        ADD_FAILURE() << "no text \"" << text << "\"";
        return f.texts.front();
    }

    static void expect_item(const HudText& t, float x, float y, float r, float g, float b, float scale)
    {
        EXPECT_FLOAT_EQ(t.pos[0], x) << t.text;
        EXPECT_FLOAT_EQ(t.pos[1], y) << t.text;
        EXPECT_FLOAT_EQ(t.colour[0], r) << t.text;
        EXPECT_FLOAT_EQ(t.colour[1], g) << t.text;
        EXPECT_FLOAT_EQ(t.colour[2], b) << t.text;
        EXPECT_FLOAT_EQ(t.scale[0], scale) << t.text;
        EXPECT_FLOAT_EQ(t.scale[1], scale) << t.text;
    }

    GameFlow flow;
    HudInputs in;
    int rolls = 0;
};

TEST_F(HudLayoutTest, QuietFrameShowsOnlyThePlayersScore)
{
    HudFrame f = layout(37, {});
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 37"}));
    expect_item(f.texts[0], 0, 0, 0.8f, 0.6f, 0.0f, 0.75f);
    EXPECT_EQ(f.transparency_switch_at, 1u);
    EXPECT_FALSE(flow.game_over);
    EXPECT_EQ(rolls, 0);
}

TEST_F(HudLayoutTest, OpponentLinesStackUpwardLastOpponentLowest)
{
    HudFrame f = layout(0, {5, 17, 3});
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 0", "Dr. Evil 2: 3", "Dr. Evil 1: 17",
                                                  "Dr. Evil 0: 5"}));
    // Just above the player's line (0.75 x 40), then half the tallest glyph per line.
    expect_item(f.texts[1], 0, 30, 0.8f, 0, 0, 0.5f);
    expect_item(f.texts[2], 0, 50, 0.8f, 0, 0, 0.5f);
    expect_item(f.texts[3], 0, 70, 0.8f, 0, 0, 0.5f);
    EXPECT_EQ(f.transparency_switch_at, 4u);
}

TEST_F(HudLayoutTest, WinWithALowRollShowsTheTwoLineBanner)
{
    HudFrame f = layout(100, {}, 124); // 124 mod 100 = 24
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 100", "YOU ARE THE", "   BROMEL  "}));
    expect_item(f.texts[1], 20, 0.65f * 768 + 1.75f * 20, 0, 0.25f, 0.8f, 1.75f);
    expect_item(f.texts[2], 20, 0.65f * 768, 0, 0.25f, 0.8f, 1.75f);
    EXPECT_TRUE(flow.game_over);
    EXPECT_TRUE(flow.player_won);
    EXPECT_FLOAT_EQ(flow.game_over_time, 50);
    EXPECT_EQ(rolls, 1);
}

TEST_F(HudLayoutTest, WinBannerStaysTheSameWithoutRollingAgain)
{
    layout(120, {}, 25);
    in.now = 52;
    HudFrame f = layout(120, {}, 3); // a new roll would change the banner
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 120", "YOU WIN"}));
    expect_item(f.texts[1], 120, 0.55f * 768, 0, 0.25f, 0.8f, 2.25f);
    EXPECT_EQ(rolls, 1);
    EXPECT_FLOAT_EQ(flow.game_over_time, 50); // the end's time is kept
}

TEST_F(HudLayoutTest, OpponentReachingThePointsShowsTheLossBanner)
{
    HudFrame f = layout(40, {10, 100});
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 40", "YOU LOSE", "Dr. Evil 1: 100",
                                                  "Dr. Evil 0: 10"}));
    expect_item(f.texts[1], 120, 0.55f * 768, 0, 0.5f, 0.8f, 2.25f);
    EXPECT_TRUE(flow.game_over);
    EXPECT_FALSE(flow.player_won);
    EXPECT_EQ(flow.banner_roll, 100);
    EXPECT_EQ(rolls, 0);

    // The banner keeps showing on the following frames.
    in.now = 53;
    f = layout(40, {10, 100});
    EXPECT_EQ(texts(f)[1], "YOU LOSE");
    EXPECT_FLOAT_EQ(flow.game_over_time, 50);
}

TEST_F(HudLayoutTest, PlayerAndOpponentWinningOnOneFrameShowsOnlyTheWin)
{
    HudFrame f = layout(100, {100}, 60);
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 100", "YOU WIN", "Dr. Evil 0: 100"}));
}

TEST_F(HudLayoutTest, OptionMessagesAfterTheScoresInPriorityOrder)
{
    in.culling_on = false;
    in.filter = GL_NEAREST_MIPMAP_NEAREST;
    in.transparency = false;
    in.culling_changed_at = 49.5f;
    in.filter_changed_at = 49.9f;
    in.transparency_changed_at = 49.9f;
    HudFrame f = layout(0, {1});
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 0", "Dr. Evil 0: 1", "VIEW FRUSTUM CULLING: OFF"}));
    EXPECT_EQ(f.transparency_switch_at, 2u);
    expect_item(f.texts[2], 256, 768 - 20, 0, 0.1f, 0, 0.5f);

    in.now = 51.5f; // culling message 2.0 s old: gone, the filter's shows
    f = layout(0, {1});
    ASSERT_EQ(f.texts.size(), 3u);
    EXPECT_EQ(f.texts[2].text, "filtering: GL_NEAREST_MIPMAP_NEAREST");
    expect_item(f.texts[2], 256, 768 - 20, 0, 0.1f, 0, 0.5f);

    in.filter_changed_at = 40;
    f = layout(0, {1});
    ASSERT_EQ(f.texts.size(), 3u);
    EXPECT_EQ(f.texts[2].text, "TRANSPARENCY OFF");
    expect_item(f.texts[2], 256, 768 - 40, 0, 0.1f, 0, 0.5f);
}

TEST_F(HudLayoutTest, OptionMessageVanishesExactlyTwoSecondsAfterItsToggle)
{
    in.transparency_changed_at = 48;
    in.now = 49.999f;
    EXPECT_EQ(texts(layout(0, {})).back(), "TRANSPARENCY ON");
    in.now = 50;
    EXPECT_EQ(texts(layout(0, {})), (std::vector<std::string>{"you: 0"}));
}

TEST_F(HudLayoutTest, FrameRateLineOnlyWithTheFlag)
{
    in.fps_mean = 59.46f;
    EXPECT_EQ(layout(0, {}).texts.size(), 1u);
    in.show_fps = true;
    HudFrame f = layout(0, {});
    ASSERT_EQ(f.texts.size(), 2u);
    EXPECT_EQ(f.texts[1].text, " fps: 59.5");
    expect_item(f.texts[1], 0, 768 - 20, 0, 0.1f, 0, 0.5f);
    in.fps_mean = 5;
    EXPECT_EQ(layout(0, {}).texts[1].text, " fps:  5.0");
}

TEST_F(HudLayoutTest, FrameRateComesAfterTheOptionMessage)
{
    in.show_fps = true;
    in.culling_changed_at = 49;
    HudFrame f = layout(0, {});
    EXPECT_EQ(texts(f), (std::vector<std::string>{"you: 0", "VIEW FRUSTUM CULLING: ON", " fps:  0.0"}));
    EXPECT_EQ(f.transparency_switch_at, 1u);
}

} // namespace
