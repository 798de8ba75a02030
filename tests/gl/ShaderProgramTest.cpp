#include "GlFixture.h"
#include "TempDir.h"

#include "Common/Globals.h"
#include "Gfx/ShaderProgram.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <unistd.h>

#include <cstdio>
#include <vector>

namespace {

class Shaders : public GlFixture {
protected:
    void give_textures()
    {
        SDLGL& gl = *sdlgl;
        gl.waveAnim_tex = sized(128, 64);
        gl.htex_16bit = sized(2048, 2048);
        gl.rock_tex = sized(512, 256);
        gl.grass_tex = sized(256, 256);
        gl.sand_tex = sized(128, 128);
        gl.noise_tex = sized(64, 32);
    }

    // The programs for the 2048-wide map that give_textures stands for.
    static void prepare()
    {
        SDLGL& gl = *sdlgl;
        gl.prepare_shaders(terrain_scale_for(2048, 0, gl.phys_minfact, gl.y_pgmland_scale, waterlevel_frac));
    }

    std::vector<ShaderProgram*> all() const
    {
        SDLGL& gl = *sdlgl;
        return {gl.rippleShader, gl.waternormalsShader, gl.show_floatShader, gl.pgmlandShader,
                gl.pgmland_colorShader, gl.pgmland_parallax_colorShader, gl.pgmland_wateraboveShader,
                gl.pgmland_waterbelowShader, gl.colorShader, gl.wateraboveShader, gl.waterbelowShader,
                gl.perturbShader, gl.skyboxShader, gl.ringsShader, gl.objectsShader,
                gl.md2instanceShader, gl.imgwarpShader};
    }

    static GLint int_of(ShaderProgram* p, const char* name)
    {
        GLint loc = glGetUniformLocationARB(p->program, name);
        EXPECT_GE(loc, 0) << name;
        GLint v = -1;
        if (loc >= 0) glGetUniformivARB(p->program, loc, &v);
        return v;
    }

    static std::vector<float> floats_of(ShaderProgram* p, const char* name)
    {
        GLint loc = glGetUniformLocationARB(p->program, name);
        EXPECT_GE(loc, 0) << name;
        std::vector<float> v(16, -12345.0f);
        if (loc >= 0) glGetUniformfvARB(p->program, loc, v.data());
        return v;
    }

    static bool validates(ShaderProgram* p)
    {
        glValidateProgramARB(p->program);
        GLint ok = 0;
        glGetObjectParameterivARB(p->program, GL_OBJECT_VALIDATE_STATUS_ARB, &ok);
        return ok != 0;
    }
};

TEST_F(Shaders, AllSeventeenProgramsBuildInTableOrder)
{
    give_textures();
    ::testing::internal::CaptureStdout();
    prepare();
    std::string out = ::testing::internal::GetCapturedStdout();

    const char* lines[] = {
        "\n\t!!! GL Shader PREPARE !!!\n", "loading rippleShader\n", "--- waveScale 2 --- 1 ---\n",
        "\n\t --- loading rippleshader with 1.000000\n", "loading waternormalsShader\n",
        "loading show_floatShader\n", "pgmland_scale = ", "loading pgmlandShader\n",
        "loading pgmland color Shader\n", "loading pgmland parallax color Shader\n",
        "loading colorShader\n", "loading wateraboveShader\n", "loading waterbelowShader\n",
        "loading perturbShader\n", "loading skyboxShader\n", "loading ringsShader\n",
        "loading objectsShader\n", "loading md2instanceShader\n", "loading imgwarpShader\n"};
    size_t at = 0;
    for (const char* line : lines) {
        size_t found = out.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << out;
        at = found + 1;
    }
    EXPECT_EQ(out.find("Failed to compile"), std::string::npos) << out;
    EXPECT_EQ(out.find("Shader compile log"), std::string::npos) << out;
    for (ShaderProgram* p : all()) {
        ASSERT_NE(p, nullptr);
        GLint linked = 0;
        glGetObjectParameterivARB(p->program, GL_OBJECT_LINK_STATUS_ARB, &linked);
        EXPECT_TRUE(linked);
        EXPECT_NE(p->vertex_shader, 0u);
        EXPECT_NE(p->fragment_shader, 0u);
    }
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0) << "each program is unbound after its uniforms";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Shaders, TerrainProgramsTakeTheTerrainScale)
{
    give_textures();
    ::testing::internal::CaptureStdout();
    prepare();
    std::string out = ::testing::internal::GetCapturedStdout();
    // gfx.p: phys_minfact 4, y_pgmland_scale 0.15625; a map 2048 wide.
    EXPECT_NE(out.find("pgmland_scale = 0.000122 1280.000000 0.000122, pgmland_offset = -320.000000\n"),
              std::string::npos) << out;

    ShaderProgram* p = sdlgl->pgmlandShader;
    EXPECT_FLOAT_EQ(floats_of(p, "hScale")[0], 1280.0f);
    EXPECT_FLOAT_EQ(floats_of(p, "hOffset")[0], -320.0f);
    std::vector<float> lookup = floats_of(p, "texLookupScale");
    EXPECT_FLOAT_EQ(lookup[0], 1.0f / 8192.0f);
    EXPECT_FLOAT_EQ(lookup[1], 1.0f / 8192.0f);
    EXPECT_EQ(int_of(p, "pgmlandMap"), 5);
}

