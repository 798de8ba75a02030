#include "Common/HelpScreen.h"

#include "Common/FontManager.h"
#include "Common/Gamepad.h"
#include "Common/KeyTable.h"
#include "Common/SDLGL.h"

#include <GL/glew.h>

#include <algorithm>

bool help_shown = false;

void toggle_help() { help_shown = !help_shown; }

namespace {

const float kWhite[3] = {1.0f, 1.0f, 1.0f};
const float kTitle[3] = {0.55f, 0.85f, 1.0f};
const float kKeys[3] = {1.0f, 0.85f, 0.35f};
const float kWords[3] = {0.92f, 0.92f, 0.92f};
const float kPanelAlpha = 0.72f;

const char* const kStartCall = "PRESS A DRIVING KEY TO START";

float width_of(const OverlayInputs& in, const std::string& text, float scale)
{
    return in.glyphs ? text_width(in.glyphs, text.c_str(), scale) : 0.0f;
}

void add(Overlay& o, const std::string& text, float x, float y, const float colour[3], float scale)
{
    HudText t;
    t.text = text;
    t.pos[0] = x;
    t.pos[1] = y;
    for (int i = 0; i < 3; ++i) t.colour[i] = colour[i];
    t.scale[0] = t.scale[1] = scale;
    o.texts.push_back(t);
}

// One line across the middle of the window, as large as fits up to `most`.
void centred_line(Overlay& o, const OverlayInputs& in, const std::string& text, float y, const float colour[3],
                  float most)
{
    const float natural = width_of(in, text, 1.0f);
    const float scale = natural > 0 ? std::min(most, 0.9f * in.width / natural) : most;
    add(o, text, 0.5f * (in.width - width_of(in, text, scale)), y, colour, scale);
}

// What heads the help: the state of the game, then what the help is.
std::vector<std::string> help_headings(const OverlayInputs& in)
{
    std::vector<std::string> lines;
    if (in.pause == PauseReason::Start)
        lines.push_back(kStartCall);
    else if (in.pause != PauseReason::None)
        lines.push_back("PAUSED: " + in.pause_keys + " goes on");
    lines.push_back("CONTROLS (" + in.help_keys + " hides them)");
    return lines;
}

struct HelpColumns {
    int columns = 1;
    float scale = 0;
};

// The number of columns that lets the rows stand largest on a panel of inner size w x h.
HelpColumns fit_columns(const OverlayInputs& in, float w, float h, float keys_w, float words_w, float gap,
                        float other_w, int other_lines)
{
    const int rows = static_cast<int>(in.rows->size());
    HelpColumns best;
    for (int n = 1; n <= 3; ++n) {
        const int per_column = (rows + n - 1) / n;
        const float width = std::max(n * (keys_w + gap + words_w) + (n - 1) * 2 * gap, other_w);
        const float lines = static_cast<float>(per_column + other_lines);
        float scale = kHelpMaxScale;
        if (width > 0) scale = std::min(scale, w / width);
        if (in.max_char_h > 0) scale = std::min(scale, h / (lines * in.max_char_h));
        if (scale > best.scale) best = HelpColumns{n, scale};
    }
    return best;
}

void help_panel(Overlay& o, const OverlayInputs& in)
{
    const float w = static_cast<float>(in.width), h = static_cast<float>(in.height);
    // Above the score lines (the player's at 0.75 of a glyph's height, the opponents' at half
    // of it each), which stay in view at the bottom left.
    o.panel = true;
    o.panel_rect[0] = 0.03f * w;
    o.panel_rect[1] = (0.75f + 0.5f * in.score_lines) * in.max_char_h + 0.02f * h;
    o.panel_rect[2] = 0.97f * w;
    o.panel_rect[3] = 0.97f * h;
    const float pad = 0.02f * std::min(w, h);
    const float inner_w = o.panel_rect[2] - o.panel_rect[0] - 2 * pad;
    const float inner_h = o.panel_rect[3] - o.panel_rect[1] - 2 * pad;

    const std::vector<std::string> headings = help_headings(in);
    float keys_w = 0, words_w = 0, other_w = width_of(in, in.pad_line, 1.0f);
    for (const HelpRow& r : *in.rows) {
        keys_w = std::max(keys_w, width_of(in, r.keys, 1.0f));
        words_w = std::max(words_w, width_of(in, r.description, 1.0f));
    }
    for (const std::string& line : headings) other_w = std::max(other_w, width_of(in, line, 1.0f));
    const float gap = width_of(in, "  ", 1.0f);
    const int other_lines = static_cast<int>(headings.size()) + (in.pad_line.empty() ? 0 : 1);
    const HelpColumns fit = fit_columns(in, inner_w, inner_h, keys_w, words_w, gap, other_w, other_lines);
    const float s = fit.scale, line = in.max_char_h * s;
    o.scale = s;

    const float left = o.panel_rect[0] + pad;
    float y = o.panel_rect[3] - pad - line;
    for (size_t i = 0; i < headings.size(); ++i, y -= line)
        add(o, headings[i], left, y, i + 1 < headings.size() ? kWhite : kTitle, s);
    const int rows = static_cast<int>(in.rows->size());
    const int per_column = (rows + fit.columns - 1) / fit.columns;
    const float column_w = (keys_w + gap + words_w + 2 * gap) * s;
    for (int i = 0; i < rows; ++i) {
        const HelpRow& r = (*in.rows)[static_cast<size_t>(i)];
        const float x = left + static_cast<float>(i / per_column) * column_w;
        const float row_y = y - static_cast<float>(i % per_column) * line;
        add(o, r.keys, x, row_y, kKeys, s);
        add(o, r.description, x + (keys_w + gap) * s, row_y, kWords, s);
    }
    if (!in.pad_line.empty()) add(o, in.pad_line, left, y - per_column * line, kTitle, s);
}

// What the overlay's layout depends on besides the window: redone when any of it changes.
struct OverlayState {
    int width = -1, height = -1, score_lines = 0;
    bool help = false;
    PauseReason pause = PauseReason::None;
    int keys = -1; // the bindings' generation
    bool pad = false;
    bool operator==(const OverlayState& o) const
    {
        return width == o.width && height == o.height && score_lines == o.score_lines && help == o.help && pause == o.pause && keys == o.keys &&
               pad == o.pad;
    }
};

void draw_panel(const float r[4])
{
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, kPanelAlpha);
    glBegin(GL_QUADS);
    glVertex2f(r[0], r[1]);
    glVertex2f(r[2], r[1]);
    glVertex2f(r[2], r[3]);
    glVertex2f(r[0], r[3]);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

std::string keys_of(const char* action)
{
    const int row = key_action_index(action);
    return row < 0 ? std::string() : keys_display(key_bindings()[static_cast<size_t>(row)]);
}

} // namespace

