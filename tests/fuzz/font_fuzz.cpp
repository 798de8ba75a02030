// The font description through the glyph table; unset characters keep their fallbacks.
#include "Common/FontManager.h"
#include "Common/ParameterFile.h"
#include "FuzzFile.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ParameterFile p(fuzz_file("out.fnt", data, size).c_str());
    try {
        (void)p.getString("font_tex");
    } catch (const BadValueException&) {
    }
    (void)count_line_feeds(p.file->text, p.file->length);
    GlyphTable table = build_glyph_table(p, 0);
    for (int i = 128; i < 256; ++i)
        require(table.glyphs[i].w == 80 && table.glyphs[i].h == 20 && table.glyphs[i].x == 0);
    for (int i = 0; i < 32; ++i) require(table.glyphs[i].w == 80 && table.glyphs[i].h == 0);
    const char text[] = "Score 10 ~ \x7f\x80\xff";
    std::vector<GlyphQuad> quads;
    layout_text(table.glyphs, text, 0, 0, 1, 1, 1.0f / 256, 1.0f / 256, quads);
    require(quads.size() == sizeof text - 1);
    return 0;
}
