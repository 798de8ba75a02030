// Setting up the renderer: the window's sizes, the driver's extensions, the target sizes and
// formats, the shader sources, and the eye and switches a scripted run sets it up with.
#include "Common/SDLGL.h"
#include "Common/SDLGLResources.h"
#include "Common/TestSeams.h"
#include "Common/WindowRules.h"
#include "Gfx/FBO.h"
#include "Gfx/ShaderSource.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

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

TEST(ExtensionList, WholeTokensOnlyAndTheNvidiaFloatFormatOnlyWithItsExtension)
{
    EXPECT_FALSE(is_extension_supported("GL_ARB_foo", nullptr));
    const std::pair<const char*, bool> lists[] = {{"GL_ARB_foobar", false}, {"GL_ARB_fo GL_X", false}, {"", false},
                                                  {"GL_X GL_ARB_foo", true}, {"GL_ARB_foo GL_X", true}};
    for (auto [list, found] : lists)
        EXPECT_EQ(is_extension_supported("GL_ARB_foo", list), found) << list;
    EXPECT_EQ(choose_float_rgba32_format("GL_ARB_texture_float GL_NV_float_buffer GL_EXT_x"),
              static_cast<GLenum>(GL_FLOAT_RGBA32_NV));
    EXPECT_EQ(choose_float_rgba32_format("GL_ARB_texture_float GL_NV_float_buffer_x"),
              static_cast<GLenum>(GL_RGBA32F_ARB));
    EXPECT_EQ(choose_float_rgba32_format(nullptr), static_cast<GLenum>(GL_RGBA32F_ARB));
}

TEST(RenderTargetSizes, TheSceneImageIsTheWindowTimesTheRenderScale)
{
    // The window, the render scale, and the scene image and its small companion.
    const std::tuple<int, int, float, int, int, int, int> cases[] = {
        {1022, 766, 1.0f, 1022, 766, 255, 191},  // the small image rounds down
        {1023, 767, 0.5f, 512, 384, 128, 96},    // the scaled one to the nearest pixel
        {1024, 768, 2.0f, 1024, 768, 256, 192},  // never larger than the window
        {1024, 768, 0.0f, 256, 192, 64, 48},     // nor smaller than a quarter
        {2, 2, 0.25f, 1, 1, 0, 0},
    };
    for (auto [w, h, scale, image_w, image_h, small_w, small_h] : cases) {
        TargetSize image = dof_target_size(w, h, scale);
        TargetSize small = dof_small_target_size(image.w, image.h);
        SCOPED_TRACE(testing::Message() << w << " x " << h << " at " << scale);
        EXPECT_TRUE(image.w == image_w && image.h == image_h) << image.w << " x " << image.h;
        EXPECT_TRUE(small.w == small_w && small.h == small_h) << small.w << " x " << small.h;
    }
}

TEST(SceneTextures, EachSlotIsFilledExactlyOnce)
{
    for (int i = 0; i < 17; ++i)
        for (int j = i + 1; j < 17; ++j) EXPECT_NE(scene_texture_slots[i].slot, scene_texture_slots[j].slot);
}

TEST(ShaderSourceTest, IncludeLinesStandForTheNamedFileOfTheProgramsFolder)
{
    const std::map<std::string, std::string> files = {
        {"shader/common.c", "float f() { return 1.0; }\n"},
        {"shader/two.c", "float g();"},
        {"shader/nested.c", "#include \"common.c\"\n"},
    };
    std::vector<std::string> reads;
    const ShaderFileReader read = [&](const std::string& path) {
        reads.push_back(path);
        auto it = files.find(path);
        return it == files.end() ? std::string("<missing " + path + ">") : it->second;
    };
    // The source, its expansion and the files read for it.
    const std::tuple<const char*, std::string, std::string, std::vector<std::string>> cases[] = {
        {"a source without includes stays as it is", "#version 120\nvoid main() {}\n", "#version 120\nvoid main() {}\n", {}},
        {"the included text takes the include line's place", "#version 120\n#include \"common.c\"\nvoid main() {}",
         "#version 120\nfloat f() { return 1.0; }\nvoid main() {}", {"shader/common.c"}},
        {"blanks around the keyword and the name are allowed, a line end is kept", "  #include  \"two.c\"  \r\nx",
         "float g();\nx", {"shader/two.c"}},
        {"an include on the last line", "a\n#include \"two.c\"", "a\nfloat g();", {"shader/two.c"}},
        {"includes in an included file are left to the compiler", "#include \"nested.c\"\n", "#include \"common.c\"\n",
         {"shader/nested.c"}},
        {"lines that only look like includes stay", "// #include \"common.c\"\n#include common.c\n#include \"\"\n#include \"two.c\" x\n",
         "// #include \"common.c\"\n#include common.c\n#include \"\"\n#include \"two.c\" x\n", {}},
    };
    for (const auto& [what, source, expanded, files_read] : cases) {
        reads.clear();
        EXPECT_EQ(expand_shader_includes(source, shader_folder("shader/program_fs.c"), read), expanded) << what;
        EXPECT_EQ(reads, files_read) << what;
    }
    // The folder is the path up to its last separator, of either kind.
    EXPECT_EQ(shader_folder(".\\shader\\pgmland_color_vs.c"), ".\\shader\\");
    EXPECT_EQ(shader_folder("a/b/c.c"), "a/b/");
    EXPECT_EQ(shader_folder("c.c"), "");
}

TEST(Seams, EyePoseIsFiveNumbersAndTogglesAListSplitOnCommas)
{
    EyePose p;
    ASSERT_TRUE(parse_eye_pose("4096 900.5 -12 45 -30", p));
    EXPECT_EQ((std::vector<double>{p.x, p.y, p.z, p.yaw_deg, p.pitch_deg}),
              (std::vector<double>{4096, 900.5, -12, 45, -30}));
    ASSERT_TRUE(parse_eye_pose(" 1,2, 3 ,4,5 ", p));
    EXPECT_DOUBLE_EQ(p.z, 3);
    for (const char* bad : {"1 2 3 4", "1 2 3 4 5 6", "1 2 x 4 5", "", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(parse_eye_pose(bad, p)) << (bad ? bad : "null");
    EXPECT_DOUBLE_EQ(p.x, 1) << "a refused pose changes nothing";
    // The toggle list splits on commas and drops blanks.
    EXPECT_EQ(parse_toggle_list(" L, F3,,N "), (std::vector<std::string>{"L", "F3", "N"}));
    EXPECT_TRUE(parse_toggle_list("").empty());
}
