// The gamepad's rules: the dead zone, the stick and the pad as the four direction flags, the
// buttons, and the mapping read from config/controls.p with its refusals.
#include "Common/Gamepad.h"
#include "Common/ParameterFile.h"
#include "Console.h"
#include "ControlsFile.h"
#include "GameDir.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

TEST(PadDeadZone, TheMiddleCountsAsNothingAndTheRestGrowsToTheEnd)
{
    const std::tuple<int, float, float> cases[] = {
        {0, 0.25f, 0.0f},          {8191, 0.25f, 0.0f},  // a quarter of the way: still the middle
        {-8191, 0.25f, 0.0f},      {32767, 0.25f, 1.0f}, {-32768, 0.25f, -1.0f},
        {16383, 0.0f, 16383 / 32767.0f},                   // no dead zone
        {(8191 + 32767) / 2, 0.25f, 0.5f}, // half way from its edge to the end
    };
    for (const auto& [raw, zone, value] : cases)
        EXPECT_NEAR(axis_past_dead_zone(raw, zone), value, 2e-4f) << raw << " in " << zone;
}

// Axis 0 steers, axis 1 drives (pushed away: forward), hat 0 does both.
TEST(PadDirections, StickAndPadSetTheFourFlagsAndEachButtonItsAction)
{
    struct Case {
        int steer, drive;
        Uint8 hat;
        const char* flags; // forward, backward, left, right
    } cases[] = {
        {0, 0, SDL_HAT_CENTERED, "...."},
        {0, -20000, SDL_HAT_CENTERED, "F..."},
        {0, 20000, SDL_HAT_CENTERED, ".B.."},
        {-20000, -20000, SDL_HAT_CENTERED, "F.L."},
        {20000, 5000, SDL_HAT_CENTERED, "...R"}, // the drive axis within the dead zone
        {0, 0, SDL_HAT_UP | SDL_HAT_RIGHT, "F..R"},
        {0, 0, SDL_HAT_DOWN | SDL_HAT_LEFT, ".BL."},
        {-20000, 0, SDL_HAT_RIGHT, "..LR"}, // both, as two keys held together
    };
    const PadMapping m;
    for (const Case& c : cases) {
        PadReading r;
        r.axes[0] = c.steer;
        r.axes[1] = c.drive;
        r.hats[0] = c.hat;
        const PadDirections d = pad_directions(m, r);
        const std::string got = {d.forward ? 'F' : '.', d.backward ? 'B' : '.', d.left ? 'L' : '.', d.right ? 'R' : '.'};
        EXPECT_EQ(got, c.flags) << c.steer << " " << c.drive << " hat " << int(c.hat);
    }
    // Axes and the hat left out by the mapping do nothing.
    PadMapping none;
    none.steer_axis = none.drive_axis = none.hat = -1;
    PadReading r;
    r.axes[0] = r.axes[1] = 32767;
    r.hats[0] = SDL_HAT_UP;
    EXPECT_FALSE(pad_directions(none, r).any());
    // Each button its action (the default mapping: jump 0, upright 1, pause 7, new game 6).
    const std::pair<int, PadAction> buttons[] = {{0, PadAction::Jump},  {1, PadAction::Upright}, {7, PadAction::Pause},
                                                 {6, PadAction::NewGame}, {3, PadAction::None}, {-1, PadAction::None}};
    for (auto [button, action] : buttons) EXPECT_EQ(pad_button_action(m, button), action) << button;
    EXPECT_EQ(pad_help_line(m, "Pad"), "Gamepad Pad: stick or pad drives, button 0 jump, button 1 upright, "
                                       "button 7 pause, button 6 new game");
}

TEST(PadMappingFile, TheShippedMappingAndWhatIsRefused)
{
    TempDir dir;
    {
        ParameterFile shipped(game_file("config/controls.p"));
        const PadMapping m = read_pad_mapping(shipped), defaults;
        EXPECT_EQ(std::make_tuple(m.steer_axis, m.drive_axis, m.hat, m.jump, m.upright, m.pause, m.new_game),
                  std::make_tuple(defaults.steer_axis, defaults.drive_axis, defaults.hat, defaults.jump,
                                  defaults.upright, defaults.pause, defaults.new_game));
        EXPECT_FLOAT_EQ(m.dead_zone, 0.25f);
    }
    const std::tuple<const char*, const char*, const char*> refused[] = {
        {"pad_dead_zone", "1.5", "the dead zone lies from 0 to 0.95"},
        {"pad_dead_zone", "-0.1", "the dead zone lies from 0 to 0.95"},
        {"pad_steer_axis", "8", "it must lie from -1 (none) to 7"},
        {"pad_hat", "-2", "it must lie from -1 (none) to 3"},
        {"pad_pause", "0", "that button is already \"pad_jump\""},
        {"pad_drive_axis", "0", "that axis is already \"pad_steer_axis\""},
        {"pad_new_game", "x", nullptr}, // no number: refused as a bad value, without words of its own
    };
    for (const auto& [key, value, why] : refused) {
        const std::string path = controls_with(dir, key, value);
        ParameterFile file(path);
        Printed p = printed([&] { EXPECT_THROW(read_pad_mapping(file), BadValueException) << key << "=" << value; });
        EXPECT_EQ(last_bad_value().key, key);
        if (why) {
            EXPECT_NE(p.err.find(std::string("the key \"") + key + "\" in file \"" + path + "\" has the value \"" +
                                 value + "\": " + why),
                      std::string::npos)
                << p.err;
        }
    }
    // Leaving things out is no clash.
    const std::string path = controls_with(dir, "pad_upright", "-1");
    ParameterFile file(path);
    EXPECT_EQ(read_pad_mapping(file).upright, -1);
}

} // namespace
