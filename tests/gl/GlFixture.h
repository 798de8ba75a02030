// A window and GL context made the game's way: an SDLGL from the game directory's
// graphics parameter file, with the game directory as the working directory so that the
// shader sources are found where the game finds them.
#pragma once

#include "Common/Camera.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/SDLGL.h"
#include "GameDir.h"
#include "Gfx/FBO.h"
#include "Gfx/Texture.h"
#include "Terrain/TerrainScale.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

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
        delete eyecam;
        delete auxcam;
        delete lightcam;
        eyecam = auxcam = lightcam = nullptr;
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

    // The passes' world over a flat map of side x side samples at half the height range: the
    // cameras as the start-up makes them, the height texture, the programs and the targets.
    static TerrainScale prepare_flat_landscape(int side)
    {
        eyecam = new Camera(60.0f, 1.5f, 350000.0f);
        eyecam->set_aspect(float(sdlgl->aspect_ratio));
        auxcam = new Camera(*eyecam);
        auxcam->fov = 90.0f;
        lightcam = new Camera(120.0f, 100.0f, 30000.0f);
        std::vector<uint16_t> flat(static_cast<size_t>(side) * side, kFlatSample);
        sdlgl->textures.htex_16bit = new Texture();
        sdlgl->textures.htex_16bit->load_16bit(side, side, flat.data());
        const TerrainScale terrain =
            terrain_scale_for(side, 0, sdlgl->settings.phys_minfact, sdlgl->settings.y_pgmland_scale, waterlevel_frac);
        ::testing::internal::CaptureStdout();
        sdlgl->prepare_shaders(terrain);
        sdlgl->create_fbos();
        ::testing::internal::GetCapturedStdout();
        return terrain;
    }

    // The height of the flat map's ground in graphics units.
    static float flat_ground(const TerrainScale& terrain)
    {
        return kFlatSample / 65535.0f * terrain.pgmland[1] + terrain.pgmland_offset;
    }

    // A render target's image as RGBA bytes, bottom row first.
    static std::vector<unsigned char> pixels_of(FBO* target)
    {
        std::vector<unsigned char> p(static_cast<size_t>(target->_texW) * target->_texH * 4);
        target->bind_framebuffer();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, target->_texW, target->_texH, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        target->unbind_framebuffer();
        return p;
    }

    static constexpr uint16_t kFlatSample = 32768;
    std::filesystem::path previous_dir;
};
