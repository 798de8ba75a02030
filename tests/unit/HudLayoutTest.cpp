// The display's layout: which texts, in which order, where, in which colour and size. When the
// game ends and which banner it shows are the game flow's rules (GameFlowTest).
#include "Common/Hud.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

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

    // Each text as "text @x,y r/g/b xscale".
    Lines layout(int player, const std::vector<int>& opponents, int roll = 0)
    {
        frame = hud_layout(evaluate_game_end(flow, player, opponents, in.now, [roll] { return roll; }), player, opponents,
                           in);
        Lines out;
        for (const HudText& t : frame.texts) {
            char look[96];
            std::snprintf(look, sizeof look, " @%g,%g %g/%g/%g x%g", t.pos[0], t.pos[1], t.colour[0], t.colour[1],
                          t.colour[2], t.scale[0]);
            EXPECT_EQ(t.scale[0], t.scale[1]) << t.text;
            out.push_back(t.text + look);
        }
        return out;
    }

    GameFlow flow;
    HudInputs in;
    HudFrame frame;
};

const std::string kYou0 = "you: 0 @0,0 0.8/0.6/0 x0.75";

// The opponents stand just above the player's line (0.75 x 40), half the tallest glyph apart.
TEST_F(HudLayoutTest, ScoresThePlayerAtTheCornerAndTheOpponentsStackedAboveLastLowest)
{
    EXPECT_EQ(layout(37, {}), Lines{"you: 37 @0,0 0.8/0.6/0 x0.75"});
    EXPECT_EQ(frame.transparency_switch_at, 1u);
    EXPECT_EQ(layout(0, {5, 17, 3}), (Lines{kYou0, "Dr. Evil 2: 3 @0,30 0.8/0/0 x0.5",
                                            "Dr. Evil 1: 17 @0,50 0.8/0/0 x0.5", "Dr. Evil 0: 5 @0,70 0.8/0/0 x0.5"}));
    EXPECT_EQ(frame.transparency_switch_at, 4u);
    // The opponents' level tops the column, with the one chosen for the next game.
    in.level_in_use = "normal";
    EXPECT_EQ(layout(0, {5}), (Lines{kYou0, "Dr. Evil 0: 5 @0,30 0.8/0/0 x0.5", "level normal @0,50 0.75/0.75/0.75 x0.5"}));
    in.level_next = "hard";
    EXPECT_EQ(layout(0, {}).back(), "level normal, next hard @0,30 0.75/0.75/0.75 x0.5");
}

TEST_F(HudLayoutTest, BannersComeBeforeTheOpponentLines)
{
    const std::tuple<int, std::vector<int>, int, Lines> cases[] = { // the scores, the roll and the lines
        {100, {}, 124, {"you: 100 @0,0 0.8/0.6/0 x0.75", "YOU ARE THE @20,534.2 0/0.25/0.8 x1.75",
                        "   BROMEL   @20,499.2 0/0.25/0.8 x1.75"}},
        {120, {}, 25, {"you: 120 @0,0 0.8/0.6/0 x0.75", "YOU WIN @120,422.4 0/0.25/0.8 x2.25"}},
        {40, {10, 100}, 0, {"you: 40 @0,0 0.8/0.6/0 x0.75", "YOU LOSE @120,422.4 0/0.5/0.8 x2.25",
                            "Dr. Evil 1: 100 @0,30 0.8/0/0 x0.5", "Dr. Evil 0: 10 @0,50 0.8/0/0 x0.5"}},
    };
    for (const auto& [player, opponents, roll, lines] : cases) {
        begin_new_game(flow);
        EXPECT_EQ(layout(player, opponents, roll), lines);
    }
}

TEST_F(HudLayoutTest, OptionMessagesComeAfterTheScoresAtTheTopAndTheFrameRateLineLastWithItsFlag)
{
    // The option changed, the culling, the transparency and the filter, and the message. The
    // solid font (transparency off) draws each glyph on a black box: its messages are lifted
    // from the dark green to full green, which reads there.
    in.volume_percent = 70;
    const std::tuple<float*, bool, bool, GLint, const char*> cases[] = {
        {&in.culling_changed_at, false, true, GL_LINEAR, "VIEW FRUSTUM CULLING: OFF @256,748 0/0.1/0 x0.5"},
        {&in.filter_changed_at, true, true, GL_NEAREST_MIPMAP_NEAREST,
         "filtering: GL_NEAREST_MIPMAP_NEAREST @256,748 0/0.1/0 x0.5"},
        {&in.transparency_changed_at, true, false, GL_LINEAR, "TRANSPARENCY OFF @256,728 0/1/0 x0.5"},
        {&in.volume_changed_at, true, true, GL_LINEAR, "VOLUME: 70% @256,748 0/0.1/0 x0.5"},
        {&in.culling_changed_at, true, false, GL_LINEAR, "VIEW FRUSTUM CULLING: ON @256,748 0/1/0 x0.5"},
    };
    for (const auto& [changed_at, culling_on, transparency, filter, line] : cases) {
        in.culling_changed_at = in.filter_changed_at = in.transparency_changed_at = in.volume_changed_at = -1.0e9f;
        *changed_at = 49.5f;
        in.culling_on = culling_on;
        in.transparency = transparency;
        in.filter = filter;
        EXPECT_EQ(layout(0, {1}), (Lines{kYou0, "Dr. Evil 0: 1 @0,30 0.8/0/0 x0.5", line}));
        EXPECT_EQ(frame.transparency_switch_at, 2u) << "the font turns transparent for the messages";
    }
    // The frame rate's line only with the flag, and last.
    in.culling_changed_at = in.filter_changed_at = in.transparency_changed_at = in.volume_changed_at = -1.0e9f;
    in.transparency = true;
    in.fps_mean = 59.46f;
    EXPECT_EQ(layout(0, {}), Lines{kYou0});
    in.show_fps = true;
    EXPECT_EQ(layout(0, {}), (Lines{kYou0, " fps: 59.5 @0,748 0/0.1/0 x0.5"}));
    in.fps_mean = 5;
    in.culling_changed_at = 49;
    EXPECT_EQ(layout(0, {}),
              (Lines{kYou0, "VIEW FRUSTUM CULLING: ON @256,748 0/0.1/0 x0.5", " fps:  5.0 @0,748 0/0.1/0 x0.5"}));
}

} // namespace
