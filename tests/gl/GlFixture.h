// A window and GL context made the game's way: an SDLGL from the game directory's
// graphics parameter file, with the game directory as the working directory so that the
// shader sources are found where the game finds them.
#pragma once

#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/SDLGL.h"
#include "GameDir.h"
#include "Gfx/Texture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class GlFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_dir = std::filesystem::current_path();
        std::filesystem::current_path(game_dir());
        sdlgl = new SDLGL(".\\config\\gfx.p");
        read_grid_and_wave_settings(*sdlgl->parameters);
        dof_params[0] = 0.15f * (0.2f * 350000.0f - 1.5f);
        dof_params[1] = 1.5f;
        dof_params[2] = dof_params[3] = 0.2f * 350000.0f;
    }

    void TearDown() override
    {
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
