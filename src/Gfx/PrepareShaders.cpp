// SDLGL::prepare_shaders: the 23 programs of the game with every uniform whose value is
// fixed for the whole run. Uniforms that change per frame are set by the render passes.
#include "Gfx/PrepareShaders.h"

#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/DisplayToggles.h"
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

// What the programs' fixed uniforms are made of: the graphics settings, the texture sizes,
// the wave sampling and where the terrain lies.
struct ProgramInputs {
    const SDLGL& gl;
    const TerrainScale& terrain;
    Size wave, height, rock, grass, sand, noise;
    float wave_off;                     // half the wave height
    float wave_lookup_x, wave_lookup_y; // tiles the wave texture 30 times per texture size
};

ProgramInputs program_inputs(const SDLGL& gl, const TerrainScale& terrain)
{
    const SDLGL::Textures& t = gl.textures;
    ProgramInputs in{gl, terrain, size_of(t.waveAnim_tex), size_of(t.htex_16bit), size_of(t.rock_tex),
                     size_of(t.grass_tex), size_of(t.sand_tex), size_of(t.noise_tex), 0, 0, 0};
    in.wave_off = waveScale * 0.5f;
    in.wave_lookup_x = 1.0f / (in.wave.w * kWaveTileScale);
    in.wave_lookup_y = 1.0f / (in.wave.h * kWaveTileScale);
    return in;
}

// How a program samples the wave texture: its size, the wave height and offset, and the
// lookup scale.
void set_wave_sampling(ShaderProgram* q, const ProgramInputs& in)
{
    q->set_uniform_1f("texW", in.wave.w);
    q->set_uniform_1f("texH", in.wave.h);
    q->set_uniform_1f("waveScale", waveScale);
    q->set_uniform_1f("waveOff", in.wave_off);
    q->set_uniform_2f("texLookupScale", in.wave_lookup_x, in.wave_lookup_y);
}

void set_terrain_light(ShaderProgram* q)
{
    q->set_uniform_3f("lightDir", kTerrainLightDir[0], kTerrainLightDir[1], kTerrainLightDir[2]);
    q->set_uniform_4fv("lightColor", kTerrainLightColor);
}

// Where the height texture puts the terrain: its lookup scale, height range and offset.
void set_terrain_place(ShaderProgram* q, const TerrainScale& t)
{
    q->set_uniform_2f("texLookupScale", t.pgmland[0], t.pgmland[2]);
    q->set_uniform_1f("hScale", t.pgmland[1]);
    q->set_uniform_1f("hOffset", t.pgmland_offset);
}

// What the four terrain colour programs (plain, parallax, above and below the water) share:
// the ground textures, the height texture and its size, the light and the water line.
void set_terrain_colour_common(ShaderProgram* q, const ProgramInputs& in)
{
    q->set_uniform_1i("hMap", kUnitGrass);
    q->set_uniform_2f("hMapWH", in.grass.w, in.grass.h);
    q->set_uniform_1i("cMap", kUnitRock);
    q->set_uniform_2f("cMapWH", in.rock.w, in.rock.h);
    q->set_uniform_1i("sandMap", kUnitDecal);
    q->set_uniform_2f("sandMapWH", in.sand.w, in.sand.h);
    q->set_uniform_1i("pgmlandMap", kUnitHeight);
    q->set_uniform_1f("texW", in.height.w);
    q->set_uniform_1f("texH", in.height.h);
    q->set_uniform_2f("noiseMapWH", in.noise.w, in.noise.h);
    set_terrain_place(q, in.terrain);
    set_terrain_light(q);
    q->set_uniform_1f("waterlevel_frac", waterlevel_frac);
    q->set_uniform_1f("light_still_in_shadowed_region", in.gl.settings.light_still_in_shadowed_region);
}

// The rock texture laid over the world: shifted by an eighth of the texture across and by
// `lift` in height, stretched 40 times across and 3.5 times in height.
void set_rock_mapping(ShaderProgram* q, const ProgramInputs& in, float lift)
{
    q->set_uniform_4f("trans", -in.rock.w / 8.0f, lift, -in.rock.h / 8.0f, 0.0f);
    q->set_uniform_4f("scale", 40.0f, 3.5f, 40.0f, 1.0f);
}

// 1: the projected water grid.
ShaderProgram* ripple_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading rippleShader", "ripple");
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_1f("waveScale", waveScale);
    p->set_uniform_1f("waveOff", in.wave_off);
    p->set_uniform_2f("texLookupScale", in.wave_lookup_x, in.wave_lookup_y);
    p->set_uniform_2f("texWH", float(watergrid_dim_x), float(watergrid_dim_y));
    std::printf("--- waveScale %g --- %g ---\n", waveScale, in.wave_off);
    std::printf("\n\t --- loading rippleshader with %f\n", prec_mul);
    p->set_uniform_1f("ripple_scale", ripple_scale_dynamic * prec_mul);
    return p;
}

// 2: normals of the ring image.
ShaderProgram* water_normals_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading waternormalsShader", "water_n2FBO");
    set_wave_sampling(p, in);
    return p;
}

