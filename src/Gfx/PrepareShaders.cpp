// SDLGL::prepare_shaders: the 17 programs of the game with every uniform whose value is
// fixed for the whole run. Uniforms that change per frame are set by the render passes.
#include "Gfx/PrepareShaders.h"

#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/ShaderProgram.h"
#include "Gfx/Texture.h"
#include "Gfx/TextureUnits.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <cstdio>
#include <string>

const float kTerrainLightDir[3] = {-0.2f, 0.85f, -0.15f};
const float kTerrainLightColor[4] = {1.0f, 0.9f, 0.75f, 1.0f};

namespace {

const float kWaveTileScale = 30.0f;

struct Size {
    float w, h;
};

// The size of a texture slot; a texture whose image did not load counts as one texel so
// that the programs get finite values.
Size size_of(const Texture* t)
{
    if (!t) return {1.0f, 1.0f};
    return {t->_texW > 0 ? float(t->_texW) : 1.0f, t->_texH > 0 ? float(t->_texH) : 1.0f};
}

ShaderProgram* make_program(const char* log_line, const char* base)
{
    if (log_line) std::printf("%s\n", log_line);
    std::string vs = std::string(".\\shader\\") + base + "_vs.c";
    std::string fs = std::string(".\\shader\\") + base + "_fs.c";
    ShaderProgram* p = new ShaderProgram;
    p->load(vs.c_str(), fs.c_str());
    return p;
}

} // namespace

