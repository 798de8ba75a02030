#include "Common/SDLGL.h"
#include "Common/SDLGLResources.h"
#include "Gfx/FBO.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RenderTargetSizes, DepthOfFieldTargetsFollowTheWindow)
{
    TargetSize full = dof_target_size(1024, 768);
    EXPECT_EQ(full.w, 1024);
    EXPECT_EQ(full.h, 768);
    TargetSize small = dof_small_target_size(1024, 768);
    EXPECT_EQ(small.w, 256);
    EXPECT_EQ(small.h, 192);
}

TEST(RenderTargetSizes, SmallTargetRoundsDown)
{
    EXPECT_EQ(dof_small_target_size(1022, 766).w, 255);
    EXPECT_EQ(dof_small_target_size(1022, 766).h, 191);
}

TEST(FloatTargetFormat, NvidiaFormatOnlyWithItsExtension)
{
    EXPECT_EQ(choose_float_rgba32_format("GL_ARB_texture_float GL_NV_float_buffer GL_EXT_x"),
              static_cast<GLenum>(GL_FLOAT_RGBA32_NV));
    EXPECT_EQ(choose_float_rgba32_format("GL_ARB_texture_float GL_NV_float_buffer_x"),
              static_cast<GLenum>(GL_RGBA32F_ARB));
    EXPECT_EQ(choose_float_rgba32_format(nullptr), static_cast<GLenum>(GL_RGBA32F_ARB));
    EXPECT_EQ(std::string(float_rgba32_format_name(GL_RGBA32F_ARB)), "GL_RGBA32F_ARB");
    EXPECT_EQ(std::string(float_rgba32_format_name(GL_FLOAT_RGBA32_NV)), "GL_FLOAT_RGBA32_NV");
}

TEST(SceneTextures, LoadOrderAndFiles)
{
    EXPECT_EQ(std::string(scene_texture_slots[0].path), ".\\media\\sand_base1.jpg");
    EXPECT_EQ(scene_texture_slots[0].slot, &SDLGL::sand_tex);
    EXPECT_EQ(std::string(scene_texture_slots[13].path), ".\\media\\noise_nm.png");
    EXPECT_EQ(scene_texture_slots[13].slot, &SDLGL::noise_nm_tex);
    EXPECT_EQ(std::string(scene_texture_slots[16].path), ".\\media\\Grass6.jpg");
    EXPECT_EQ(scene_texture_slots[16].slot, &SDLGL::grass_tex);
    // Each slot is filled exactly once.
    for (int i = 0; i < 17; ++i)
        for (int j = i + 1; j < 17; ++j) EXPECT_NE(scene_texture_slots[i].slot, scene_texture_slots[j].slot);
}

} // namespace
