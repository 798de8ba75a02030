// The gamepad as a player uses it: a virtual pad that the game finds at start-up through SDL's
// joystick API, its stick driving the hover, its button pausing, and the keyboard driving on
// once the pad is unplugged. The pad is made by the kernel's uinput where the machine allows
// it, and everywhere as a FIFO that speaks the kernel's joystick protocol to SDL.
#include "e2e/GameRunner.h"
#include "e2e/PlayLog.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

// The pad's helper, started before the game so that the game finds the pad at start-up.
struct VirtualPad {
    VirtualPad(const std::string& mode, const TempDir& dir) : dir(dir)
    {
        const std::string cmd = std::string("sh -c 'echo $$ > \"$1/pad.pid\"; exec \"$0\" \"$2\" \"$1\"' ") +
                                MOORHOLD_VIRTUAL_PAD + " " + dir.path.string() + " " + mode + " > " +
                                dir.file("pad.log") + " 2>&1 &";
        std::system(cmd.c_str());
        for (int i = 0; i < 1000 && !fs::exists(dir.path / "pad.device"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        device = read_file(dir.path / "pad.device");
        while (!device.empty() && device.back() == '\n') device.pop_back();
    }
    ~VirtualPad()
    {
        const std::string pid = read_file(dir.path / "pad.pid");
        if (!pid.empty()) ::kill(std::atoi(pid.c_str()), SIGTERM);
    }
    bool made() const { return !device.empty() && device.rfind("none", 0) != 0; }

    const TempDir& dir;
    std::string device; // the node SDL reads, or "none: why"
};

class Gamepad : public ::testing::TestWithParam<const char*> {};

// The stick pushed away for 2 s, released; button 1 (this run's pause) pressed twice, each
// held 0.3 s as a finger does, so that a slow frame cannot fall between press and release;
// the stick pushed again and the pad unplugged while it is; then the Left key.
TEST_P(Gamepad, TheStickDrivesAButtonPausesAndUnpluggedTheKeyboardDrivesOn)
{
    TempDir pad_dir;
    VirtualPad pad(GetParam(), pad_dir);
    if (!pad.made()) GTEST_SKIP() << "no " << GetParam() << " gamepad on this machine (" << pad.device << ")";

    RunOptions opt = session(R"(
        pad() { echo "$@" > "$PAD_DIR/pad.commands"; }
        wait_for 'player: 3.' 240 && mark stick && pad axis 1 -32767 && sleep 2 && pad axis 1 0 && mark stop &&
        sleep 1 && pad button 1 1 && sleep 0.3 && pad button 1 0 && wait_for 'game paused' && mark paused && sleep 1 &&
        mark resume && pad button 1 1 && sleep 0.3 && pad button 1 0 && wait_for 'game goes on' &&
        pad axis 1 -32767 && sleep 1 && mark unplug && pad unplug && wait_for 'the gamepad is gone' && wait_game_seconds 1 &&
        mark left && hold Left 1.5 && mark keys && wait_more 'player: ' 5 && press Escape)",
        {{"MOORHOLD_LOG_PLAYER", "1"}, {"SDL_JOYSTICK_DEVICE", pad.device}, {"PAD_DIR", pad_dir.path.string()}}, 320,
        240, [](const fs::path& dir) {
            // A pad of the joystick protocol has two buttons as SDL sees it: 1 pauses here.
            set_key(dir / "config/controls.p", "pad_upright", "-1");
            set_key(dir / "config/controls.p", "pad_pause", "1");
        });
    opt.timeout_seconds = 400;
    GameRun run = run_game(opt);
    ASSERT_TRUE(ran_cleanly(run, false));
    EXPECT_TRUE(appear_in_order(run.log, {"gamepad: ", "input: stick", "input: paused", "game goes on",
                                          "input: unplug", "the gamepad is gone: the keyboard steers", "input: left"}))
        << run.log;

    PlayLog play(run.log);
    const PlayerLine *stick = play.before("stick"), *stop = play.before("stop"), *unplug = play.before("unplug"),
                     *left = play.before("left"), *keys = play.before("keys");
    const LogEntry *paused = play.mark("paused"), *resume = play.mark("resume");
    ASSERT_TRUE(stick && stop && unplug && left && keys && paused && resume) << run.log;

    // The stick drove the hover along its nose, as the Up key does.
    EXPECT_TRUE(drove_along_its_nose(*stick, *stop));
    // The pause button held the game.
    const PlayerLine& a = play.player[paused->player_index];
    const PlayerLine& b = play.player[resume->player_index - 1];
    EXPECT_EQ(a.t, b.t);
    EXPECT_EQ(moved(a, b), 0.0);
    // Unplugged with the stick pushed: the hover is no longer driven and slows down, and the
    // keyboard turns it.
    EXPECT_LT(left->speed, 0.6 * unplug->speed) << unplug->speed << " -> " << left->speed;
    EXPECT_GT(std::fabs(std::remainder(keys->heading - left->heading, 360.0)), 10.0);
}

INSTANTIATE_TEST_SUITE_P(VirtualPads, Gamepad, ::testing::Values("uinput", "fifo"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
