// The help on screen and the pause's words: every line inside its panel, none over another,
// the score lines left free, at every window size; what heads the help in each state.
#include "Common/FontManager.h"
#include "Common/HelpScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class HelpScreenTest : public ::testing::Test {
protected:
    HelpScreenTest()
    {
        // A font of 20 x 50 pixel glyphs (a blank advances 2.5 times that, as the game's does).
        for (Glyph& g : glyphs) g = Glyph{0, 0, 20, 50};
        for (int i = 0; i < 35; ++i)
            rows.push_back(HelpRow{"Right arrow / D", "right", "turn right (free camera: fly right)"});
        in.glyphs = glyphs;
        in.max_char_h = 50;
        in.score_lines = 5;
        in.rows = &rows;
        in.help_keys = "F1 / H";
        in.pause_keys = "Pause / T";
    }

    float width(const HudText& t) const { return text_width(glyphs, t.text.c_str(), t.scale[0]); }

    Glyph glyphs[256];
    std::vector<HelpRow> rows;
    OverlayInputs in;
};

TEST_F(HelpScreenTest, TheRowsFitThePanelAboveTheScoresAtEverySizeWithoutOverlapping)
{
    const int sizes[][2] = {{200, 200}, {400, 300}, {640, 480}, {800, 600}, {1024, 768}, {1200, 900}, {1920, 1080}};
    for (const auto& size : sizes) {
        in.width = size[0];
        in.height = size[1];
        in.help = true;
        in.pause = PauseReason::Start; // two headings: the call to start and the help's own
        const Overlay o = overlay_layout(in);
        ASSERT_TRUE(o.panel);
        const float* r = o.panel_rect;
        EXPECT_GE(r[1], (0.75f + 0.5f * 5) * 50) << size[0] << " the score lines stay free";
        EXPECT_LE(r[3], size[1]);
        EXPECT_LE(o.scale, kHelpMaxScale);
        ASSERT_EQ(o.texts.size(), 2 + 2 * rows.size()) << "two headings, then keys and words of every row";
        for (size_t i = 0; i < o.texts.size(); ++i) {
            const HudText& a = o.texts[i];
            const float ax1 = a.pos[0] + width(a), ay1 = a.pos[1] + 50 * a.scale[1];
            EXPECT_GE(a.pos[0], r[0]) << size[0] << " " << a.text;
            EXPECT_LE(ax1, r[2] + 0.01f) << size[0] << " " << a.text;
            EXPECT_GE(a.pos[1], r[1]) << size[0] << " " << a.text;
            EXPECT_LE(ay1, r[3] + 0.01f) << size[0] << " " << a.text;
            for (size_t j = i + 1; j < o.texts.size(); ++j) {
                const HudText& b = o.texts[j];
                const bool apart = ax1 <= b.pos[0] + 0.01f || b.pos[0] + width(b) <= a.pos[0] + 0.01f ||
                                   ay1 <= b.pos[1] + 0.01f || b.pos[1] + 50 * b.scale[1] <= a.pos[1] + 0.01f;
                EXPECT_TRUE(apart) << size[0] << ": \"" << a.text << "\" over \"" << b.text << "\"";
            }
        }
    }
    // A large window shows the rows at the largest scale.
    in.width = 1920;
    in.height = 1080;
    EXPECT_FLOAT_EQ(overlay_layout(in).scale, kHelpMaxScale);
}

TEST_F(HelpScreenTest, TheStateOfTheGameHeadsTheHelpOrStandsAloneWithoutIt)
{
    in.width = 1024;
    in.height = 768;
    // With the help: its first line, by state; the next says how to hide it.
    const std::pair<PauseReason, const char*> heads[] = {{PauseReason::None, "CONTROLS (F1 / H hides them)"},
                                                         {PauseReason::Start, "PRESS A DRIVING KEY TO START"},
                                                         {PauseReason::Player, "PAUSED: Pause / T goes on"}};
    in.help = true;
    for (const auto& [pause, head] : heads) {
        in.pause = pause;
        const Overlay o = overlay_layout(in);
        ASSERT_FALSE(o.texts.empty());
        EXPECT_EQ(o.texts[0].text, head);
    }
    in.help = false;
    in.pause = PauseReason::None;
    const Overlay nothing = overlay_layout(in);
    EXPECT_FALSE(nothing.panel);
    EXPECT_TRUE(nothing.texts.empty());
    in.pause = PauseReason::Focus;
    const Overlay paused = overlay_layout(in);
    ASSERT_EQ(paused.texts.size(), 2u);
    EXPECT_EQ(paused.texts[0].text, "PAUSED");
    EXPECT_EQ(paused.texts[1].text, "Pause / T: go on");
    for (const HudText& t : paused.texts) EXPECT_NEAR(t.pos[0] + 0.5f * width(t), 512, 0.01f) << t.text;
    EXPECT_GT(paused.texts[0].pos[1], paused.texts[1].pos[1]);
    in.pause = PauseReason::Start;
    EXPECT_EQ(overlay_layout(in).texts.at(0).text, "PRESS A DRIVING KEY TO START");
    // A pad adds its line under the rows.
    in.help = true;
    in.pad_line = "Gamepad X: stick or pad drives";
    EXPECT_EQ(overlay_layout(in).texts.back().text, in.pad_line);
}

} // namespace
