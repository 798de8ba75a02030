// The window as a player handles it, through the X server: resized by its edge to other sizes
// and back, full screen and back, each time a picture that fills it, judged from what the X
// server shows of the window.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A picture that fills its window: the size asked for, no dark strip along the right or the
// top where a drawing surface of another size would end, the scene across it and the
// player's "you:" line in the bottom-left corner.
::testing::AssertionResult fills(const Image& img, int w, int h, const std::string& name)
{
    if (img.empty()) return ::testing::AssertionFailure() << name << ": no picture";
    if (img.width != w || img.height != h)
        return ::testing::AssertionFailure() << name << ": " << img.width << " x " << img.height;
    auto dark = [](const unsigned char* p) { return std::max({p[0], p[1], p[2]}) < 16; };
    const double right = fraction_where(img, w * 95 / 100, 0, w, h, dark);
    const double top = fraction_where(img, 0, 0, w, h * 5 / 100, dark);
    const Share scene = share_of(img, 0, 0, w, h);
    const double you = fraction_where(img, 0, h - 45, 120, h, you_text);
    if (right < 0.005 && top < 0.005 && scene.other < 0.5 && you > 0.03) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << ": dark right " << right << ", dark top " << top << ", " << scene
                                         << ", you " << you;
}

// The game is paused first, so that every picture shows the same moment; the screenshot seam
// writes the last frame, which Escape ends at the last size.
TEST(Window, ResizedAndFullScreenThePictureFillsTheWindowAndTheFirstSizeGivesTheFirstPicture)
{
    RunOptions opt = session(R"(
        size() { window_size $1 $2 && wait_lines "made anew for $1 x $2" $3 && wait_more 'player: ' 3 && snapshot $4; }
        wait_for 'player: 1.' 240 && tap t && wait_for 'game paused' && wait_more 'player: ' 3 && snapshot first &&
        size 800 600 1 w800 && size 1200 900 1 w1200 && size 1024 768 1 back && size 640 480 1 w640 &&
        tap F11 && wait_for 'full screen' && wait_more 'player: ' 3 && snapshot full root &&
        press alt+Return && wait_lines 'made anew for 640 x 480' 2 && wait_more 'player: ' 3 && snapshot windowed &&
        press Escape)", {{"MOORHOLD_LOG_PLAYER", "1"}}, 1024, 768);
    opt.screenshot = true;
    opt.timeout_seconds = 550;
    GameRun run = run_game(opt);
    ASSERT_TRUE(ran_cleanly(run));
    EXPECT_TRUE(appear_in_order(run.log, {"window size 800 x 600", "window size 1200 x 900", "window size 1024 x 768",
                                          "window size 640 x 480", "full screen 1280 x 1024", "window 640 x 480"}))
        << run.log;

    const struct {
        const char* name;
        int w, h;
    } sizes[] = {{"first", 1024, 768}, {"w800", 800, 600},  {"w1200", 1200, 900},   {"back", 1024, 768},
                 {"w640", 640, 480},   {"full", 1280, 1024}, {"windowed", 640, 480}};
    for (const auto& size : sizes) EXPECT_TRUE(fills(snapshot_of(run, size.name), size.w, size.h, size.name));
    const Image first = snapshot_of(run, "first"), back = snapshot_of(run, "back");
    const Image windowed = snapshot_of(run, "windowed");
    if (first.width == back.width && first.height == back.height) {
        EXPECT_LT(mean_difference(first, back, 0, 0, first.width, first.height), 1.0) << "the first size, the first picture";
    }

    // The screenshot seam writes the window at its size then, as the X server shows it.
    EXPECT_TRUE(fills(run.screenshot, 640, 480, "the screenshot seam"));
    if (run.screenshot.width == windowed.width && run.screenshot.height == windowed.height) {
        EXPECT_LT(mean_difference(run.screenshot, windowed, 0, 0, 640, 480), 1.0);
    }
}

} // namespace