TEST_F(Shaders, SamplersReadTheirConventionalUnits)
{
    give_textures();
    ::testing::internal::CaptureStdout();
    prepare();
    ::testing::internal::GetCapturedStdout();
    SDLGL& gl = *sdlgl;
    for (ShaderProgram* p : {gl.pgmland_colorShader, gl.pgmland_parallax_colorShader}) {
        EXPECT_EQ(int_of(p, "sandMap"), 0);
        EXPECT_EQ(int_of(p, "noiseMap"), 3);
        EXPECT_EQ(int_of(p, "cMap"), 4);
        EXPECT_EQ(int_of(p, "hMap"), 7);
    }
    EXPECT_EQ(int_of(gl.pgmland_parallax_colorShader, "noiseNormalMap"), 8);
    EXPECT_EQ(int_of(gl.pgmland_waterbelowShader, "wave3D"), 6);
    EXPECT_EQ(int_of(gl.skyboxShader, "cubeMap"), 0);
    EXPECT_EQ(int_of(gl.md2instanceShader, "decalMap"), 0);
    EXPECT_EQ(int_of(gl.md2instanceShader, "shadowMap"), 2);
    EXPECT_EQ(int_of(gl.imgwarpShader, "imgMap"), 0);
    EXPECT_EQ(int_of(gl.perturbShader, "wave3D"), 6);
    EXPECT_EQ(int_of(gl.show_floatShader, "floatMap"), 0);
}

// The wave lookups scale with the wave texture (128 x 64 here), 30 world units a texel;
// waveScale 2 gives waveOff 1 everywhere.
TEST_F(Shaders, WaveUniformsFollowTheWaveTexture)
{
    give_textures();
    ::testing::internal::CaptureStdout();
    prepare();
    ::testing::internal::GetCapturedStdout();
    SDLGL& gl = *sdlgl;
    for (ShaderProgram* p : {gl.rippleShader, gl.perturbShader, gl.ringsShader}) {
        std::vector<float> s = floats_of(p, "texLookupScale");
        EXPECT_FLOAT_EQ(s[0], 1.0f / (128.0f * 30.0f));
        EXPECT_FLOAT_EQ(s[1], 1.0f / (64.0f * 30.0f));
    }
    for (ShaderProgram* p : {gl.rippleShader, gl.pgmland_wateraboveShader, gl.pgmland_waterbelowShader,
                             gl.wateraboveShader, gl.waterbelowShader})
        EXPECT_FLOAT_EQ(floats_of(p, "waveOff")[0], 1.0f);
    std::vector<float> wh = floats_of(gl.rippleShader, "texWH");
    EXPECT_FLOAT_EQ(wh[0], float(watergrid_dim_x));
    EXPECT_FLOAT_EQ(wh[1], float(watergrid_dim_y));
    EXPECT_FLOAT_EQ(floats_of(gl.rippleShader, "ripple_scale")[0], ripple_scale_dynamic * prec_mul);
    std::vector<float> below = floats_of(gl.pgmland_waterbelowShader, "cc_below");
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(below[i], gl.cc_below[i]);
}

// With the units the render passes give at draw time, no program reads one unit as two
// kinds of sampler (which would make every draw with it fail).
TEST_F(Shaders, EveryProgramValidatesWithThePassUnits)
{
    give_textures();
    ::testing::internal::CaptureStdout();
    prepare();
    ::testing::internal::GetCapturedStdout();
    SDLGL& gl = *sdlgl;
    for (ShaderProgram* p : {gl.pgmland_colorShader, gl.pgmland_parallax_colorShader,
                             gl.pgmland_wateraboveShader, gl.pgmland_waterbelowShader}) {
        p->bind();
        p->set_uniform_1i("shadowMap", 2);
        p->set_uniform_1i("noiseMap", 3);
    }
    gl.perturbShader->bind();
    gl.perturbShader->set_uniform_1i("refractMap", 9);
    gl.perturbShader->set_uniform_1i("reflectMap", 8);
    gl.perturbShader->set_uniform_1i("dynamicRingsMap", 7);
    gl.rippleShader->bind();
    gl.rippleShader->set_uniform_1i("dynamicRingsMap", 7);
    gl.waternormalsShader->bind();
    gl.waternormalsShader->set_uniform_1i("dynamicRingsMap", 7);
    for (ShaderProgram* p : all()) EXPECT_TRUE(validates(p));
    glUseProgramObjectARB(0);
}

