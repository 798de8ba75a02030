#include "Common/GameFlow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

class GameEndTest : public ::testing::Test {
protected:
    GameEndTest() { flow.winning_points = 100; }
    GameEndBanners evaluate(int player, std::vector<int> opponents, float now, int roll = 7)
    {
        return evaluate_game_end(flow, player, opponents, now, [&] { return ++rolls, roll; });
    }

    GameFlow flow;
    int rolls = 0;
};

TEST_F(GameEndTest, WhoReachedThePointsPicksTheBanner)
{
    // The scores and the roll, and the banners: the two-line one, the win and the count of losses.
    const std::tuple<const char*, int, std::vector<int>, int, bool, bool, int> cases[] = {
        {"nobody at the threshold", 99, {0, 50, 99}, 7, false, false, 0},
        {"a roll below 25 shows the two-line banner", 100, {}, 124, true, false, 0}, // 124 % 100 = 24
        {"a win and a loss on one frame show only the win", 100, {100, 120}, 60, false, true, 0},
        {"two opponents over the threshold both draw the loss", 0, {100, 100}, 7, false, false, 2},
    };
    for (const auto& [what, player, opponents, roll, bromel, win, lose] : cases) {
        SCOPED_TRACE(what);
        begin_new_game(flow);
        rolls = 0;
        GameEndBanners b = evaluate(player, opponents, 5, roll);
        EXPECT_EQ(std::tuple(b.you_are_the_bromel, b.you_win, b.you_lose), std::tuple(bromel, win, lose));
        EXPECT_EQ(std::pair(flow.game_over, flow.player_won), std::pair(bromel || win || lose > 0, bromel || win));
        EXPECT_EQ(rolls, bromel || win ? 1 : 0) << "only the player's win rolls";
    }
}

// The following frames keep the banner without drawing a new roll or taking a new time.
TEST_F(GameEndTest, TheBannerAndTheTimeOfTheEndAreKeptUntilANewGameRestartingAfterFourSeconds)
{
    evaluate(100, {0}, 12.5f, 30);
    GameEndBanners b = evaluate(110, {0}, 13.0f, 5);
    EXPECT_EQ(rolls, 1);
    EXPECT_TRUE(b.you_win);
    EXPECT_FLOAT_EQ(flow.game_over_time, 12.5f);
    begin_new_game(flow);
    b = evaluate(0, {40, 100, 3}, 20);
    EXPECT_EQ(b.you_lose, 1) << "a won game must not win the next one at once";
    b = evaluate(0, {40, 100, 3}, 21);
    EXPECT_EQ(b.you_lose, 1) << "the loss stays on screen";
    EXPECT_FLOAT_EQ(flow.game_over_time, 20);
    // The restart is due more than four seconds after the end.
    EXPECT_FALSE(restart_due(flow, 24.0f));
    EXPECT_TRUE(restart_due(flow, 24.01f));
    begin_new_game(flow);
    EXPECT_FALSE(flow.game_over);
    EXPECT_FALSE(restart_due(flow, 100));
}

TEST(OptionMessage, PriorityAndTwoSecondLife)
{
    const float never = -1.0e9f;
    EXPECT_EQ(option_message(10, never, 8.5f, never), 2);
    EXPECT_EQ(option_message(10, never, never, 8.01f), 3);
    // Culling and transparency toggled together: only the culling message, until it expires.
    EXPECT_EQ(option_message(10, 9, never, 9.5f), 1);
    EXPECT_EQ(option_message(11.1f, 9, never, 9.5f), 3);
    EXPECT_EQ(option_message(11.0f, never, 9.0f, never), 0);
    // The volume's message comes last: it shows once the others have gone.
    EXPECT_EQ(option_message(10, never, never, never, 9.0f), 4);
    EXPECT_EQ(option_message(10, never, never, 9.5f, 9.0f), 3);
    EXPECT_EQ(option_message(11.0f, never, never, never, 9.0f), 0);
}

// The sleep after a frame, in seconds: frame time so far, cap, swap control, sleep.
TEST(FrameCap, SleepsOutTheRestOfAFrameOnlyWithoutSwapControl)
{
    const std::tuple<double, int, bool, double> cases[] = {
        {0.004, 60, false, 1.0 / 60 - 0.004}, // a quick frame waits for its share
        {-0.001, 50, false, 0.02},            // a clock stepping back counts as no time
        {0.02, 60, false, 0.0},               // a slow frame goes on at once
        {1.0 / 60, 60, false, 0.0},
        {0.004, 60, true, 0.0},               // swap control paces the frames already
        {0.004, 0, false, 0.0},               // no cap
        {0.004, -5, false, 0.0},
    };
    for (const auto& [frame, max_fps, swap_control, sleep] : cases)
        EXPECT_NEAR(frame_cap_sleep(frame, max_fps, swap_control), sleep, 1e-12) << frame << " " << max_fps;
}

// The input step of a frame: paused, a game over, the restart due.
TEST(InputStep, KeysOnlyWhileAGameRunsAndTheRestartNeverWhilePaused)
{
    const std::tuple<bool, bool, bool, InputStep> cases[] = {
        {false, false, false, InputStep::Play},
        {false, false, true, InputStep::Play},
        {false, true, false, InputStep::WindowOnly},
        {false, true, true, InputStep::Restart},
        {true, true, true, InputStep::WindowOnly},
    };
    for (const auto& [paused, over, due, step] : cases)
        EXPECT_EQ(input_step(paused, over, due), step) << paused << over << due;
}

TEST(FrameTime, CappedOnlyWhenCheckedTheFirstTenFramesStepFixedAndTheRateIsTheMeanOfTheLast24)
{
    EXPECT_FLOAT_EQ(cap_frame_time(0.5f, false, 0.05f), 0.5f);
    EXPECT_FLOAT_EQ(cap_frame_time(0.5f, true, 0.05f), 0.05f);
    EXPECT_FLOAT_EQ(cap_frame_time(0.01f, true, 0.05f), 0.01f);
    for (unsigned f = 0; f < 10; ++f) EXPECT_FLOAT_EQ(physics_step(f, 0.7f, 2.0f), 0.04f);
    EXPECT_FLOAT_EQ(physics_step(10, 0.01f, 2.0f), 0.02f);
    // The rate shown is the mean of the last 24 frames.
    FpsRing ring;
    for (int i = 0; i < 24; ++i) ring.push(20);
    EXPECT_FLOAT_EQ(ring.mean(), 50);
    for (int i = 0; i < 12; ++i) ring.push(10);
    EXPECT_FLOAT_EQ(ring.mean(), 75);
    ring.push(0); // faster than the clock: counted as 1 ms, not infinity
    EXPECT_TRUE(std::isfinite(ring.mean()));
}

} // namespace
