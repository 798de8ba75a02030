// The keys of one's own: SDL's key names in config/controls.p, what is refused, how keys are
// shown, and the one table behind the input handler, the help on screen and the README.
#include "Common/Input.h"
#include "Common/KeyBindings.h"
#include "Common/KeyTable.h"
#include "Common/ParameterFile.h"
#include "Console.h"
#include "ControlsFile.h"
#include "GameDir.h"
#include "TempDir.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

// SDL tells its key names once its video is up: the silent "dummy" driver opens no window.
class ControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }

    TempDir dir;
};

struct Bound {
    SDLKey key;
    int mods;
};

TEST_F(ControlsTest, KeyListsBySdlsNamesInAnyCaseWithModifiers)
{
    const std::pair<const char*, std::vector<Bound>> good[] = {
        {"up / w", {{SDLK_UP, 0}, {SDLK_w, 0}}},
        {"W", {{SDLK_w, 0}}},
        {"Alt+Return", {{SDLK_RETURN, kNeedsAlt}}},
        {"ctrl+shift+f1", {{SDLK_F1, kNeedsCtrl | kNeedsShift}}},
        {"[0] / right ctrl", {{SDLK_KP0, 0}, {SDLK_RCTRL, 0}}},
        {"- / [-] / = / [+]", {{SDLK_MINUS, 0}, {SDLK_KP_MINUS, 0}, {SDLK_EQUALS, 0}, {SDLK_KP_PLUS, 0}}},
        {"/ / up", {{SDLK_SLASH, 0}, {SDLK_UP, 0}}}, // the slash key itself
        {"alt++", {{SDLK_PLUS, kNeedsAlt}}},
        {"pause", {{SDLK_PAUSE, 0}}},
    };
    for (const auto& [text, keys] : good) {
        ActionKeys out;
        std::string bad;
        ASSERT_TRUE(parse_key_list(text, out, bad)) << text << ": " << bad;
        ASSERT_EQ(out.count, static_cast<int>(keys.size())) << text;
        for (int i = 0; i < out.count; ++i) {
            EXPECT_EQ(out.keys[i].key, keys[static_cast<size_t>(i)].key) << text;
            EXPECT_EQ(out.keys[i].mods, keys[static_cast<size_t>(i)].mods) << text;
        }
    }
    // What is refused, and the item named for it.
    const std::pair<const char*, const char*> refused[] = {
        {"uup", "uup"}, {"up/w", "up/w"}, {"", ""}, {"up / ", ""}, {"alt+", "alt+"},
        {"unknown key", "unknown key"}, {"a / b / c / d / e", "a / b / c / d / e"},
    };
    for (const auto& [text, item] : refused) {
        ActionKeys out;
        std::string bad;
        EXPECT_FALSE(parse_key_list(text, out, bad)) << text;
        EXPECT_EQ(bad, item) << text;
    }
}

TEST_F(ControlsTest, TheShippedFileNamesTheTablesKeysForEveryAction)
{
    ParameterFile file(game_file("config/controls.p"));
    const KeyBindings read = read_key_bindings(file), defaults = default_key_bindings();
    ASSERT_EQ(read.size(), static_cast<size_t>(key_table_size));
    for (int i = 0; i < key_table_size; ++i) {
        EXPECT_EQ(keys_display(read[i]), keys_display(defaults[i])) << key_table[i].action;
        if (key_table[i].trigger != Trigger::Mouse) {
            EXPECT_GT(defaults[i].count, 0) << key_table[i].action;
        }
    }
}

// An unknown name and a key of another action are refused with their words in the game
// (BadInputTest's rows ControlsKeyNameUnknown and ControlsKeyGivenTwice).
TEST_F(ControlsTest, MoreThanFourKeysAndMissingActionsAreRefusedNamingTheFileTheKeyAndTheValue)
{
    const std::string path = controls_with(dir, "mute", "a / b / c / d / e");
    ParameterFile many(path);
    Printed p = printed([&] { EXPECT_THROW(read_key_bindings(many), BadValueException); });
    EXPECT_NE(p.err.find("the key \"mute\" in file \"" + path +
                         "\" has the value \"a / b / c / d / e\": an action has at most 4 keys"),
              std::string::npos)
        << p.err;
    EXPECT_EQ(last_bad_value().key, "mute");
    EXPECT_EQ(last_bad_value().file, path);
    // Alt+Enter and Enter are two keys: the one does not take the other.
    ParameterFile both(controls_with(dir, "jump", "return"));
    EXPECT_NO_THROW(read_key_bindings(both));
    ParameterFile missing(controls_with(dir, "upright", ""));
    EXPECT_THROW(read_key_bindings(missing), BadValueException);
    EXPECT_EQ(last_bad_value().key, "upright");
}

