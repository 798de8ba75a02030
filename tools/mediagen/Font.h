// The HUD font: one RGBA image holding every printable character as white glyphs with a
// dark outline, and its description file (media/font/out.fnt) naming each glyph's rectangle.
// Both come from one layout, so they always agree.
#pragma once

#include "Image.h"

#include <string>
#include <vector>

class Output;

// A TrueType font file loaded for stb_truetype.
class TtfFont {
public:
    bool load(const std::string& path);
    // Coverage bitmap of `c` at `scale`; x0/y0 give its offset from the pen on the baseline.
    std::vector<uint8_t> glyph(int c, float scale, int& w, int& h, int& x0, int& y0) const;
    float scale_for_height(float pixels) const;
    void vmetrics(int& ascent, int& descent, int& gap) const;
    void hmetrics(int c, int& advance, int& lsb) const;
    int kern(int a, int b) const;

private:
    std::vector<uint8_t> data;
    std::vector<uint8_t> info; // stbtt_fontinfo, kept opaque here
};

// The fonts the generator draws with; false (and a message naming the package) when missing.
bool load_font(TtfFont& font, const char* file);
extern const char* const kHudFontFile;
extern const char* const kTitleFontFile;

struct Glyph {
    char c;
    int x, y, w, h; // the glyph's cell in the image, pixels from the top-left corner
};

struct FontLayout {
    int image_w = 0, image_h = 0;
    int line_h = 0;
    int baseline = 0;     // from the top of a cell
    std::vector<Glyph> glyphs;
};

// The layout of the HUD font and the image drawn from it.
FontLayout make_font_layout(const TtfFont& font);
Image render_font(const TtfFont& font, const FontLayout& layout);

// The description file: "font_tex=<path>" and one "<char>=x y w h" line per glyph. The font
// manager draws from x - 1.5 to x + w - 1.25, so the values are written shifted to make the
// drawn area exactly the glyph's cell.
std::string font_description(const FontLayout& layout);

// A sample of the font drawn by the font manager's rules (advance by the cell width, blanks
// by two and a half times theirs), for media/font_test.png.
Image make_font_test(const FontLayout& layout, const Image& atlas);

bool generate_font(Output& out);
bool generate_font_description(Output& out);
