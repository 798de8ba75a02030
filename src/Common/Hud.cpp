#include "Common/Hud.h"

#include "Audio/AudioSystem.h"

#include "Common/Difficulty.h"
#include "Common/FontManager.h"
#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Common/TextureFilter.h"
#include "Gfx/DisplayToggles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

HudText text_item(const std::string& text, float x, float y, float r, float g, float b, float scale)
{
    HudText t;
    t.text = text;
    t.pos[0] = x;
    t.pos[1] = y;
    t.colour[0] = r;
    t.colour[1] = g;
    t.colour[2] = b;
    t.scale[0] = t.scale[1] = scale;
    return t;
}

std::string format(const char* fmt, int a)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a);
    return buf;
}

std::string format(const char* fmt, int a, int b)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

} // namespace

void option_colour(bool transparent, float out[3])
{
    out[0] = 0.0f;
    out[1] = transparent ? 0.1f : 1.0f;
    out[2] = 0.0f;
}

HudFrame hud_layout(const GameEndBanners& banners, int player_score, const std::vector<int>& opponent_scores,
                    const HudInputs& in)
{
    HudFrame frame;
    hud_layout_into(frame, banners, player_score, opponent_scores, in);
    return frame;
}

void hud_layout_into(HudFrame& frame, const GameEndBanners& banners, int player_score,
                     const std::vector<int>& opponent_scores, const HudInputs& in)
{
    std::vector<HudText>& out = frame.texts;
    out.clear();
    const float w = static_cast<float>(in.width), h = static_cast<float>(in.height);

    out.push_back(text_item(format("you: %d", player_score), 0, 0, 0.8f, 0.6f, 0.0f, 0.75f));

    if (banners.you_are_the_bromel) {
        out.push_back(text_item("YOU ARE THE", 20, 0.65f * h + 1.75f * in.max_char_w, 0, 0.25f, 0.8f, 1.75f));
        out.push_back(text_item("   BROMEL  ", 20, 0.65f * h, 0, 0.25f, 0.8f, 1.75f));
    }
    if (banners.you_win)
        out.push_back(text_item("YOU WIN", 120, 0.55f * h, 0, 0.25f, 0.8f, 2.25f));
    for (int i = 0; i < banners.you_lose; ++i)
        out.push_back(text_item("YOU LOSE", 120, 0.55f * h, 0, 0.5f, 0.8f, 2.25f));

    // The opponents' lines start just above the player's line (drawn at scale 0.75).
    const float line_step = 0.5f * in.max_char_h;
    float y = 0.75f * in.max_char_h;
    for (int i = static_cast<int>(opponent_scores.size()) - 1; i >= 0; --i, y += line_step)
        out.push_back(text_item(format("Dr. Evil %d: %d", i, opponent_scores[i]), 0, y, 0.8f, 0, 0, 0.5f));

    if (in.level_in_use) {
        std::string level = std::string("level ") + in.level_in_use;
        if (in.level_next) level += std::string(", next ") + in.level_next;
        // Light grey, so that it does not read as one more opponent's line.
        out.push_back(text_item(level, 0, y, 0.75f, 0.75f, 0.75f, 0.5f));
    }

    frame.transparency_switch_at = out.size();
    const float option_x = 0.25f * w;
    float c[3];
    option_colour(in.transparency, c);
    switch (option_message(in.now, in.culling_changed_at, in.filter_changed_at, in.transparency_changed_at,
                           in.volume_changed_at)) {
    case 1:
        out.push_back(text_item(std::string("VIEW FRUSTUM CULLING: ") + (in.culling_on ? "ON" : "OFF"),
                                option_x, h - 0.5f * in.max_char_h, c[0], c[1], c[2], 0.5f));
        break;
    case 2:
        out.push_back(text_item(std::string("filtering: ") + filter_name(in.filter), option_x,
                                h - 0.5f * in.max_char_h, c[0], c[1], c[2], 0.5f));
        break;
    case 3:
        out.push_back(text_item(in.transparency ? "TRANSPARENCY ON" : "TRANSPARENCY OFF", option_x,
                                h - in.max_char_h, c[0], c[1], c[2], 0.5f));
        break;
    case 4:
        out.push_back(text_item(in.volume_percent < 0 ? std::string("VOLUME: OFF")
                                                      : format("VOLUME: %d%%", in.volume_percent),
                                option_x, h - 0.5f * in.max_char_h, c[0], c[1], c[2], 0.5f));
        break;
    default:
        break;
    }

    if (in.show_fps) {
        char buf[64];
        std::snprintf(buf, sizeof buf, " fps: %4.1f", static_cast<double>(in.fps_mean));
        out.push_back(text_item(buf, 0, h - 0.5f * in.max_char_h, c[0], c[1], c[2], 0.5f));
    }
}

void hud_score_box(const Glyph* glyphs, float max_char_h, int opponents, float out[2])
{
    static std::vector<GlyphQuad> quads; // kept: the box is asked for every frame
    auto width = [&](const char* text, float scale) {
        layout_text(glyphs, text, 0, 0, scale, scale, 1, 1, quads);
        return quads.empty() ? 0.0f : quads.back().x1;
    };
    // The level's line is no wider than an opponent's, save while a new level waits for the
    // next game.
    out[0] = std::max({width("you: 000", 0.75f), width("Dr. Evil 0: 000", 0.5f), width("level normal", 0.5f)});
    // The opponents' lines and the level's above them.
    out[1] = (0.75f + 0.5f * float(std::max(opponents, 0) + 1)) * max_char_h;
}

void draw_hud(SDLGL& gl, fontManager& font, const GameEndBanners& banners, float fps_mean, int player_score,
              const std::vector<int>& opponent_scores)
{
    HudInputs in;
    in.width = gl.width;
    in.height = gl.height;
    in.max_char_w = font.max_char_w;
    in.max_char_h = font.max_char_h;
    in.now = gl.time_now;
    in.culling_changed_at = gl.culling_changed_at;
    in.filter_changed_at = gl.filter_changed_at;
    in.transparency_changed_at = gl.transparency_changed_at;
    in.culling_on = display.culling;
    in.filter = min_filter_for(gl.filter_mode, gl.filter_linear);
    in.transparency = gl.transparency;
    in.show_fps = gl.show_fps;
    in.fps_mean = fps_mean;
    in.volume_changed_at = gl.volume_changed_at;
    in.volume_percent = master_volume_percent();
    in.level_in_use = difficulty_name(difficulty_choice.in_use);
    if (difficulty_choice.chosen != difficulty_choice.in_use) in.level_next = difficulty_name(difficulty_choice.chosen);

    // Kept from frame to frame: the texts' list and their short strings then take no new
    // memory in steady play.
    static HudFrame frame;
    hud_layout_into(frame, banners, player_score, opponent_scores, in);

    // The display is fixed-function text in window pixels: no program of the scene passes
    // may stay bound, and the scene's view must not move the texts.
    glUseProgram(0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (size_t i = 0; i < frame.texts.size(); ++i) {
        if (i == frame.transparency_switch_at) font.set_transparent(gl.transparency);
        const HudText& t = frame.texts[i];
        font.draw_text(t.text.c_str(), t.pos, t.colour, t.scale);
    }
    if (frame.transparency_switch_at >= frame.texts.size()) font.set_transparent(gl.transparency);
}
