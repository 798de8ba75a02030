// The contact sheet of the generated data (media/contact_sheet.png, for the README and a
// quick look): it decodes, and every model panel shows a model, not an empty background.
#include "GameDir.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

TEST(MediaContactSheet, ShowsEveryModelPanel)
{
    SDL_Surface* s = IMG_Load(game_file("media/contact_sheet.png").c_str());
    ASSERT_NE(s, nullptr) << IMG_GetError();
    EXPECT_EQ(s->w, 1536);
    EXPECT_GT(s->h, 1000);
    // panels of 256 x 256 below a 40-pixel title, six to a row, fourteen of them
    const int bpp = s->format->BytesPerPixel;
    for (int i = 0; i < 14; ++i) {
        const int x0 = (i % 6) * 256, y0 = 40 + (i / 6) * 256;
        const uint8_t* bg = static_cast<const uint8_t*>(s->pixels) + (y0 + 2) * s->pitch + (x0 + 2) * bpp;
        int differ = 0;
        for (int y = y0; y < y0 + 230; y += 2)
            for (int x = x0; x < x0 + 256; x += 2) {
                const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * bpp;
                differ += std::abs(p[0] - bg[0]) + std::abs(p[1] - bg[1]) + std::abs(p[2] - bg[2]) > 30;
            }
        EXPECT_GT(differ, 300) << "panel " << i << " is empty";
    }
    SDL_FreeSurface(s);
}