// 3: float images shown as colours (debug view).
ShaderProgram* show_float_program()
{
    ShaderProgram* p = make_program("loading show_floatShader", "show_float");
    p->set_uniform_1i("floatMap", kUnitDecal);
    return p;
}

void print_terrain_scale(const ProgramInputs& in)
{
    const float* pgmland_scale = in.terrain.pgmland;
    const float pgmland_offset = in.terrain.pgmland_offset;
    std::printf("pgmland_scale = %f %f %f, pgmland_offset = %f\n", pgmland_scale[0], pgmland_scale[1],
                pgmland_scale[0], pgmland_offset);
    std::fprintf(stderr, "pgmland_scale[0] / pgmland_scale[1] = %f\n", pgmland_scale[0] / pgmland_scale[1]);
    std::fprintf(stderr, "pgmland_scale[1] / pgmland_scale[0] = %f\n", pgmland_scale[1] / pgmland_scale[0]);
    std::fprintf(stderr, "htex_16bit->_texW = %d\n", in.gl.textures.htex_16bit ? in.gl.textures.htex_16bit->_texW : 0);
    std::fprintf(stderr, "hmap.map_w = %d\n", hmap.map_w);
    std::printf("(1.0f/pgmland_scale[0])/hmap.map_w = %f\n\n",
                hmap.map_w ? (1.0f / pgmland_scale[0]) / float(hmap.map_w) : 0.0f);
}

// 4: the projected terrain grid.
ShaderProgram* terrain_grid_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading pgmlandShader", "pgmland");
    p->set_uniform_2f("rtvasize", float(pgmlandgrid_dim_x), float(pgmlandgrid_dim_y));
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1i("pgmlandMap", kUnitHeight);
    p->set_uniform_2f("pgmlandMapWH", in.height.w, in.height.h);
    p->set_uniform_1f("pgmland_xcnt_inv", 1.0f / float(pgmlandgrid_dim_x));
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_1f("waveScale", waveScale);
    p->set_uniform_1f("waveOff", in.wave_off);
    set_terrain_place(p, in.terrain);
    return p;
}

// 5: the terrain's colour in the main image.
ShaderProgram* terrain_colour_program(const ProgramInputs& in, const char* log_line, const char* base)
{
    ShaderProgram* p = make_program(log_line, base);
    set_terrain_colour_common(p, in);
    p->set_uniform_4fv("dof_params", dof_params);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    set_rock_mapping(p, in, 22.0f);
    p->set_uniform_1i("positionMap", kUnitPosition);
    return p;
}

// 6: the same with parallax, with the pair of the current parallax mode; `base` is the
// program for all materials or the one for grass alone.
ShaderProgram* terrain_parallax_program(const ProgramInputs& in, const char* log_line, const char* base)
{
    const SDLGL& gl = in.gl;
    ShaderProgram* p = terrain_colour_program(in, log_line, base);
    p->set_uniform_1i("noiseNormalMap", kUnitReliefNormals);
    set_parallax_pair(gl, p);
    return p;
}

// The classing of the ground before its relief colour: reads only the position image.
ShaderProgram* ground_class_program()
{
    ShaderProgram* p = make_program("loading ground class Shader", "ground_class");
    p->set_uniform_1i("positionMap", kUnitPosition);
    return p;
}

// 7 and 8: the terrain above the water (reflection) and below it (refraction), each with
// the clear colour of its image.
ShaderProgram* terrain_water_program(const ProgramInputs& in, const char* base, const char* colour_name,
                                     const float colour[4])
{
    ShaderProgram* p = make_program(nullptr, base);
    set_terrain_colour_common(p, in);
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_2f("texLookupScaleWave3D", in.wave_lookup_x, in.wave_lookup_y);
    p->set_uniform_1f("waveScale", waveScale);
    p->set_uniform_1f("waveOff", in.wave_off);
    p->set_uniform_4fv(colour_name, colour);
    return p;
}

// 9: lit rock colour for meshes in world space.
ShaderProgram* colour_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading colorShader", "color");
    p->set_uniform_1i("cMap", kUnitRock);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1f("texW", in.rock.w);
    p->set_uniform_1f("texH", in.rock.h);
    set_rock_mapping(p, in, -22.0f);
    return p;
}

// 10 and 11: the same above and below the water.
ShaderProgram* mesh_water_program(const ProgramInputs& in, const char* log_line, const char* base,
                                  const char* colour_name, const float colour[4])
{
    ShaderProgram* p = make_program(log_line, base);
    p->set_uniform_1i("hMap", kUnitHeight);
    p->set_uniform_1i("cMap", kUnitRock);
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1f("ctexW", in.rock.w);
    p->set_uniform_1f("ctexH", in.rock.h);
    set_wave_sampling(p, in);
    set_rock_mapping(p, in, -22.0f);
    p->set_uniform_4fv(colour_name, colour);
    return p;
}

