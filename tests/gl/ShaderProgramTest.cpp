#include "GlFixture.h"

#include "Gfx/ShaderProgram.h"

#include <unistd.h>

namespace {

using Shaders = GlFixture;

// The game's programs for a 2048-wide map, with textures of known sizes: each compiles without a
// word (one that fails to link ends the process, as the next test shows) and, with the units the
// passes give at draw time, validates (no program reads one unit as two kinds of sampler). A
// uniform a program does not have is skipped without a word; doubles arrive as floats.
TEST_F(Shaders, AllTwentyThreeProgramsLinkAndValidateAndTheSettersSkipUnknownNames)
{
    SDLGL& gl = *sdlgl;
    gl.textures.waveAnim_tex = sized(128, 64);
    gl.textures.htex_16bit = sized(2048, 2048);
    gl.textures.rock_tex = sized(512, 256);
    gl.textures.grass_tex = sized(256, 256);
    gl.textures.sand_tex = sized(128, 128);
    gl.textures.noise_tex = sized(64, 32);
    const std::string log = printed([&] {
        gl.prepare_shaders(terrain_scale_for(2048, 0, gl.settings.phys_minfact, gl.settings.y_pgmland_scale,
                                             waterlevel_frac));
    }).out;
    EXPECT_EQ(log.find("Shader compile log"), std::string::npos) << log;
    EXPECT_EQ(gl_integer(GL_CURRENT_PROGRAM), 0) << "each program is unbound after its uniforms";
    const SDLGL::Programs& p = gl.programs;
    for (ShaderProgram* q : {p.pgmland_colorShader, p.pgmland_parallax_colorShader, p.pgmland_parallax_grassShader,
                             p.pgmland_far_colorShader, p.pgmland_far_grassShader, p.pgmland_wateraboveShader,
                             p.pgmland_waterbelowShader}) {
        q->bind();
        q->set_uniform_1i("shadowMap", 2);
        q->set_uniform_1i("noiseMap", 3);
    }
    p.perturbShader->bind();
    p.perturbShader->set_uniform_1i("refractMap", 9);
    p.perturbShader->set_uniform_1i("reflectMap", 8);
    for (ShaderProgram* q : {p.perturbShader, p.rippleShader, p.waternormalsShader}) {
        q->bind();
        q->set_uniform_1i("dynamicRingsMap", 7);
    }
    for (ShaderProgram* q :
         {p.rippleShader, p.waternormalsShader, p.show_floatShader, p.pgmlandShader, p.pgmland_colorShader,
          p.pgmland_parallax_colorShader, p.pgmland_wateraboveShader, p.pgmland_waterbelowShader, p.colorShader,
          p.wateraboveShader, p.waterbelowShader, p.perturbShader, p.skyboxShader, p.ringsShader, p.objectsShader,
          p.md2instanceShader, p.imgwarpShader, p.pgmland_positionShader, p.water_positionShader,
          p.pgmland_parallax_grassShader, p.ground_classShader, p.pgmland_far_colorShader, p.pgmland_far_grassShader}) {
        ASSERT_NE(q, nullptr);
        GLint ok = 0;
        glValidateProgramARB(q->program);
        glGetObjectParameterivARB(q->program, GL_OBJECT_VALIDATE_STATUS_ARB, &ok);
        EXPECT_TRUE(ok);
    }
    glUseProgramObjectARB(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    p.skyboxShader->bind();
    const Printed said = printed([&] {
        p.skyboxShader->set_uniform_2f("parallax_scale_params", 1.0f, 2.0f);
        p.skyboxShader->set_uniform_1i("no_such_uniform", 3);
        const float zero[16] = {};
        p.skyboxShader->set_uniform_matrix4("no_such_matrix", 1, false, zero);
    });
    EXPECT_EQ(said.out + said.err, "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    ShaderProgram* models = p.md2instanceShader;
    models->bind();
    double m[16];
    for (int i = 0; i < 16; ++i) m[i] = i * 0.5 + 0.25;
    models->set_uniform_matrix4d("tmpMat", 1, false, m);
    const GLint at = glGetUniformLocationARB(models->program, "tmpMat");
    ASSERT_GE(at, 0);
    float v[16] = {};
    glGetUniformfvARB(models->program, at, v);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(v[i], float(m[i])) << i;
    models->unbind();
}

TEST_F(Shaders, LinkFailureOrMissingSourceEndsTheProgramWithStatusOne)
{
    TempDir dir;
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    const std::string vs = dir.write("ok_vs.c", "#version 120\nvoid main() { gl_Position = ftransform(); }\n");
    const std::string bad = dir.write("bad_fs.c", "#version 120\nvoid main() { gl_FragColor = undeclared; }\n");
    EXPECT_EXIT(
        {
            dup2(2, 1); // the messages go to standard output
            ShaderProgram p;
            p.load(vs.c_str(), bad.c_str());
        },
        ::testing::ExitedWithCode(1),
        "Shader compile log for .*bad_fs.c:(.|\n)*Failed to compile shader .*bad_fs.c(.|\n)*"
        "Shaders failed to link, exiting...");
    const std::string missing = dir.file("missing_fs.c");
    EXPECT_EXIT(
        {
            ShaderProgram p;
            p.load(vs.c_str(), missing.c_str());
        },
        ::testing::ExitedWithCode(1), "Unable to open file: .*missing_fs.c");
}

} // namespace
