// The help on screen and the pause as a player meets them, through the X server's own input:
// the first game opens with the keys shown and waits for a driving key, F1 brings them back
// over the running game, and the pause (its key, or a lost focus) holds the hover and the
// scores until the player goes on.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"
#include "e2e/PlayLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The help's panel darkens the scene behind it; only its text stands out there, light.
struct HelpLook {
    double dark = 0, text = 0;
};

HelpLook help_look(const Image& img)
{
    // A region inside the panel at every window size, clear of the score lines.
    const int x0 = img.width / 5, x1 = img.width * 4 / 5, y0 = img.height / 8, y1 = img.height / 2;
    return {fraction_where(img, x0, y0, x1, y1, [](const unsigned char* p) { return std::max({p[0], p[1], p[2]}) < 80; }),
            fraction_where(img, x0, y0, x1, y1, [](const unsigned char* p) { return p[0] + p[1] + p[2] > 3 * 170; })};
}

::testing::AssertionResult shows_help(const Image& img, const std::string& name)
{
    if (img.empty()) return ::testing::AssertionFailure() << "no picture " << name;
    const HelpLook look = help_look(img);
    if (look.dark > 0.6 && look.text > 0.002) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << ": dark " << look.dark << ", text " << look.text;
}

// The hover's lines from `from` to `to` (indices, `to` not included) are all the same line.
// (The first frame of a pause still shows the physics step of the frame before it.)
::testing::AssertionResult stood_still(const PlayLog& play, size_t from, size_t to)
{
    if (to > play.player.size() || to < from + 2) return ::testing::AssertionFailure() << from << ".." << to;
    const PlayerLine& a = play.player[from];
    for (size_t i = from + 1; i < to; ++i) {
        const PlayerLine& b = play.player[i];
        if (b.t != a.t || b.x != a.x || b.y != a.y || b.z != a.z || b.heading != a.heading)
            return ::testing::AssertionFailure() << "line " << i << " moved: t " << a.t << " -> " << b.t << ", "
                                                 << moved(a, b) << " units";
    }
    return ::testing::AssertionSuccess();
}

// No MOORHOLD_FRAMES: a player's own start. The screenshot seam writes the frame that Escape
// ended, with the help shown again.
TEST(HelpOnScreen, TheFirstGameWaitsWithTheKeysShownForADrivingKeyAndF1ShowsThemOverTheGame)
{
    RunOptions opt = session(R"(
        wait_for 'the first game waits for a driving key' 240 && wait_more 'player: ' 5 &&
        snapshot waiting && mark wait && sleep 2 && mark drive && hold Up 1 && wait_for 'game goes on' &&
        wait_more 'player: ' 5 && snapshot playing && mark help && tap F1 && wait_more 'player: ' 5 &&
        mark escape && press Escape)", {{"MOORHOLD_LOG_PLAYER", "1"}}, 640, 480);
    opt.frames = -1;
    opt.screenshot = true;
    GameRun run = run_game(opt);
    ASSERT_TRUE(ran_cleanly(run));
    EXPECT_TRUE(appear_in_order(run.log, {"the first game waits for a driving key", "input: drive", "game goes on",
                                          "input: help", "input: escape", "SDLGL destructor finished!"}))
        << run.log;

    PlayLog play(run.log);
    const LogEntry *wait = play.mark("wait"), *drive = play.mark("drive");
    ASSERT_TRUE(wait && drive) << run.log;
    EXPECT_TRUE(stood_still(play, wait->player_index, drive->player_index)) << "the game waits without moving";
    EXPECT_GE(drive->seconds - wait->seconds, 2.0);

    EXPECT_TRUE(shows_help(snapshot_of(run, "waiting"), "the first game's start"));
    EXPECT_LT(help_look(snapshot_of(run, "playing")).dark, 0.3) << "the help goes when the game starts";
    EXPECT_TRUE(shows_help(run.screenshot, "F1 over the game"));
    EXPECT_EQ(run.screenshot.width, 640);
    EXPECT_EQ(run.screenshot.height, 480);
}

// The autopilot drives and scores (crystals dropped often, no end to the game); the player
// pauses with T, later the window loses the focus, and each time the game stands until T.
TEST(Pause, HoldsTheHoverAndTheScoresUntilThePlayerGoesOnByTheKeyOrAfterALostFocus)
{
    RunOptions opt = session(R"(
        wait_lines 'score: ' 1 400 && mark pause && tap t && wait_for 'game paused' && sleep 3 &&
        mark resume && tap t && wait_for 'game goes on' && wait_more 'score: ' 1 400 &&
        mark away && focus_away && wait_for 'game paused: the window lost the input focus' && sleep 3 &&
        focus_back && sleep 1 && mark again && tap t && wait_lines 'game goes on' 2 && wait_more 'player: ' 10 &&
        press Escape)", {{"MOORHOLD_AUTOPILOT", "1"}, {"MOORHOLD_LOG_PLAYER", "1"}, {"MOORHOLD_LOG_SCORES", "1"}},
        320, 240, [](const std::filesystem::path& dir) {
            set_key(dir / "config/levels/level1.p", "winning_points", "100000");
            set_key(dir / "config/objects/defaultEskel.p", "minDrop", "10");
            set_key(dir / "config/objects/defaultEskel.p", "maxDrop", "20");
        });
    opt.timeout_seconds = 550;
    GameRun run = run_game(opt);
    ASSERT_TRUE(ran_cleanly(run, false));

    PlayLog play(run.log);
    const LogEntry *pause = play.mark("pause"), *resume = play.mark("resume"), *away = play.mark("away"),
                   *again = play.mark("again");
    const LogEntry *paused = play.line("game paused"), *lost = play.line("game paused: the window lost");
    ASSERT_TRUE(pause && resume && away && again && paused && lost) << run.log;

    // The pause key: at least 3 s of wall time, frames drawn all along, nothing moved or scored.
    EXPECT_GE(resume->seconds - pause->seconds, 3.0);
    EXPECT_GE(resume->player_index - paused->player_index, 3u) << "frames are drawn while paused";
    EXPECT_TRUE(stood_still(play, paused->player_index, resume->player_index));
    EXPECT_EQ(play.count("score: ", *paused, *resume), 0);
    // Going on: the hover moves again, the game's seconds run, and the scores go on.
    const PlayerLine& held = play.player[resume->player_index - 1];
    const PlayerLine& later = play.player[away->player_index - 1];
    EXPECT_GT(later.t, held.t);
    EXPECT_GT(moved(held, later), 1.0);
    EXPECT_GE(play.count("score: ", *resume, *away), 1);

    // The lost focus: the game stands, and it stays paused when the focus comes back, until T.
    EXPECT_TRUE(stood_still(play, lost->player_index, again->player_index));
    EXPECT_EQ(play.count("score: ", *lost, *again), 0);
    EXPECT_EQ(play.count("game goes on", *lost, *again), 0) << "the focus back is no resume";
    EXPECT_GT(play.player.back().t, play.player[again->player_index - 1].t);
}

} // namespace
