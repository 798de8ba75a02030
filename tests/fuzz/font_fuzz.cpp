// The font description with the glyph table: every printable character looked up with the
// four-number accessor, the fallbacks for the rest.
#include "Common/FontManager.h"
#include "Common/ParameterFile.h"
#include "FuzzFile.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ParameterFile p(fuzz_file("out.fnt", data, size).c_str());
    try {
        (void)p.getString("font_tex");
    } catch (const BadValueException&) {
    }
    (void)count_line_feeds(p.file->text, p.file->length);
    GlyphTable table = build_glyph_table(p, 0);
    // Undefined characters and bytes past 127 keep their fixed fallbacks.
    for (int i = 128; i < 256; ++i)
        require(table.glyphs[i].w == 80 && table.glyphs[i].h == 20 && table.glyphs[i].x == 0);
    for (int i = 0; i < 32; ++i) require(table.glyphs[i].w == 80 && table.glyphs[i].h == 0);
    const char text[] = "Score 10 ~ \x7f\x80\xff";
    std::vector<GlyphQuad> quads;
    layout_text(table.glyphs, text, 0, 0, 1, 1, 1.0f / 256, 1.0f / 256, quads);
    require(quads.size() == sizeof text - 1);
    return 0;
}