TEST_F(ControlsTest, KeysAreDownByTheKeyStateOrModifierStatePressesMatchTheirModifiersAndRepeatsAreNoPresses)
{
    std::vector<Uint8> keys(SDLK_LAST, 0);
    InputFrame in;
    in.keys = keys.data();
    const KeyBinding w{SDLK_w, 0}, shift{SDLK_LSHIFT, 0}, alt_enter{SDLK_RETURN, kNeedsAlt};
    EXPECT_FALSE(binding_down(w, in));
    keys[SDLK_w] = 1;
    EXPECT_TRUE(binding_down(w, in));
    EXPECT_FALSE(binding_down(shift, in));
    in.mods = KMOD_LSHIFT;
    EXPECT_TRUE(binding_down(shift, in)) << "the modifier state alone holds a Shift down";
    keys[SDLK_RETURN] = 1;
    EXPECT_FALSE(binding_down(alt_enter, in));
    in.mods = KMOD_RALT;
    EXPECT_TRUE(binding_down(alt_enter, in)) << "either Alt";

    const ActionKeys enter_keys{{alt_enter}, 1}, w_keys{{w}, 1};
    EXPECT_TRUE(pressed_by(enter_keys, SDLK_RETURN, KMOD_LALT, true));
    EXPECT_FALSE(pressed_by(enter_keys, SDLK_RETURN, KMOD_NONE, true));
    EXPECT_FALSE(pressed_by(enter_keys, SDLK_RETURN, KMOD_LALT, false)) << "not a bare Enter";
    EXPECT_TRUE(pressed_by(w_keys, SDLK_w, KMOD_LCTRL, false)) << "a bare key ignores what else is held";
    // SDL's key repeat is no new press, and a key that is up is up.
    PressFilter f;
    EXPECT_TRUE(f.press(SDLK_F1));
    EXPECT_FALSE(f.press(SDLK_F1)) << "a repeat while held";
    f.release(SDLK_F1);
    EXPECT_TRUE(f.press(SDLK_F1));
    std::vector<Uint8> state(SDLK_LAST, 0);
    state[SDLK_t] = 1;
    EXPECT_TRUE(f.press(SDLK_t));
    f.forget_released(state.data()); // F1's release went missing; T is still down
    EXPECT_TRUE(f.press(SDLK_F1));
    EXPECT_FALSE(f.press(SDLK_t));
    EXPECT_FALSE(f.press(SDLK_UNKNOWN));
}

// The README's controls table, as "keys | action | what it does" rows (the action without its backquotes).
std::vector<HelpRow> readme_rows()
{
    const char* src = std::getenv("MOORHOLD_SOURCE_DIR");
    std::istringstream in(read_file(std::string(src ? src : ".") + "/README.md"));
    std::string line;
    while (std::getline(in, line) && line.rfind("| keys | action in `config/controls.p` |", 0) != 0) continue;
    std::getline(in, line); // the separator
    std::vector<HelpRow> rows;
    while (std::getline(in, line) && !line.empty() && line[0] == '|') {
        std::vector<std::string> cells;
        std::istringstream cols(line.substr(1));
        for (std::string cell; std::getline(cols, cell, '|');) {
            const size_t a = cell.find_first_not_of(' '), b = cell.find_last_not_of(' ');
            cells.push_back(a == std::string::npos ? "" : cell.substr(a, b - a + 1));
        }
        if (cells.size() != 3) ADD_FAILURE() << "not three cells: " << line;
        cells.resize(3);
        const std::string& action = cells[1];
        const bool quoted = action.size() >= 2 && action.front() == '`' && action.back() == '`';
        rows.push_back(HelpRow{cells[0], quoted ? action.substr(1, action.size() - 2) : action, cells[2]});
    }
    return rows;
}

TEST_F(ControlsTest, TheReadmesControlsTableIsTheHelpOnScreenRowByRow)
{
    const std::vector<HelpRow> help = help_rows(default_key_bindings()), readme = readme_rows();
    ASSERT_EQ(readme.size(), help.size()) << "the README's controls table has another number of rows";
    for (size_t i = 0; i < help.size(); ++i) {
        EXPECT_EQ(readme[i].keys, help[i].keys) << "row " << i + 1;
        EXPECT_EQ(readme[i].action, help[i].action) << "row " << i + 1;
        EXPECT_EQ(readme[i].description, help[i].description) << "row " << i + 1;
    }
}

} // namespace
