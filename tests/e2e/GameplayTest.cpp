// The race as a player sees it: the autopilot against the five opponents through games and a
// restart, and the follow camera's view of the hover on a level scattered alike on every run.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

// The opponents' score lines are drawn in pure (0.8, 0, 0); the lit hull always keeps some
// green and blue, so neither is taken for the other.
bool hud_red(const unsigned char* p) { return p[0] > 100 && p[1] <= 6 && p[2] <= 6; }

// The hover's hull and rotor rings: strongly red, as neither the moor, the water nor the sky is.
bool hover_red(const unsigned char* p)
{
    return p[0] > 100 && p[0] > 1.7 * p[1] && p[0] > 1.7 * p[2] && !hud_red(p);
}

// Bands of score text in the HUD's left column: one per "Dr. Evil" line.
int red_text_lines(const Image& img, int x1, int y0, int y1)
{
    int lines = 0;
    bool inside = false;
    for (int y = y0; y < y1; ++y) {
        bool red = fraction_where(img, 0, y, x1, y + 1, hud_red) > 0;
        if (red && !inside) ++lines;
        inside = red;
    }
    return lines;
}

// The scattering's report of each scenery group, in order.
std::vector<std::string> tree_counts(const std::string& log)
{
    const std::regex found(R"(tried \d+ positions and found \d+ valid tree positions)");
    std::vector<std::string> all;
    for (std::sregex_iterator it(log.begin(), log.end(), found), end; it != end; ++it) all.push_back(it->str());
    return all;
}

} // namespace

TEST(Gameplay, TheAutopilotRacesThroughAGameARestartAndOn)
{
    // Who reaches a crystal first is the race's chance, and the five opponents take most of
    // them: the player's autopilot went without one in 3 runs of 22. 1000 frames
    // give both games of the run time to end.
    RunOptions opt;
    opt.frames = 1000;
    opt.screenshot = false;
    opt.timeout_seconds = 550;
    opt.env = {{"MOORHOLD_AUTOPILOT", "1"}, {"MOORHOLD_LOG_SCORES", "1"}};
    opt.prepare = [](const std::filesystem::path& dir) {
        set_key(dir / "config/levels/level1.p", "winning_points", "30");
        use_small_window(dir);
    };
    GameRun run = run_game(opt);
    ASSERT_TRUE(ran_cleanly(run, false));

    const std::regex score_line(R"(score: (player|opponent [0-4]) (\d+) \(crystal 10x(\d)\))");
    int player_scores = 0, opponent_scores = 0;
    for (std::sregex_iterator it(run.log.begin(), run.log.end(), score_line), end; it != end; ++it) {
        const std::smatch& m = *it;
        int points = std::stoi(m[2]), multiplier = std::stoi(m[3]);
        EXPECT_EQ(points, 10 * multiplier) << m[0];
        EXPECT_GE(multiplier, 1) << m[0];
        EXPECT_LE(multiplier, 6) << m[0]; // one chase notice per opponent at most
        (m[1] == "player" ? player_scores : opponent_scores)++;
    }
    EXPECT_GE(player_scores + opponent_scores, 2) << run.log;
    EXPECT_GE(opponent_scores, 1) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"score: ", "game over: ", "RESTART GAME!!!!", "score: "})) << run.log;
    EXPECT_EQ(count_of(run.log, "player: "), 0) << "the player's log is off unless asked for";
}

TEST(Gameplay, TheFollowCameraShowsTheHoverInTheLowerMiddleOnTheSameLevelEveryRun)
{
    GameRun run = run_game(200, {{"MOORHOLD_AUTOPILOT", "1"}}, nullptr, true);
    ASSERT_TRUE(ran_cleanly(run));
    const Image& img = run.screenshot;
    const int w = img.width, h = img.height;
    // The regions lie right of the score column, whose blurred glyph edges look like a hull.
    double middle = fraction_where(img, w * 3 / 10, h * 45 / 100, w * 7 / 10, h * 8 / 10, hover_red);
    Share view = share_of(img, w / 5, 0, w, h);
    int evil_lines = red_text_lines(img, w / 6, h / 2, h * 95 / 100);
    // The "you:" line: orange-yellow text in the bottom-left corner.
    double you = fraction_where(img, 0, h * 93 / 100, w / 8, h, you_text);
    // The hull fills a tenth of a percent to two percent of the region, depending on the
    // slope it is on (on a steep face of the tor the camera sees it from below). Nothing is
    // judged elsewhere in the picture: the opponents race the same hulls, and one passing
    // close to the camera fills the top of it.
    EXPECT_GT(middle, 0.001);
    EXPECT_GT(view.grass + view.rock + view.sand, 0.2) << view;
    EXPECT_EQ(evil_lines, 5);
    EXPECT_GT(you, 0.03);

    // The level is scattered alike on every run, whatever the window and the driver.
    GameRun other = run_game(14, {}, [](const std::filesystem::path& dir) { use_small_window(dir, 320, 240); });
    ASSERT_EQ(other.exit_code, 0) << other.log;
    EXPECT_EQ(tree_counts(run.log).size(), 3u);
    EXPECT_EQ(tree_counts(run.log), tree_counts(other.log));
}