TEST_F(Shaders, ParallaxPairFollowsTheMode)
{
    give_textures();
    sdlgl->parallax_mode = 0;
    ::testing::internal::CaptureStdout();
    prepare();
    ::testing::internal::GetCapturedStdout();
    // Mode 0 leaves the program's own default.
    std::vector<float> v = floats_of(sdlgl->pgmland_parallax_colorShader, "parallax_scale_params");
    EXPECT_FLOAT_EQ(v[0], 0.05f);
    EXPECT_FLOAT_EQ(v[1], 0.025f);
}

TEST_F(Shaders, ParallaxPairTwoIsTheDefaultMode)
{
    give_textures();
    ASSERT_EQ(sdlgl->parallax_mode, 2);
    ::testing::internal::CaptureStdout();
    prepare();
    ::testing::internal::GetCapturedStdout();
    std::vector<float> v = floats_of(sdlgl->pgmland_parallax_colorShader, "parallax_scale_params");
    EXPECT_FLOAT_EQ(v[0], sdlgl->parallax_scale_xz2);
    EXPECT_FLOAT_EQ(v[1], sdlgl->parallax_scale_y2);
}

TEST_F(Shaders, UnknownUniformNamesAreIgnoredSilently)
{
    give_textures();
    ::testing::internal::CaptureStdout();
    prepare();
    ::testing::internal::GetCapturedStdout();
    ShaderProgram* p = sdlgl->skyboxShader;
    p->bind();
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    p->set_uniform_2f("parallax_scale_params", 1.0f, 2.0f);
    p->set_uniform_1i("no_such_uniform", 3);
    const float m[16] = {};
    p->set_uniform_matrix4("no_such_matrix", 1, false, m);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    p->unbind();
}

TEST_F(Shaders, DoubleMatrixIsConvertedToFloat)
{
    give_textures();
    ::testing::internal::CaptureStdout();
    prepare();
    ::testing::internal::GetCapturedStdout();
    ShaderProgram* p = sdlgl->md2instanceShader;
    p->bind();
    double m[16];
    for (int i = 0; i < 16; ++i) m[i] = i * 0.5 + 0.25;
    p->set_uniform_matrix4d("tmpMat", 1, false, m);
    std::vector<float> v = floats_of(p, "tmpMat");
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(v[i], float(m[i])) << i;
    p->unbind();
}

class BrokenShaders : public GlFixture {
protected:
    TempDir dir;
};

TEST_F(BrokenShaders, LinkFailureEndsTheProgramWithStatusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    std::string vs = dir.write("bad_vs.c", "#version 120\nvoid main() { gl_Position = ftransform(); }\n");
    std::string fs = dir.write("bad_fs.c", "#version 120\nvoid main() { gl_FragColor = undeclared; }\n");
    EXPECT_EXIT(
        {
            dup2(2, 1); // the messages go to standard output
            ShaderProgram p;
            p.load(vs.c_str(), fs.c_str());
        },
        ::testing::ExitedWithCode(1),
        "Shader compile log for .*bad_fs.c:(.|\n)*Failed to compile shader .*bad_fs.c(.|\n)*"
        "Shaders failed to link, exiting...");
}

TEST_F(BrokenShaders, MissingSourceEndsTheProgramWithStatusOne)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    std::string vs = dir.write("ok_vs.c", "#version 120\nvoid main() { gl_Position = ftransform(); }\n");
    std::string missing = dir.file("missing_fs.c");
    EXPECT_EXIT(
        {
            ShaderProgram p;
            p.load(vs.c_str(), missing.c_str());
        },
        ::testing::ExitedWithCode(1), "Unable to open file: .*missing_fs.c");
}

TEST_F(BrokenShaders, ASamplerOnlyProgramWithMixedTypesStillValidates)
{
    // Both samplers read unit 0 until the caller sets them; that alone must not fail.
    std::string vs = dir.write("mix_vs.c", "#version 120\nvoid main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }\n");
    std::string fs = dir.write("mix_fs.c",
                               "#version 120\nuniform sampler2D a;\nuniform sampler3D b;\n"
                               "void main() { gl_FragColor = texture2D(a, gl_TexCoord[0].st) + texture3D(b, gl_TexCoord[0].stp); }\n");
    ::testing::internal::CaptureStdout();
    ShaderProgram p;
    p.load(vs.c_str(), fs.c_str());
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("exiting"), std::string::npos) << out;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLhandleARB>(current), p.program) << "in use after load";
    p.unbind();
}

} // namespace
