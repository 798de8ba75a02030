// A window and GL context made the game's way: an SDLGL from the game directory's
// graphics parameter file, with the game directory as the working directory so that the
// shader sources are found where the game finds them.
#pragma once

#include "Common/Camera.h"
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

    // The eye, grid and light cameras as the start-up makes them; the passes read them.
    static void make_cameras()
    {
        eyecam = new Camera(60.0f, 1.5f, 350000.0f);
        eyecam->set_aspect(float(sdlgl->aspect_ratio));
        auxcam = new Camera(*eyecam);
        auxcam->fov = 90.0f;
        lightcam = new Camera(120.0f, 100.0f, 30000.0f);
    }

    static void delete_cameras()
    {
        delete eyecam;
        delete auxcam;
        delete lightcam;
        eyecam = auxcam = lightcam = nullptr;
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
