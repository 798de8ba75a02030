#include "Common/SDLGL.h"
#include "Common/SDLGLResources.h"
#include "Gfx/FBO.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RenderTargetSizes, TheSceneImageIsTheWindowTimesTheRenderScale)
{
    struct Case {
        int w, h;
        float scale;
        int image_w, image_h, small_w, small_h;
    } cases[] = {
        {1024, 768, 1.0f, 1024, 768, 256, 192},
        {1024, 768, 0.5f, 512, 384, 128, 96},
        {1022, 766, 1.0f, 1022, 766, 255, 191},  // the small image rounds down
        {1023, 767, 0.5f, 512, 384, 128, 96},    // the scaled one to the nearest pixel
        {1024, 768, 2.0f, 1024, 768, 256, 192},  // never larger than the window
        {1024, 768, 0.0f, 256, 192, 64, 48},     // nor smaller than a quarter
        {2, 2, 0.25f, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        TargetSize image = dof_target_size(c.w, c.h, c.scale);
        TargetSize small = dof_small_target_size(image.w, image.h);
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " at " << c.scale);
        EXPECT_TRUE(image.w == c.image_w && image.h == c.image_h) << image.w << " x " << image.h;
        EXPECT_TRUE(small.w == c.small_w && small.h == c.small_h) << small.w << " x " << small.h;
    }
}

TEST(FloatTargetFormat, NvidiaFormatOnlyWithItsExtension)
{
    EXPECT_EQ(choose_float_rgba32_format("GL_ARB_texture_float GL_NV_float_buffer GL_EXT_x"),
              static_cast<GLenum>(GL_FLOAT_RGBA32_NV));
    EXPECT_EQ(choose_float_rgba32_format("GL_ARB_texture_float GL_NV_float_buffer_x"),
              static_cast<GLenum>(GL_RGBA32F_ARB));
    EXPECT_EQ(choose_float_rgba32_format(nullptr), static_cast<GLenum>(GL_RGBA32F_ARB));
    EXPECT_EQ(std::string(float_rgba32_format_name(GL_FLOAT_RGBA32_NV)), "GL_FLOAT_RGBA32_NV");
}

TEST(SceneTextures, EachSlotIsFilledExactlyOnce)
{
    for (int i = 0; i < 17; ++i)
        for (int j = i + 1; j < 17; ++j) EXPECT_NE(scene_texture_slots[i].slot, scene_texture_slots[j].slot);
}

} // namespace
