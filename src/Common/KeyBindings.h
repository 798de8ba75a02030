// Which keys the actions of the key table have: the table's defaults, or those that
// '.\config\controls.p' names by SDL's key names. A value holds one key or several with " / "
// between them ("up / w"); a key may need a modifier held with it ("alt+return"); names are
// SDL's ("left shift", "[0]" for keypad 0, "f1"), in any case.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

class ParameterFile;
struct InputFrame;

// Modifier groups a key may ask for: either key of the pair counts.
constexpr int kNeedsAlt = KMOD_ALT;
constexpr int kNeedsCtrl = KMOD_CTRL;
constexpr int kNeedsShift = KMOD_SHIFT;

struct KeyBinding {
    SDLKey key = SDLK_UNKNOWN;
    int mods = 0; // kNeeds* bits, each group of which must be held
};

constexpr int kMaxKeysPerAction = 4;

struct ActionKeys {
    KeyBinding keys[kMaxKeysPerAction];
    int count = 0;
};

// One entry for every row of the key table, in its order (the mouse's rows stay empty).
using KeyBindings = std::vector<ActionKeys>;

// SDL's key called `name` (compared in any case); SDLK_UNKNOWN when SDL has no such key.
// SDL knows its names once its video is up.
SDLKey key_named(const std::string& name);

// Reads "up / w" or "alt+return" into `out`. False when an item names no key SDL knows, or
// there are more than kMaxKeysPerAction; `bad` then holds the item (or the whole text).
bool parse_key_list(const std::string& text, ActionKeys& out, std::string& bad);

// The key table's own keys.
KeyBindings default_key_bindings();

// Every action's keys from the controls file. A missing action, a name SDL does not know
// and a key given to two actions are refused: a message naming the file, the action and its
// value, then BadValueException as for a missing key.
KeyBindings read_key_bindings(const ParameterFile& file);

// The keys in force: the table's defaults until use_key_bindings gives others.
const KeyBindings& key_bindings();
void use_key_bindings(const KeyBindings& bindings);
// Counts the calls of use_key_bindings, so that what shows the keys knows when to look again.
int key_bindings_generation();

// True when the binding's key and its modifiers are down in this frame's key state. A
// modifier key (a Shift, a Ctrl) counts as down by the modifier state as well.
bool binding_down(const KeyBinding& b, const InputFrame& in);
bool any_down(const ActionKeys& keys, const InputFrame& in);

// Whether a key-down event of `key` with `mods` held is one of these keys: `exact` asks for a
// binding whose modifiers are all held, otherwise a binding without modifiers matches.
bool pressed_by(const ActionKeys& keys, SDLKey key, int mods, bool exact);

// How the help and the README show keys: "Up arrow / W", "Keypad 0", "Alt+Enter", "F1".
std::string key_display_name(const KeyBinding& b);
std::string keys_display(const ActionKeys& keys);

// One line of the help on screen (and one row of the README's controls table).
struct HelpRow {
    std::string keys;        // the keys as shown, or the mouse's own words
    std::string action;      // its name in the controls file ("" for the mouse's rows)
    std::string description;
};

// The key table's rows with these keys.
std::vector<HelpRow> help_rows(const KeyBindings& bindings);
