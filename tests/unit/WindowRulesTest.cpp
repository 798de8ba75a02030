#include "Common/ParameterFile.h"
#include "Common/Projection.h"
#include "Common/SDLGL.h"
#include "Common/TextureFilter.h"
#include "Common/WindowRules.h"
#include "Console.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <tuple>

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

TEST(Perspective, AspectOfOffscreenTargets)
{
    EXPECT_DOUBLE_EQ(projection_aspect(1024, 768, 1024, 1024.0 / 768, 60), 1024.0 / 768);
    EXPECT_DOUBLE_EQ(projection_aspect(256, 256, 1024, 1.25, 90), 1.25 * 1.325);
    EXPECT_DOUBLE_EQ(projection_aspect(512, 256, 1024, 1.25, 60), 2.0 * 1.25);
}

TEST(TextureFilterTable, MinAndMagFilters)
{
    // F5 steps the mode through 0, 1, 2; anything else is the plain filter.
    const std::tuple<int, bool, GLint> min_filters[] = {
        {2, true, GL_LINEAR_MIPMAP_LINEAR},   {2, false, GL_NEAREST_MIPMAP_LINEAR}, {1, true, GL_LINEAR_MIPMAP_NEAREST},
        {1, false, GL_NEAREST_MIPMAP_NEAREST}, {0, true, GL_LINEAR},               {7, false, GL_NEAREST}};
    for (auto [mode, linear, filter] : min_filters) EXPECT_EQ(min_filter_for(mode, linear), filter) << mode << linear;
    EXPECT_EQ(mag_filter_for(GL_NEAREST_MIPMAP_NEAREST), GL_LINEAR);
    EXPECT_EQ(mag_filter_for(GL_NEAREST), GL_NEAREST);
    EXPECT_STREQ(filter_name(min_filter_for(1, false)), "GL_NEAREST_MIPMAP_NEAREST");
}

TEST(ExtensionList, WholeTokensOnly)
{
    EXPECT_FALSE(is_extension_supported("GL_ARB_foo", nullptr));
    const std::pair<const char*, bool> lists[] = {{"GL_ARB_foobar", false}, {"GL_ARB_fo GL_X", false}, {"", false},
                                                  {"GL_X GL_ARB_foo", true}, {"GL_ARB_foo GL_X", true}};
    for (auto [list, found] : lists)
        EXPECT_EQ(is_extension_supported("GL_ARB_foo", list), found) << list;
}

// ---- the graphics file refused before a window opens ----

// The game's own graphics file with `key` set to `value` ("" removes it).
std::string gfx_with(const TempDir& dir, const std::string& key, const std::string& value)
{
    const char* src = std::getenv("MOORHOLD_SOURCE_DIR");
    std::istringstream in(read_file(std::string(src ? src : ".") + "/config/gfx.p"));
    std::string line, out;
    while (std::getline(in, line))
        if (line.compare(0, key.size() + 1, key + "=") != 0) out += line + "\n";
    if (!value.empty()) out = key + "=" + value + "\n" + out;
    return dir.write("gfx.p", out);
}

// Each refusal throws out of the constructor before SDL starts; the sanitizer's leak check
// sees whatever the constructor failed to release.
TEST(GraphicsFile, MissingKeysAndTooSmallWindowsAreRefusedWithoutALeak)
{
    // The value "" removes the key.
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"fullscreen", ""}, {"screen_height", "-5"},
                                     {"screen_width", "199"}}) {
        TempDir dir;
        const std::string path = gfx_with(dir, key, value), setting = key + "=" + value;
        const std::string err =
            printed([&] { EXPECT_THROW(SDLGL gl(path.c_str()), BadValueException) << setting; }).err;
        EXPECT_EQ(last_bad_value().key, key);
        EXPECT_EQ(last_bad_value().file, path);
        const std::string says = setting + " in " + path + ": must lie between 200 and 8192 (a window side in pixels)";
        EXPECT_TRUE(value.empty() || err.find(says) != std::string::npos) << err;
    }
}

} // namespace
