#include "Common/KeyBindings.h"

#include "Common/Input.h"
#include "Common/KeyTable.h"
#include "Common/ParameterFile.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

const char* const kSeparator = " / ";

struct ModifierName {
    const char* prefix; // as written in the file
    const char* shown;  // as the help shows it
    int mods;
};
const ModifierName kModifiers[] = {{"alt+", "Alt+", kNeedsAlt}, {"ctrl+", "Ctrl+", kNeedsCtrl},
                                   {"shift+", "Shift+", kNeedsShift}};

std::string lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// SDL's names, built once SDL can tell them (its video is up).
const std::map<std::string, SDLKey>& names_of_keys()
{
    static std::map<std::string, SDLKey> names;
    if (names.empty()) {
        for (int k = SDLK_FIRST; k < SDLK_LAST; ++k) {
            const char* name = SDL_GetKeyName(static_cast<SDLKey>(k));
            if (name && *name && std::strcmp(name, "unknown key") != 0) names.emplace(name, static_cast<SDLKey>(k));
        }
    }
    return names;
}

std::vector<std::string> split_items(const std::string& text)
{
    std::vector<std::string> items;
    size_t from = 0;
    for (size_t at; (at = text.find(kSeparator, from)) != std::string::npos; from = at + std::strlen(kSeparator))
        items.push_back(text.substr(from, at - from));
    items.push_back(text.substr(from));
    return items;
}

bool parse_binding(std::string item, KeyBinding& out)
{
    item = lower(item);
    out.mods = 0;
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const ModifierName& m : kModifiers) {
            const size_t n = std::strlen(m.prefix);
            if (item.size() > n && item.compare(0, n, m.prefix) == 0) {
                out.mods |= m.mods;
                item.erase(0, n);
                stripped = true;
            }
        }
    }
    out.key = key_named(item);
    return out.key != SDLK_UNKNOWN;
}

// The modifier state that holds a modifier key itself down.
int modifier_of(SDLKey key)
{
    switch (key) {
    case SDLK_LSHIFT: return KMOD_LSHIFT;
    case SDLK_RSHIFT: return KMOD_RSHIFT;
    case SDLK_LCTRL: return KMOD_LCTRL;
    case SDLK_RCTRL: return KMOD_RCTRL;
    case SDLK_LALT: return KMOD_LALT;
    case SDLK_RALT: return KMOD_RALT;
    case SDLK_LMETA: return KMOD_LMETA;
    case SDLK_RMETA: return KMOD_RMETA;
    default: return 0;
    }
}

bool modifiers_held(int needed, int mods)
{
    for (int group : {kNeedsAlt, kNeedsCtrl, kNeedsShift})
        if ((needed & group) && !(mods & group)) return false;
    return true;
}

std::string capitalised_words(const std::string& name)
{
    std::string out = name;
    bool word_start = true;
    for (char& c : out) {
        if (word_start) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        word_start = c == ' ';
    }
    return out;
}

std::string shown_key_name(SDLKey key)
{
    const std::string name = SDL_GetKeyName(key);
    if (name == "up" || name == "down" || name == "left" || name == "right") return capitalised_words(name) + " arrow";
    if (name == "return") return "Enter";
    // The two marks the font's description cannot hold (its format takes them for a comment
    // and a separator): in words, so that the help shows them.
    if (name == "=") return "Equals";
    if (name == "#") return "Hash";
    if (name == "enter") return "Keypad Enter";
    if (name.size() == 3 && name[0] == '[' && name[2] == ']') return std::string("Keypad ") + name[1];
    return capitalised_words(name);
}

void refuse(const ParameterFile& file, const char* action, const std::string& value, const std::string& why)
{
    std::fprintf(stderr, "\nthe key \"%s\" in file \"%s\" has the value \"%s\": %s\n", action, file.path.c_str(),
                 value.c_str(), why.c_str());
    refuse_value(file, action);
}

bool same(const KeyBinding& a, const KeyBinding& b) { return a.key == b.key && a.mods == b.mods; }

KeyBindings& bindings_in_force()
{
    static KeyBindings bindings;
    if (bindings.empty()) bindings = default_key_bindings();
    return bindings;
}

} // namespace

