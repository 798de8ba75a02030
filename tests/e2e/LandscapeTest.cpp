// What the landscape looks like: the sky above, sand, grass and rock where they belong,
// water that reflects the sky and the shore and moves, the debug view of the intermediate
// images, and no OpenGL error in a long run with every display switch.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace {

// Poses in graphics units (the map spans 0 .. 16384 on x and z; the water lies at y = 0),
// yaw and pitch in degrees; yaw 0 looks north (-z), -90 west.
const char* kStartPose = "0 230 100 0 -45";      // the eye's start-up pose
const char* kHighPose = "8192 3000 14000 0 -25"; // high over the south of the island
const char* kShorePose = "15500 60 8000 -90 -4";  // low over the east sea, facing the coast
const char* kSlopePose = "8192 1300 10800 0 -12"; // along the slope of the central tor

GameRun shoot(const char* pose, long frames = 20,
              std::vector<std::pair<std::string, std::string>> env = {})
{
    RunOptions opt;
    opt.frames = frames;
    opt.env = std::move(env);
    opt.env.emplace_back("MOORHOLD_EYE", pose);
    return run_game(opt);
}

void expect_clean(const GameRun& run)
{
    ASSERT_EQ(run.exit_code, 0) << run.log;
    ASSERT_FALSE(run.screenshot.empty()) << run.log;
    EXPECT_EQ(count_of(run.log, "OpenGL ERROR"), 0) << run.log;
    EXPECT_EQ(count_of(run.log, "Failed to compile"), 0) << run.log;
}

TEST(Landscape, HighAboveTheLand)
{
    GameRun run = shoot(kHighPose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share top = share_of(img, 0, 0, img.width, img.height / 12);
    Share land = share_of(img, 0, img.height * 4 / 10, img.width, img.height);
    std::cout << "top: " << top << "\nland: " << land << "\n";
    EXPECT_GT(top.sky, 0.9);
    EXPECT_GT(land.grass, 0.3);
    EXPECT_GT(land.rock, 0.03);
    EXPECT_GT(land.sand, 0.005);
    EXPECT_GT(land.water, 0.03);
}

TEST(Landscape, LowOverTheWaterFacingTheShore)
{
    GameRun run = shoot(kShorePose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share top = share_of(img, 0, 0, img.width, img.height / 5);
    Share bottom = share_of(img, 0, img.height * 7 / 10, img.width, img.height);
    std::cout << "top: " << top << "\nbottom: " << bottom << "\n";
    EXPECT_GT(top.sky, 0.9);
    EXPECT_GT(bottom.water, 0.8);
}

TEST(Landscape, AlongASlope)
{
    GameRun run = shoot(kSlopePose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share top = share_of(img, 0, 0, img.width, img.height / 12);
    Share middle = share_of(img, img.width / 4, img.height / 3, img.width * 3 / 4, img.height * 2 / 3);
    std::cout << "top: " << top << "\nmiddle: " << middle << "\n";
    EXPECT_GT(top.sky, 0.6);
    EXPECT_GT(middle.rock, 0.5);
}

TEST(Landscape, StartPoseLooksDownAtTheSea)
{
    GameRun run = shoot(kStartPose);
    expect_clean(run);
    const Image& img = run.screenshot;
    Share all = share_of(img, 0, 0, img.width, img.height * 9 / 10);
    std::cout << "all: " << all << "\n";
    EXPECT_GT(all.water, 0.7);
    EXPECT_GT(brightness_spread(img, 0, 0, img.width, img.height / 2), 2.0) << "the sea has waves";
}

} // namespace
