// The display's layout: which texts, in which order, where, in which colour and size. When the
// game ends and which banner it shows are the game flow's rules (GameFlowTest).
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

    HudFrame layout(int player, const std::vector<int>& opponents, int roll = 0)
    {
        return hud_layout(flow, player, opponents, in, [roll] { return roll; });
    }

    static std::vector<std::string> texts(const HudFrame& f)
    {
        std::vector<std::string> out;
        for (const HudText& t : f.texts) out.push_back(t.text);
        return out;
    }

    struct Look {
        float x, y, r, g, b, scale;
    };
    static void expect_look(const HudText& t, const Look& l)
    {
        EXPECT_FLOAT_EQ(t.pos[0], l.x) << t.text;
        EXPECT_FLOAT_EQ(t.pos[1], l.y) << t.text;
        EXPECT_FLOAT_EQ(t.colour[0], l.r) << t.text;
        EXPECT_FLOAT_EQ(t.colour[1], l.g) << t.text;
        EXPECT_FLOAT_EQ(t.colour[2], l.b) << t.text;
        EXPECT_FLOAT_EQ(t.scale[0], l.scale) << t.text;
        EXPECT_FLOAT_EQ(t.scale[1], l.scale) << t.text;
    }

    GameFlow flow;
    HudInputs in;
};

TEST_F(HudLayoutTest, ScoresThePlayerAtTheCornerAndTheOpponentsStackedAboveLastLowest)
{
    HudFrame f = layout(37, {});
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 37"}));
    expect_look(f.texts[0], {0, 0, 0.8f, 0.6f, 0.0f, 0.75f});
    EXPECT_EQ(f.transparency_switch_at, 1u);

    f = layout(0, {5, 17, 3});
    ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 0", "Dr. Evil 2: 3", "Dr. Evil 1: 17", "Dr. Evil 0: 5"}));
    // Just above the player's line (0.75 x 40), then half the tallest glyph per line.
    for (int i = 1; i <= 3; ++i) expect_look(f.texts[i], {0, 10.0f + 20 * i, 0.8f, 0, 0, 0.5f});
    EXPECT_EQ(f.transparency_switch_at, 4u);
}

TEST_F(HudLayoutTest, BannersComeBeforeTheOpponentLines)
{
    struct Case {
        int player;
        std::vector<int> opponents;
        int roll;
        std::vector<std::string> texts;
        std::vector<Look> banners; // of texts[1] on
    } cases[] = {
        {100, {}, 124, {"you: 100", "YOU ARE THE", "   BROMEL  "},
         {{20, 0.65f * 768 + 1.75f * 20, 0, 0.25f, 0.8f, 1.75f}, {20, 0.65f * 768, 0, 0.25f, 0.8f, 1.75f}}},
        {120, {}, 25, {"you: 120", "YOU WIN"}, {{120, 0.55f * 768, 0, 0.25f, 0.8f, 2.25f}}},
        {40, {10, 100}, 0, {"you: 40", "YOU LOSE", "Dr. Evil 1: 100", "Dr. Evil 0: 10"},
         {{120, 0.55f * 768, 0, 0.5f, 0.8f, 2.25f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts[1]);
        begin_new_game(flow);
        HudFrame f = layout(c.player, c.opponents, c.roll);
        ASSERT_EQ(texts(f), c.texts);
        for (size_t i = 0; i < c.banners.size(); ++i) expect_look(f.texts[1 + i], c.banners[i]);
    }
}

TEST_F(HudLayoutTest, OptionMessagesComeAfterTheScoresAtTheTop)
{
    struct Case {
        float* changed_at;
        bool culling_on, transparency;
        GLint filter;
        const char* text;
        float y;
    } cases[] = {
        {&in.culling_changed_at, false, true, GL_LINEAR, "VIEW FRUSTUM CULLING: OFF", 768 - 20},
        {&in.filter_changed_at, true, true, GL_NEAREST_MIPMAP_NEAREST, "filtering: GL_NEAREST_MIPMAP_NEAREST", 768 - 20},
        {&in.transparency_changed_at, true, false, GL_LINEAR, "TRANSPARENCY OFF", 768 - 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        in.culling_changed_at = in.filter_changed_at = in.transparency_changed_at = -1.0e9f;
        *c.changed_at = 49.5f;
        in.culling_on = c.culling_on;
        in.transparency = c.transparency;
        in.filter = c.filter;
        HudFrame f = layout(0, {1});
        ASSERT_EQ(texts(f), (std::vector<std::string>{"you: 0", "Dr. Evil 0: 1", c.text}));
        EXPECT_EQ(f.transparency_switch_at, 2u) << "the font turns transparent for the messages";
        expect_look(f.texts[2], {256, c.y, 0, 0.1f, 0, 0.5f});
    }
}

TEST_F(HudLayoutTest, FrameRateLineOnlyWithTheFlagAndLast)
{
    in.fps_mean = 59.46f;
    EXPECT_EQ(layout(0, {}).texts.size(), 1u);
    in.show_fps = true;
    HudFrame f = layout(0, {});
    ASSERT_EQ(f.texts.size(), 2u);
    EXPECT_EQ(f.texts[1].text, " fps: 59.5");
    expect_look(f.texts[1], {0, 768 - 20, 0, 0.1f, 0, 0.5f});
    in.fps_mean = 5;
    in.culling_changed_at = 49;
    f = layout(0, {});
    EXPECT_EQ(texts(f), (std::vector<std::string>{"you: 0", "VIEW FRUSTUM CULLING: ON", " fps:  5.0"}));
    EXPECT_EQ(f.transparency_switch_at, 1u);
}

} // namespace
