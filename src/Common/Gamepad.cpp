#include "Common/Gamepad.h"

#include "Common/ParameterFile.h"
#include "Common/Pause.h"
#include "Common/PlayerControls.h"

#include <cstdio>
#include <string>

PadMapping pad_mapping;

namespace {

constexpr float kMaxDeadZone = 0.95f;
constexpr int kMaxButton = 31;

struct IndexKey {
    const char* key;
    int PadMapping::*field;
    int most; // the largest index the key may name
};
const IndexKey kIndexKeys[] = {
    {"pad_steer_axis", &PadMapping::steer_axis, PadReading::kMaxAxes - 1},
    {"pad_drive_axis", &PadMapping::drive_axis, PadReading::kMaxAxes - 1},
    {"pad_hat", &PadMapping::hat, PadReading::kMaxHats - 1},
    {"pad_jump", &PadMapping::jump, kMaxButton},
    {"pad_upright", &PadMapping::upright, kMaxButton},
    {"pad_pause", &PadMapping::pause, kMaxButton},
    {"pad_new_game", &PadMapping::new_game, kMaxButton},
};
// The buttons, which must differ from one another.
const int kFirstButtonKey = 3;

void refuse(const ParameterFile& file, const char* key, const std::string& why)
{
    std::fprintf(stderr, "\nthe key \"%s\" in file \"%s\" has the value \"%s\": %s\n", key, file.path.c_str(),
                 file.getString(key).c_str(), why.c_str());
    refuse_value(file, key);
}

} // namespace

PadMapping read_pad_mapping(const ParameterFile& file)
{
    PadMapping m;
    const int keys = static_cast<int>(sizeof kIndexKeys / sizeof kIndexKeys[0]);
    for (int i = 0; i < keys; ++i) {
        const IndexKey& k = kIndexKeys[i];
        const int v = file.getInt(k.key);
        if (v < -1 || v > k.most)
            refuse(file, k.key, "it must lie from -1 (none) to " + std::to_string(k.most));
        m.*k.field = v;
        for (int j = kFirstButtonKey; i >= kFirstButtonKey && j < i; ++j)
            if (v >= 0 && m.*kIndexKeys[j].field == v)
                refuse(file, k.key, std::string("that button is already \"") + kIndexKeys[j].key + "\"");
    }
    if (m.steer_axis >= 0 && m.steer_axis == m.drive_axis)
        refuse(file, "pad_drive_axis", "that axis is already \"pad_steer_axis\"");
    m.dead_zone = file.getFloat("pad_dead_zone");
    if (!(m.dead_zone >= 0.0f && m.dead_zone <= kMaxDeadZone))
        refuse(file, "pad_dead_zone", "the dead zone lies from 0 to 0.95 of the axis's half range");
    return m;
}

float axis_past_dead_zone(int raw, float dead_zone)
{
    float v = raw / 32767.0f;
    if (v > 1.0f) v = 1.0f;
    if (v < -1.0f) v = -1.0f;
    const float size = v < 0 ? -v : v;
    if (size <= dead_zone) return 0.0f;
    const float past = (size - dead_zone) / (1.0f - dead_zone);
    return v < 0 ? -past : past;
}

PadDirections pad_directions(const PadMapping& m, const PadReading& r)
{
    PadDirections d;
    if (m.drive_axis >= 0) {
        const float v = axis_past_dead_zone(r.axes[m.drive_axis], m.dead_zone);
        d.forward = v < 0;
        d.backward = v > 0;
    }
    if (m.steer_axis >= 0) {
        const float v = axis_past_dead_zone(r.axes[m.steer_axis], m.dead_zone);
        d.left = v < 0;
        d.right = v > 0;
    }
    if (m.hat >= 0) {
        const Uint8 h = r.hats[m.hat];
        d.forward |= (h & SDL_HAT_UP) != 0;
        d.backward |= (h & SDL_HAT_DOWN) != 0;
        d.left |= (h & SDL_HAT_LEFT) != 0;
        d.right |= (h & SDL_HAT_RIGHT) != 0;
    }
    return d;
}

PadAction pad_button_action(const PadMapping& m, int button)
{
    if (button < 0) return PadAction::None;
    if (button == m.jump) return PadAction::Jump;
    if (button == m.upright) return PadAction::Upright;
    if (button == m.pause) return PadAction::Pause;
    if (button == m.new_game) return PadAction::NewGame;
    return PadAction::None;
}

std::string pad_help_line(const PadMapping& m, const std::string& name)
{
    std::string line = "Gamepad " + name + ": stick or pad drives";
    const std::pair<int, const char*> buttons[] = {
        {m.jump, "jump"}, {m.upright, "upright"}, {m.pause, "pause"}, {m.new_game, "new game"}};
    for (const auto& [button, what] : buttons)
        if (button >= 0) line += ", button " + std::to_string(button) + " " + what;
    return line;
}

void steer_by_pad()
{
    PadReading r;
    if (!read_pad(r)) return;
    const PadDirections d = pad_directions(pad_mapping, r);
    player_controls.forward |= d.forward;
    player_controls.backward |= d.backward;
    player_controls.left |= d.left;
    player_controls.right |= d.right;
}

bool pad_drives()
{
    PadReading r;
    return read_pad(r) && pad_directions(pad_mapping, r).any();
}

void press_pad_button(int button, bool game_keys)
{
    switch (pad_button_action(pad_mapping, button)) {
    case PadAction::Pause: toggle_pause(SDL_GetTicks()); break;
    case PadAction::Jump: if (game_keys) player_controls.jump = true; break;
    case PadAction::Upright: if (game_keys) player_controls.set_upright = true; break;
    case PadAction::NewGame: if (game_keys) new_game_requested = true; break;
    case PadAction::None: break;
    }
}
