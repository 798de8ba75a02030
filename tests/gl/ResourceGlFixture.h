// A GL context for the resource tests (window, GLEW) and small image files written on the
// spot: PNG, 24-bit BMP and TGA through stb.
#pragma once

#include "Common/Platform.h"
#include "TempDir.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <string>
#include <vector>

// One integer of the GL state, and one parameter of the texture bound to `target`.
inline GLint gl_integer(GLenum name)
{
    GLint v = -1;
    glGetIntegerv(name, &v);
    return v;
}
inline GLint tex_param(GLenum target, GLenum name)
{
    GLint v = -1;
    glGetTexParameteriv(target, name, &v);
    return v;
}

class ResourceGlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        ASSERT_NE(SDL_SetVideoMode(256, 256, 0, SDL_OPENGL), nullptr) << SDL_GetError();
        ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
        keep_loaded_libraries_for_leak_check(); // the driver outlives SDL_Quit for LSan
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
    }
    void TearDown() override { SDL_Quit(); }

    // width x height pixels of `comp` bytes written as PNG, BMP or TGA by extension.
    std::string write_image(const std::string& name, int width, int height, int comp,
                            const std::vector<unsigned char>& pixels)
    {
        std::string path = dir.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::string ext = name.substr(name.size() - 4);
        int ok = 0;
        if (ext == ".png")
            ok = stbi_write_png(path.c_str(), width, height, comp, pixels.data(), width * comp);
        else if (ext == ".bmp")
            ok = stbi_write_bmp(path.c_str(), width, height, comp, pixels.data());
        else if (ext == ".tga")
            ok = stbi_write_tga(path.c_str(), width, height, comp, pixels.data());
        EXPECT_NE(ok, 0) << "could not write " << path;
        return path;
    }

    // Level `level` of the bound texture `target` as RGBA bytes.
    static std::vector<unsigned char> read_rgba(GLenum target, int w, int h, int level = 0)
    {
        std::vector<unsigned char> out(static_cast<size_t>(w) * h * 4);
        glGetTexImage(target, level, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }

    TempDir dir;
};
