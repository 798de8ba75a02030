// GL contexts for the tests. ResourceGlTest: a bare 256 x 256 window with GLEW, and small image
// files written on the spot (PNG, 24-bit BMP and TGA through stb). GlFixture: a window made the
// game's way, an SDLGL from the game directory's graphics parameter file, with the game
// directory as the working directory so that the shader sources are found where the game finds them.
#pragma once

#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Common/SDLGL.h"
#include "Console.h"
#include "GameDir.h"
#include "Gfx/FBO.h"
#include "Gfx/Texture.h"
#include "TempDir.h"
#include "Terrain/TerrainScale.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
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
        const std::string path = dir.write(name, ""), ext = name.substr(name.size() - 4);
        const char* p = path.c_str();
        const int ok = ext == ".png"   ? stbi_write_png(p, width, height, comp, pixels.data(), width * comp)
                       : ext == ".bmp" ? stbi_write_bmp(p, width, height, comp, pixels.data())
                       : ext == ".tga" ? stbi_write_tga(p, width, height, comp, pixels.data())
                                       : 0;
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

class GlFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_dir = std::filesystem::current_path();
        std::filesystem::current_path(game_dir());
        sdlgl = new SDLGL(".\\config\\gfx.p");
        read_grid_and_wave_settings(*sdlgl->parameters);
        // As the start-up derives them from the eye's near and far planes.
        dof_params[0] = 0.15f * (0.2f * 350000.0f - 1.5f);
        dof_params[1] = 1.5f;
        dof_params[2] = dof_params[3] = 0.2f * 350000.0f;
    }

    void TearDown() override
    {
        for (Camera** c : {&eyecam, &auxcam, &lightcam}) {
            delete *c;
            *c = nullptr;
        }
        delete sdlgl;
        sdlgl = nullptr;
        std::filesystem::current_path(previous_dir);
    }

    // A texture record of a given size without image data, enough for what reads sizes.
    static Texture* sized(int w, int h)
    {
        Texture* t = new Texture();
        t->_texW = w;
        t->_texH = h;
        return t;
    }

    std::filesystem::path previous_dir;
};