void SDLGL::prepare_shaders(const TerrainScale& terrain)
{
    std::printf("\n\t!!! GL Shader PREPARE !!!\n");

    const Size wave = size_of(waveAnim_tex);
    const Size height = size_of(htex_16bit);
    const Size rock = size_of(rock_tex);
    const Size grass = size_of(grass_tex);
    const Size sand = size_of(sand_tex);
    const Size noise = size_of(noise_tex);
    const float wave_off = waveScale * 0.5f;
    const float wave_lookup_x = 1.0f / (wave.w * kWaveTileScale);
    const float wave_lookup_y = 1.0f / (wave.h * kWaveTileScale);
    const float* light = kTerrainLightDir;
    const float* light_color = kTerrainLightColor;
    // How a program samples the wave texture: its size, the wave height and offset, and the
    // lookup scale that tiles it 30 times per texture size.
    auto wave_sampling = [&](ShaderProgram* q) {
        q->set_uniform_1f("texW", wave.w);
        q->set_uniform_1f("texH", wave.h);
        q->set_uniform_1f("waveScale", waveScale);
        q->set_uniform_1f("waveOff", wave_off);
        q->set_uniform_2f("texLookupScale", wave_lookup_x, wave_lookup_y);
    };

    // 1: the projected water grid.
    ShaderProgram* p = rippleShader = make_program("loading rippleShader", "ripple");
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_1f("waveScale", waveScale);
    p->set_uniform_1f("waveOff", wave_off);
    p->set_uniform_2f("texLookupScale", wave_lookup_x, wave_lookup_y);
    p->set_uniform_2f("texWH", float(watergrid_dim_x), float(watergrid_dim_y));
    std::printf("--- waveScale %g --- %g ---\n", waveScale, wave_off);
    std::printf("\n\t --- loading rippleshader with %f\n", prec_mul);
    p->set_uniform_1f("ripple_scale", ripple_scale_dynamic * prec_mul);
    p->unbind();

    // 2: normals of the ring image.
    p = waternormalsShader = make_program("loading waternormalsShader", "water_n2FBO");
    wave_sampling(p);
    p->unbind();

    // 3: float images shown as colours (debug view).
    p = show_floatShader = make_program("loading show_floatShader", "show_float");
    p->set_uniform_1i("floatMap", kUnitDecal);
    p->unbind();

    // 4: the projected terrain grid.
    const float* pgmland_scale = terrain.pgmland;
    const float pgmland_offset = terrain.pgmland_offset;
    std::printf("pgmland_scale = %f %f %f, pgmland_offset = %f\n", pgmland_scale[0],
                pgmland_scale[1], pgmland_scale[0], pgmland_offset);
    std::fprintf(stderr, "pgmland_scale[0] / pgmland_scale[1] = %f\n", pgmland_scale[0] / pgmland_scale[1]);
    std::fprintf(stderr, "pgmland_scale[1] / pgmland_scale[0] = %f\n", pgmland_scale[1] / pgmland_scale[0]);
    std::fprintf(stderr, "htex_16bit->_texW = %d\n", htex_16bit ? htex_16bit->_texW : 0);
    std::fprintf(stderr, "hmap.map_w = %d\n", hmap.map_w);
    std::printf("(1.0f/pgmland_scale[0])/hmap.map_w = %f\n\n",
                hmap.map_w ? (1.0f / pgmland_scale[0]) / float(hmap.map_w) : 0.0f);
    p = pgmlandShader = make_program("loading pgmlandShader", "pgmland");
    p->set_uniform_2f("rtvasize", float(pgmlandgrid_dim_x), float(pgmlandgrid_dim_y));
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1i("pgmlandMap", kUnitHeight);
    p->set_uniform_2f("pgmlandMapWH", height.w, height.h);
    p->set_uniform_1f("pgmland_xcnt_inv", 1.0f / float(pgmlandgrid_dim_x));
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_1f("waveScale", waveScale);
    p->set_uniform_1f("waveOff", wave_off);
    p->set_uniform_2f("texLookupScale", pgmland_scale[0], pgmland_scale[2]);
    p->set_uniform_1f("hScale", pgmland_scale[1]);
    p->set_uniform_1f("hOffset", pgmland_offset);
    p->unbind();

    // 5 and 6: the terrain's colour, plain and with parallax.
    auto terrain_colour_uniforms = [&](ShaderProgram* q) {
        q->set_uniform_1i("hMap", kUnitGrass);
        q->set_uniform_2f("hMapWH", grass.w, grass.h);
        q->set_uniform_1i("cMap", kUnitRock);
        q->set_uniform_2f("cMapWH", rock.w, rock.h);
        q->set_uniform_1i("sandMap", kUnitDecal);
        q->set_uniform_2f("sandMapWH", sand.w, sand.h);
        q->set_uniform_4fv("dof_params", dof_params);
        q->set_uniform_1i("noiseMap", kUnitNoise);
        q->set_uniform_1i("pgmlandMap", kUnitHeight);
        q->set_uniform_3f("lightDir", light[0], light[1], light[2]);
        q->set_uniform_4fv("lightColor", light_color);
        q->set_uniform_1f("texW", height.w);
        q->set_uniform_1f("texH", height.h);
        q->set_uniform_2f("noiseMapWH", noise.w, noise.h);
        q->set_uniform_4f("trans", -rock.w / 8.0f, 22.0f, -rock.h / 8.0f, 0.0f);
        q->set_uniform_4f("scale", 40.0f, 3.5f, 40.0f, 1.0f);
        q->set_uniform_2f("texLookupScale", pgmland_scale[0], pgmland_scale[2]);
        q->set_uniform_1f("hScale", pgmland_scale[1]);
        q->set_uniform_1f("hOffset", pgmland_offset);
        q->set_uniform_1f("waterlevel_frac", waterlevel_frac);
        q->set_uniform_1f("light_still_in_shadowed_region", light_still_in_shadowed_region);
    };
    p = pgmland_colorShader = make_program("loading pgmland color Shader", "pgmland_color");
    terrain_colour_uniforms(p);
    p->unbind();

    p = pgmland_parallax_colorShader =
        make_program("loading pgmland parallax color Shader", "pgmland_parallax_color");
    terrain_colour_uniforms(p);
    p->set_uniform_1i("noiseNormalMap", kUnitReliefNormals);
    if (parallax_mode == 1)
        p->set_uniform_2f("parallax_scale_params", parallax_scale_xz1, parallax_scale_y1);
    else if (parallax_mode == 2)
        p->set_uniform_2f("parallax_scale_params", parallax_scale_xz2, parallax_scale_y2);
    p->unbind();

    // 7 and 8: the terrain above the water (reflection) and below it (refraction).
    auto terrain_water_uniforms = [&](ShaderProgram* q) {
        q->set_uniform_1i("hMap", kUnitGrass);
        q->set_uniform_2f("hMapWH", grass.w, grass.h);
        q->set_uniform_1i("cMap", kUnitRock);
        q->set_uniform_2f("cMapWH", rock.w, rock.h);
        q->set_uniform_1i("sandMap", kUnitDecal);
        q->set_uniform_2f("sandMapWH", sand.w, sand.h);
        q->set_uniform_1i("pgmlandMap", kUnitHeight);
        q->set_uniform_1i("wave3D", kUnitWave);
        q->set_uniform_2f("texLookupScaleWave3D", wave_lookup_x, wave_lookup_y);
        q->set_uniform_2f("texLookupScale", pgmland_scale[0], pgmland_scale[2]);
        q->set_uniform_1f("texW", height.w);
        q->set_uniform_1f("texH", height.h);
        q->set_uniform_2f("noiseMapWH", noise.w, noise.h);
        q->set_uniform_1f("hScale", pgmland_scale[1]);
        q->set_uniform_1f("hOffset", pgmland_offset);
        q->set_uniform_3f("lightDir", light[0], light[1], light[2]);
        q->set_uniform_4fv("lightColor", light_color);
        q->set_uniform_1f("waveScale", waveScale);
        q->set_uniform_1f("waveOff", wave_off);
        q->set_uniform_1f("waterlevel_frac", waterlevel_frac);
        q->set_uniform_1f("light_still_in_shadowed_region", light_still_in_shadowed_region);
    };
    p = pgmland_wateraboveShader = make_program(nullptr, "pgmland_waterabove");
    terrain_water_uniforms(p);
    p->set_uniform_4fv("cc_above", cc_above);
    p->unbind();

    p = pgmland_waterbelowShader = make_program(nullptr, "pgmland_waterbelow");
    terrain_water_uniforms(p);
    p->set_uniform_4fv("cc_below", cc_below);
    p->unbind();

    // 9: lit rock colour for meshes in world space.
    p = colorShader = make_program("loading colorShader", "color");
    p->set_uniform_1i("cMap", kUnitRock);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1f("texW", rock.w);
    p->set_uniform_1f("texH", rock.h);
    p->set_uniform_4f("trans", -rock.w / 8.0f, -22.0f, -rock.h / 8.0f, 0.0f);
    p->set_uniform_4f("scale", 40.0f, 3.5f, 40.0f, 1.0f);
    p->unbind();

    // 10 and 11: the same above and below the water.
    auto mesh_water_uniforms = [&](ShaderProgram* q) {
        q->set_uniform_1i("hMap", kUnitHeight);
        q->set_uniform_1i("cMap", kUnitRock);
        q->set_uniform_1i("wave3D", kUnitWave);
        q->set_uniform_1i("noiseMap", kUnitNoise);
        q->set_uniform_1f("ctexW", rock.w);
        q->set_uniform_1f("ctexH", rock.h);
        wave_sampling(q);
        q->set_uniform_4f("trans", -rock.w / 8.0f, -22.0f, -rock.h / 8.0f, 0.0f);
        q->set_uniform_4f("scale", 40.0f, 3.5f, 40.0f, 1.0f);
    };
    p = wateraboveShader = make_program("loading wateraboveShader", "waterabove");
    mesh_water_uniforms(p);
    p->set_uniform_4fv("cc_above", cc_above);
    p->unbind();

    p = waterbelowShader = make_program("loading waterbelowShader", "waterbelow");
    mesh_water_uniforms(p);
    p->set_uniform_4fv("cc_below", cc_below);
    p->unbind();

    // 12: the water surface.
    p = perturbShader = make_program("loading perturbShader", "perturb");
    p->set_uniform_4fv("dof_params", dof_params);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1i("wave3D", kUnitWave);
    wave_sampling(p);
    p->set_uniform_4f("trans", -8096.0f / 8.0f, -22.0f, -8096.0f / 8.0f, 0.0f);
    p->set_uniform_4f("scale", 40.0f, 3.5f, 40.0f, 1.0f);
    p->set_uniform_3f("lightDir", light[0], light[1], light[2]);
    p->set_uniform_4fv("lightColor", light_color);
    p->set_uniform_4fv("cc_below", cc_below);
    p->set_uniform_4fv("cc", cc);
    p->unbind();

    // 13: the sky.
    p = skyboxShader = make_program("loading skyboxShader", "skybox");
    p->set_uniform_1i("cubeMap", kUnitDecal);
    p->set_uniform_4fv("dof_params", dof_params);
    p->unbind();

    // 14: the rings of moving objects.
    p = ringsShader = make_program("loading ringsShader", "rings");
    p->set_uniform_1i("wave3D", kUnitWave);
    wave_sampling(p);
    p->unbind();

    // 15: shadowed objects.
    p = objectsShader = make_program("loading objectsShader", "objects");
    p->set_uniform_1f("light_still_in_shadowed_region", light_still_in_shadowed_region);
    p->set_uniform_1i("shadowMap", kUnitShadow);
    p->unbind();

    // 16: the models.
    p = md2instanceShader = make_program("loading md2instanceShader", "md2instance");
    p->set_uniform_1f("light_still_in_shadowed_region", light_still_in_shadowed_region);
    p->set_uniform_4fv("dof_params", dof_params);
    p->set_uniform_1i("shadowMap", kUnitShadow);
    p->set_uniform_1i("decalMap", kUnitDecal);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->unbind();

    // 17: the final image.
    p = imgwarpShader = make_program("loading imgwarpShader", "imgwarp");
    p->set_uniform_4fv("dof_params", dof_params);
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_1i("imgMap", kUnitDecal);
    p->unbind();
}