// 12: the water surface.
ShaderProgram* water_surface_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading perturbShader", "perturb");
    p->set_uniform_4fv("dof_params", dof_params);
    p->set_uniform_1i("positionMap", kUnitPosition);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    p->set_uniform_1i("wave3D", kUnitWave);
    set_wave_sampling(p, in);
    p->set_uniform_4f("trans", -8096.0f / 8.0f, -22.0f, -8096.0f / 8.0f, 0.0f);
    p->set_uniform_4f("scale", 40.0f, 3.5f, 40.0f, 1.0f);
    set_terrain_light(p);
    p->set_uniform_4fv("cc_below", in.gl.settings.cc_below);
    p->set_uniform_4fv("cc", in.gl.settings.cc);
    return p;
}

// 13: the sky.
ShaderProgram* sky_program()
{
    ShaderProgram* p = make_program("loading skyboxShader", "skybox");
    p->set_uniform_1i("cubeMap", kUnitDecal);
    p->set_uniform_4fv("dof_params", dof_params);
    return p;
}

// 14: the rings of moving objects.
ShaderProgram* rings_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading ringsShader", "rings");
    p->set_uniform_1i("wave3D", kUnitWave);
    set_wave_sampling(p, in);
    return p;
}

// 15: shadowed objects.
ShaderProgram* objects_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading objectsShader", "objects");
    p->set_uniform_1f("light_still_in_shadowed_region", in.gl.settings.light_still_in_shadowed_region);
    p->set_uniform_1i("shadowMap", kUnitShadow);
    return p;
}

// 16: the models.
ShaderProgram* models_program(const ProgramInputs& in)
{
    ShaderProgram* p = make_program("loading md2instanceShader", "md2instance");
    p->set_uniform_1f("light_still_in_shadowed_region", in.gl.settings.light_still_in_shadowed_region);
    p->set_uniform_4fv("dof_params", dof_params);
    p->set_uniform_1i("shadowMap", kUnitShadow);
    p->set_uniform_1i("decalMap", kUnitDecal);
    p->set_uniform_1i("noiseMap", kUnitNoise);
    return p;
}

// 17: the final image.
ShaderProgram* final_image_program()
{
    ShaderProgram* p = make_program("loading imgwarpShader", "imgwarp");
    p->set_uniform_4fv("dof_params", dof_params);
    p->set_uniform_1i("wave3D", kUnitWave);
    p->set_uniform_1i("imgMap", kUnitDecal);
    return p;
}

// Each program is left unbound once its uniforms are set.
ShaderProgram* unbound(ShaderProgram* p)
{
    p->unbind();
    return p;
}

} // namespace

void SDLGL::prepare_shaders(const TerrainScale& terrain)
{
    std::printf("\n\t!!! GL Shader PREPARE !!!\n");
    const ProgramInputs in = program_inputs(*this, terrain);
    programs.rippleShader = unbound(ripple_program(in));
    programs.waternormalsShader = unbound(water_normals_program(in));
    programs.show_floatShader = unbound(show_float_program());
    print_terrain_scale(in);
    programs.pgmlandShader = unbound(terrain_grid_program(in));
    programs.pgmland_colorShader = unbound(terrain_colour_program(in, "loading pgmland color Shader", "pgmland_color"));
    programs.pgmland_parallax_colorShader =
        unbound(terrain_parallax_program(in, "loading pgmland parallax color Shader", "pgmland_parallax_color"));
    programs.pgmland_parallax_grassShader =
        unbound(terrain_parallax_program(in, "loading pgmland parallax grass Shader", "pgmland_parallax_grass"));
    programs.ground_classShader = unbound(ground_class_program());
    programs.pgmland_far_colorShader =
        unbound(terrain_parallax_program(in, "loading pgmland far color Shader", "pgmland_far_color"));
    programs.pgmland_far_grassShader =
        unbound(terrain_parallax_program(in, "loading pgmland far grass Shader", "pgmland_far_grass"));
    const Settings& s = settings;
    programs.pgmland_wateraboveShader =
        unbound(terrain_water_program(in, "pgmland_waterabove", "cc_above", s.cc_above));
    programs.pgmland_waterbelowShader =
        unbound(terrain_water_program(in, "pgmland_waterbelow", "cc_below", s.cc_below));
    programs.colorShader = unbound(colour_program(in));
    programs.wateraboveShader =
        unbound(mesh_water_program(in, "loading wateraboveShader", "waterabove", "cc_above", s.cc_above));
    programs.waterbelowShader =
        unbound(mesh_water_program(in, "loading waterbelowShader", "waterbelow", "cc_below", s.cc_below));
    programs.perturbShader = unbound(water_surface_program(in));
    programs.skyboxShader = unbound(sky_program());
    programs.ringsShader = unbound(rings_program(in));
    programs.objectsShader = unbound(objects_program(in));
    programs.md2instanceShader = unbound(models_program(in));
    programs.imgwarpShader = unbound(final_image_program());
    programs.pgmland_positionShader = unbound(make_program("loading pgmland position Shader", "pgmland_position"));
    programs.water_positionShader = unbound(make_program("loading water position Shader", "water_position"));
}
