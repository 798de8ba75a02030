// The heads-up display's font: glyph rectangles cut from one font texture, described by a
// parameter file whose keys are the characters themselves ("A=x y w h").
#pragma once

#include <cstddef>
#include <vector>

class ParameterFile;
class Texture;

// A glyph's rectangle in texture pixels, x to the right and y downward from the image's
// top-left corner.
struct Glyph {
    float x = 0, y = 0, w = 0, h = 0;
};

struct GlyphTable {
    Glyph glyphs[256];
    float max_char_w = 0, max_char_h = 0;
};

// The 256 glyph slots for a font description, slot i describing character first_char + i.
// Defined printable characters get their rectangle (x moved 1.5 left, w widened by 0.25);
// undefined ones (0, 0, 100, 0) and the message "aj karamba, bad value found"; control
// characters (0, 0, 80, 0); codes 128 to 255 keep (0, 0, 80, 20). Logs every slot.
GlyphTable build_glyph_table(const ParameterFile& description, int first_char);

// Line feeds in a text of `length` bytes.
int count_line_feeds(const char* text, size_t length);

// One character's quad: screen rectangle (x0, y0)-(x1, y1) with y up, and texture
// coordinates s0..s1 left to right, t_top..t_bottom for its upper and lower edge.
struct GlyphQuad {
    float x0, y0, x1, y1;
    float s0, s1, t_top, t_bottom;
};

// The quads of a text starting at (x, y). Each character advances by its width times
// scale_x; a blank advances a further 1.5 times that, so words stand apart.
// su and sv are 1 / the texture's width and height. The quads replace what `quads` held; its
// storage is kept, so text drawn every frame allocates nothing once it has been drawn once.
void layout_text(const Glyph* glyphs, const char* text, float x, float y, float scale_x, float scale_y,
                 float su, float sv, std::vector<GlyphQuad>& quads);

// How far a character moves the next one on: its width times scale_x, and a blank 2.5 times
// that, so words stand apart.
float glyph_advance(const Glyph& g, unsigned char c, float scale_x);

// The width of a text drawn at scale_x.
float text_width(const Glyph* glyphs, const char* text, float scale_x);

class fontManager {
public:
    explicit fontManager(const char* path);
    ~fontManager();
    fontManager(const fontManager&) = delete;
    fontManager& operator=(const fontManager&) = delete;

    // position in pixels from the bottom-left corner (2-D projection), colour RGB, scale x, y.
    void draw_text(const char* text, const float position[2], const float colour[3],
                   const float scale[2]);
    void set_transparent(bool flag);

    ParameterFile* parameters = nullptr; // only during construction
    int first_char = 0;
    bool transparent = true;
    Texture* texture = nullptr; // owned
    int _char_cnt = 0;
    Glyph* glyphs = nullptr;    // 256 slots, owned
    float max_char_w = 0, max_char_h = 0;
    std::vector<GlyphQuad> quads; // the last text drawn
};

// The one font of the game, created by the main program once the window exists.
extern fontManager* font_manager;
