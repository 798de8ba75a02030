// The heads-up display: scores, the win and loss banners, the option messages and the
// frame rate. The layout (which texts, where, in which colour and size) is decided apart
// from the drawing, so it can be checked for given scores and times.
#pragma once

#include "Common/GameFlow.h"

#include <GL/glew.h>

#include <cstddef>
#include <string>
#include <vector>

class SDLGL;
class fontManager;

struct HudText {
    std::string text;
    float pos[2];    // pixels from the bottom-left corner
    float colour[3]; // red, green, blue
    float scale[2];  // x, y
};

// Everything besides the scores that the display reads in one frame.
struct HudInputs {
    int width = 0, height = 0;           // window size in pixels
    float max_char_w = 0, max_char_h = 0; // the font's widest and tallest glyph
    float now = 0;                        // seconds
    float culling_changed_at = -1.0e9f;
    float filter_changed_at = -1.0e9f;
    float transparency_changed_at = -1.0e9f;
    bool culling_on = true;
    GLint filter = GL_LINEAR;             // current minification filter
    bool transparency = true;
    bool show_fps = false;
    float fps_mean = 0;
    float volume_changed_at = -1.0e9f;
    int volume_percent = 100;             // -1 while the sound is off
    // The opponents' level in this game, and the one chosen for the next when it differs
    // (null when it does not); no line without the first.
    const char* level_in_use = nullptr;
    const char* level_next = nullptr;
};

// The colour of the option messages and the frame rate: the design's dark green over the
// scene, lifted to full brightness when the solid font (F9) draws each glyph on its black box,
// where the dark green cannot be read.
void option_colour(bool transparent, float out[3]);

struct HudFrame {
    std::vector<HudText> texts; // in drawing order
    // The font's transparency switch is set just before this text (the option messages
    // and the frame rate come after it).
    size_t transparency_switch_at = 0;
};

// The texts of one frame, with the banners of the game's end that the frame loop has decided
// (evaluate_game_end). The opponents' lines stack upward from just above the player's line,
// the last opponent lowest.
HudFrame hud_layout(const GameEndBanners& banners, int player_score, const std::vector<int>& opponent_scores,
                    const HudInputs& in);
// The same into a frame whose lists are reused.
void hud_layout_into(HudFrame& frame, const GameEndBanners& banners, int player_score,
                     const std::vector<int>& opponent_scores, const HudInputs& in);

// The bottom-left corner the scores take (width, height in pixels): the player's line and
// `opponents` lines of "Dr. Evil" above it, as wide as three-digit scores make them.
struct Glyph;
void hud_score_box(const Glyph* glyphs, float max_char_h, int opponents, float out[2]);

// Draws one frame's display in the 2-D pixel projection the caller has set (the model-view
// matrix is reset; the caller saves it): lays the texts out from the window object's state
// and the banners it is given, and renders them with the font.
void draw_hud(SDLGL& gl, fontManager& font, const GameEndBanners& banners, float fps_mean, int player_score,
              const std::vector<int>& opponent_scores);