Overlay overlay_layout(const OverlayInputs& in)
{
    Overlay o;
    const float h = static_cast<float>(in.height);
    if (in.help && in.rows) {
        help_panel(o, in);
    } else if (in.pause == PauseReason::Start) {
        centred_line(o, in, kStartCall, 0.55f * h, kWhite, 1.0f);
    } else if (in.pause != PauseReason::None) {
        centred_line(o, in, "PAUSED", 0.55f * h, kWhite, 2.25f);
        centred_line(o, in, in.pause_keys + ": go on", 0.55f * h - in.max_char_h * 0.75f, kTitle, 0.5f);
    }
    return o;
}

void draw_overlay(SDLGL& gl, fontManager& font, int score_lines)
{
    static Overlay overlay;
    static OverlayState drawn;
    static std::vector<HelpRow> rows;
    const OverlayState now{gl.width, gl.height, score_lines, help_shown, pause_state.reason, key_bindings_generation(),
                           pad_connected()};
    if (!(now == drawn)) {
        drawn = now;
        rows = help_rows(key_bindings());
        OverlayInputs in;
        in.width = gl.width;
        in.height = gl.height;
        in.glyphs = font.glyphs;
        in.max_char_h = font.max_char_h;
        in.score_lines = score_lines;
        in.help = help_shown;
        in.pause = pause_state.reason;
        in.rows = &rows;
        in.help_keys = keys_of("help");
        in.pause_keys = keys_of("pause");
        if (pad_connected()) in.pad_line = pad_help_line(pad_mapping, pad_name());
        overlay = overlay_layout(in);
    }
    if (overlay.texts.empty()) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (overlay.panel) draw_panel(overlay.panel_rect);
    for (const HudText& t : overlay.texts) font.draw_text(t.text.c_str(), t.pos, t.colour, t.scale);
}
