// The help on screen and the pause's words, drawn over the live scene after the display:
// the key table's rows on a dark panel (F1), "PAUSED" while the game stands still, and the
// first game's call to start. The layout is worked out apart from the drawing, so that it can
// be checked for any window size.
#pragma once

#include "Common/Hud.h"
#include "Common/KeyBindings.h"
#include "Common/Pause.h"

#include <string>
#include <vector>

struct Glyph;
class SDLGL;
class fontManager;

// Whether the help shows (F1 or H toggles it; the first game of a run opens with it).
extern bool help_shown;
void toggle_help();

struct OverlayInputs {
    int width = 0, height = 0; // window size in pixels
    const Glyph* glyphs = nullptr;
    float max_char_h = 0;
    int score_lines = 0;       // the opponents' lines stacked above the player's
    bool help = false;
    PauseReason pause = PauseReason::None;
    const std::vector<HelpRow>* rows = nullptr;
    std::string help_keys;  // "F1 / H"
    std::string pause_keys; // "Pause / T"
    std::string pad_line;   // "" without a pad
};

struct Overlay {
    bool panel = false;
    float panel_rect[4] = {0, 0, 0, 0}; // x0, y0, x1, y1 in pixels from the bottom-left corner
    float scale = 0;                    // of the help's rows
    std::vector<HudText> texts;         // in drawing order, over the panel
};

// The largest scale the help's rows are drawn at, however large the window.
constexpr float kHelpMaxScale = 0.5f;

// The overlay for these inputs: with the help, its rows in one to three columns at the
// largest scale (up to kHelpMaxScale) that fits them on a panel above the score lines, which
// stay in view at the bottom left, headed by the state of the game; without it, "PAUSED" or
// the call to start alone.
Overlay overlay_layout(const OverlayInputs& in);

// Draws the overlay of the game's current state in the 2-D pixel projection, after the
// display. Its layout is made again only when the window, the state or the keys change.
void draw_overlay(SDLGL& gl, fontManager& font, int score_lines);