SDLKey key_named(const std::string& name)
{
    const auto& names = names_of_keys();
    auto it = names.find(lower(name));
    return it == names.end() ? SDLK_UNKNOWN : it->second;
}

bool parse_key_list(const std::string& text, ActionKeys& out, std::string& bad)
{
    out = ActionKeys();
    const std::vector<std::string> items = split_items(text);
    if (static_cast<int>(items.size()) > kMaxKeysPerAction) {
        bad = text;
        return false;
    }
    for (const std::string& item : items) {
        if (!parse_binding(item, out.keys[out.count])) {
            bad = item;
            return false;
        }
        ++out.count;
    }
    return true;
}

KeyBindings default_key_bindings()
{
    KeyBindings b(static_cast<size_t>(key_table_size));
    std::string bad;
    for (int i = 0; i < key_table_size; ++i)
        if (key_table[i].trigger != Trigger::Mouse && !parse_key_list(key_table[i].keys, b[i], bad))
            std::fprintf(stderr, "the key table's \"%s\" names no key SDL knows: \"%s\"\n", key_table[i].action,
                         bad.c_str());
    return b;
}

KeyBindings read_key_bindings(const ParameterFile& file)
{
    KeyBindings b(static_cast<size_t>(key_table_size));
    for (int i = 0; i < key_table_size; ++i) {
        const KeyAction& row = key_table[i];
        if (row.trigger == Trigger::Mouse) continue;
        const std::string value = file.getString(row.action);
        const std::vector<std::string> items = split_items(value);
        if (static_cast<int>(items.size()) > kMaxKeysPerAction)
            refuse(file, row.action, value, "an action has at most " + std::to_string(kMaxKeysPerAction) + " keys");
        std::string bad;
        if (!parse_key_list(value, b[i], bad)) refuse(file, row.action, value, "SDL knows no key named \"" + bad + "\"");
        for (int k = 0; k < b[i].count; ++k)
            for (int j = 0; j <= i; ++j)
                for (int l = 0; l < (j == i ? k : b[j].count); ++l)
                    if (same(b[i].keys[k], b[j].keys[l]))
                        refuse(file, row.action, value,
                               "\"" + items[k] + "\" is already the key of \"" + key_table[j].action +
                                   "\"");
    }
    return b;
}

const KeyBindings& key_bindings() { return bindings_in_force(); }

namespace {
int generation = 0;
}

void use_key_bindings(const KeyBindings& bindings)
{
    bindings_in_force() = bindings;
    ++generation;
}

int key_bindings_generation() { return generation; }

bool binding_down(const KeyBinding& b, const InputFrame& in)
{
    if (b.key == SDLK_UNKNOWN || b.key >= SDLK_LAST || !modifiers_held(b.mods, in.mods)) return false;
    return (in.keys && in.keys[b.key]) || (modifier_of(b.key) & in.mods);
}

bool any_down(const ActionKeys& keys, const InputFrame& in)
{
    for (int i = 0; i < keys.count; ++i)
        if (binding_down(keys.keys[i], in)) return true;
    return false;
}

bool pressed_by(const ActionKeys& keys, SDLKey key, int mods, bool exact)
{
    for (int i = 0; i < keys.count; ++i) {
        const KeyBinding& b = keys.keys[i];
        if (b.key != key) continue;
        if (exact ? (b.mods && modifiers_held(b.mods, mods)) : !b.mods) return true;
    }
    return false;
}

std::string key_display_name(const KeyBinding& b)
{
    std::string shown;
    for (const ModifierName& m : kModifiers)
        if (b.mods & m.mods) shown += m.shown;
    return shown + shown_key_name(b.key);
}

std::string keys_display(const ActionKeys& keys)
{
    std::string shown;
    for (int i = 0; i < keys.count; ++i) shown += (i ? kSeparator : "") + key_display_name(keys.keys[i]);
    return shown;
}

std::vector<HelpRow> help_rows(const KeyBindings& bindings)
{
    std::vector<HelpRow> rows;
    for (int i = 0; i < key_table_size; ++i) {
        const KeyAction& row = key_table[i];
        const bool mouse = row.trigger == Trigger::Mouse;
        rows.push_back(HelpRow{mouse ? row.keys : keys_display(bindings[static_cast<size_t>(i)]), row.action,
                               row.description});
    }
    return rows;
}
