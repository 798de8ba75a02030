#include "Common/SDLGL.h"
#include "Common/WindowRules.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(Resize, SidesAtLeast200AndEvenAndPointsAtMost100)
{
    for (auto [w, h, kept_w, kept_h] : {std::array{151, 333, 200, 332}, std::array{1025, 768, 1024, 768}}) {
        clamp_resize(w, h);
        EXPECT_EQ(w, kept_w);
        EXPECT_EQ(h, kept_h);
    }
    EXPECT_FLOAT_EQ(clamp_point_size(256), 100);
    EXPECT_FLOAT_EQ(clamp_point_size(64), 64);
}

TEST(ExtensionList, WholeTokensOnly)
{
    EXPECT_FALSE(is_extension_supported("GL_ARB_foo", nullptr));
    const std::pair<const char*, bool> lists[] = {{"GL_ARB_foobar", false}, {"GL_ARB_fo GL_X", false}, {"", false},
                                                  {"GL_X GL_ARB_foo", true}, {"GL_ARB_foo GL_X", true}};
    for (auto [list, found] : lists)
        EXPECT_EQ(is_extension_supported("GL_ARB_foo", list), found) << list;
}

} // namespace
