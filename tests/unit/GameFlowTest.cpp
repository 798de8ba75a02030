#include "Common/GameFlow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int fixed_roll(int value, int* calls)
{
    ++*calls;
    return value;
}

class GameEndTest : public ::testing::Test {
protected:
    GameEndTest() { flow.winning_points = 100; }
    GameEndBanners evaluate(int player, std::vector<int> opponents, float now, int roll = 7)
    {
        return evaluate_game_end(flow, player, opponents, now, [&] { return fixed_roll(roll, &rolls); });
    }
    GameFlow flow;
    int rolls = 0;
};

TEST_F(GameEndTest, NobodyAtTheThresholdShowsNothing)
{
    GameEndBanners b = evaluate(99, {0, 50, 99}, 10);
    EXPECT_FALSE(b.you_are_the_bromel || b.you_win || b.you_lose);
    EXPECT_FALSE(flow.game_over);
    EXPECT_EQ(rolls, 0);
}

TEST_F(GameEndTest, PlayerWinDrawsBannerOnceAndRemembersTime)
{
    GameEndBanners b = evaluate(100, {0}, 12.5f, 30);
    EXPECT_TRUE(flow.game_over);
    EXPECT_TRUE(flow.player_won);
    EXPECT_FLOAT_EQ(flow.game_over_time, 12.5f);
    EXPECT_EQ(flow.banner_roll, 30);
    EXPECT_TRUE(b.you_win);
    EXPECT_FALSE(b.you_are_the_bromel);
    // The following frames keep the banner without drawing a new roll or time.
    b = evaluate(110, {0}, 13.0f, 5);
    EXPECT_EQ(rolls, 1);
    EXPECT_TRUE(b.you_win);
    EXPECT_FLOAT_EQ(flow.game_over_time, 12.5f);
}

TEST_F(GameEndTest, RollBelow25ShowsTheTwoLineBanner)
{
    GameEndBanners b = evaluate(100, {}, 1, 124); // 124 % 100 = 24
    EXPECT_TRUE(b.you_are_the_bromel);
    EXPECT_FALSE(b.you_win);
    EXPECT_EQ(flow.banner_roll, 24);
}

TEST_F(GameEndTest, OpponentWinShowsLossAndEndsTheGame)
{
    GameEndBanners b = evaluate(40, {10, 100, 3}, 20);
    EXPECT_EQ(b.you_lose, 1);
    EXPECT_TRUE(flow.game_over);
    EXPECT_FALSE(flow.player_won);
    EXPECT_EQ(flow.banner_roll, 100);
    EXPECT_FLOAT_EQ(flow.game_over_time, 20);
    b = evaluate(40, {10, 100, 3}, 21);
    EXPECT_EQ(b.you_lose, 1);
    EXPECT_FLOAT_EQ(flow.game_over_time, 20);
}

TEST_F(GameEndTest, WinAndLossOnTheSameFrameShowsOnlyTheWin)
{
    GameEndBanners b = evaluate(100, {100, 120}, 5, 60);
    EXPECT_TRUE(b.you_win);
    EXPECT_EQ(b.you_lose, 0);
    EXPECT_TRUE(flow.player_won);
}

TEST_F(GameEndTest, TwoOpponentsOverTheThresholdBothDrawTheLoss)
{
    GameEndBanners b = evaluate(0, {100, 100}, 5);
    EXPECT_EQ(b.you_lose, 2);
}

TEST_F(GameEndTest, RestartAfterMoreThanFourSeconds)
{
    evaluate(0, {100}, 10);
    EXPECT_FALSE(restart_due(flow, 14.0f));
    EXPECT_TRUE(restart_due(flow, 14.01f));
    begin_new_game(flow);
    EXPECT_FALSE(flow.game_over);
    EXPECT_FALSE(restart_due(flow, 100));
}

TEST_F(GameEndTest, NewGameAfterAWinDoesNotEndAtOnce)
{
    evaluate(100, {}, 1);
    begin_new_game(flow);
    GameEndBanners b = evaluate(0, {0}, 6);
    EXPECT_FALSE(flow.game_over);
    EXPECT_FALSE(b.you_win || b.you_are_the_bromel);
}

TEST(OptionMessage, PriorityAndTwoSecondLife)
{
    const float never = -1.0e9f;
    EXPECT_EQ(option_message(10, never, never, never), 0);
    EXPECT_EQ(option_message(10, 9, never, never), 1);
    EXPECT_EQ(option_message(10, never, 8.5f, never), 2);
    EXPECT_EQ(option_message(10, never, never, 8.01f), 3);
    // Culling and transparency toggled together: only the culling message, until it expires.
    EXPECT_EQ(option_message(10, 9, never, 9.5f), 1);
    EXPECT_EQ(option_message(11.1f, 9, never, 9.5f), 3);
    EXPECT_EQ(option_message(11.0f, never, 9.0f, never), 0);
}

TEST(FrameTime, CapOnlyWhenChecked)
{
    EXPECT_FLOAT_EQ(cap_frame_time(0.5f, false, 0.05f), 0.5f);
    EXPECT_FLOAT_EQ(cap_frame_time(0.5f, true, 0.05f), 0.05f);
    EXPECT_FLOAT_EQ(cap_frame_time(0.01f, true, 0.05f), 0.01f);
}

TEST(FrameTime, FirstTenFramesStepFixed)
{
    for (unsigned f = 0; f < 10; ++f) EXPECT_FLOAT_EQ(physics_step(f, 0.7f, 2.0f), 0.04f);
    EXPECT_FLOAT_EQ(physics_step(10, 0.01f, 2.0f), 0.02f);
}

TEST(FpsRing, MeanOfTheLast24Frames)
{
    FpsRing ring;
    for (int i = 0; i < 24; ++i) ring.push(20);
    EXPECT_FLOAT_EQ(ring.mean(), 50);
    for (int i = 0; i < 12; ++i) ring.push(10);
    EXPECT_FLOAT_EQ(ring.mean(), 75);
    ring.push(0); // faster than the clock: counted as 1 ms, not infinity
    EXPECT_TRUE(std::isfinite(ring.mean()));
}

} // namespace
