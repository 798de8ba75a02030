#include "GlFixture.h"

#include "Gfx/ShaderProgram.h"

#include <unistd.h>

namespace {

class Shaders : public GlFixture {
protected:
    // The game's programs for a 2048-wide map, with textures of known sizes; the console goes to `log`.
    void prepare()
    {
        SDLGL& gl = *sdlgl;
        gl.textures.waveAnim_tex = sized(128, 64);
        gl.textures.htex_16bit = sized(2048, 2048);
        gl.textures.rock_tex = sized(512, 256);
        gl.textures.grass_tex = sized(256, 256);
        gl.textures.sand_tex = sized(128, 128);
        gl.textures.noise_tex = sized(64, 32);
        ::testing::internal::CaptureStdout();
        gl.prepare_shaders(
            terrain_scale_for(2048, 0, gl.settings.phys_minfact, gl.settings.y_pgmland_scale, waterlevel_frac));
        log = ::testing::internal::GetCapturedStdout();
    }

    std::vector<ShaderProgram*> all() const
    {
        const SDLGL::Programs& p = sdlgl->programs;
        return {p.rippleShader, p.waternormalsShader, p.show_floatShader, p.pgmlandShader, p.pgmland_colorShader,
                p.pgmland_parallax_colorShader, p.pgmland_wateraboveShader, p.pgmland_waterbelowShader, p.colorShader,
                p.wateraboveShader, p.waterbelowShader, p.perturbShader, p.skyboxShader, p.ringsShader,
                p.objectsShader, p.md2instanceShader, p.imgwarpShader, p.pgmland_positionShader,
                p.water_positionShader, p.pgmland_parallax_grassShader, p.ground_classShader,
                p.pgmland_far_colorShader, p.pgmland_far_grassShader};
    }

    static std::vector<float> floats_of(ShaderProgram* p, const char* name)
    {
        GLint loc = glGetUniformLocationARB(p->program, name);
        EXPECT_GE(loc, 0) << name;
        std::vector<float> v(16, -12345.0f);
        if (loc >= 0) glGetUniformfvARB(p->program, loc, v.data());
        return v;
    }

    std::string log;
};

// With the units the passes give at draw time, no program reads one unit as two kinds of sampler.
TEST_F(Shaders, AllTwentyThreeProgramsLinkAndValidateWithThePassUnits)
{
    prepare();
    EXPECT_EQ(log.find("Failed to compile"), std::string::npos) << log;
    EXPECT_EQ(log.find("Shader compile log"), std::string::npos) << log;
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0) << "each program is unbound after its uniforms";
    SDLGL& gl = *sdlgl;
    for (ShaderProgram* p : {gl.programs.pgmland_colorShader, gl.programs.pgmland_parallax_colorShader,
                             gl.programs.pgmland_parallax_grassShader, gl.programs.pgmland_far_colorShader,
                             gl.programs.pgmland_far_grassShader, gl.programs.pgmland_wateraboveShader,
                             gl.programs.pgmland_waterbelowShader}) {
        p->bind();
        p->set_uniform_1i("shadowMap", 2);
        p->set_uniform_1i("noiseMap", 3);
    }
    gl.programs.perturbShader->bind();
    gl.programs.perturbShader->set_uniform_1i("refractMap", 9);
    gl.programs.perturbShader->set_uniform_1i("reflectMap", 8);
    for (ShaderProgram* p : {gl.programs.perturbShader, gl.programs.rippleShader, gl.programs.waternormalsShader}) {
        p->bind();
        p->set_uniform_1i("dynamicRingsMap", 7);
    }
    for (ShaderProgram* p : all()) {
        ASSERT_NE(p, nullptr);
        GLint linked = 0, ok = 0;
        glGetObjectParameterivARB(p->program, GL_OBJECT_LINK_STATUS_ARB, &linked);
        glValidateProgramARB(p->program);
        glGetObjectParameterivARB(p->program, GL_OBJECT_VALIDATE_STATUS_ARB, &ok);
        EXPECT_TRUE(linked && ok);
    }
    glUseProgramObjectARB(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A uniform the program does not have is skipped without a word; doubles arrive as floats.
TEST_F(Shaders, UniformSettersSkipUnknownNamesAndConvertDoubles)
{
    prepare();
    ShaderProgram* sky = sdlgl->programs.skyboxShader;
    sky->bind();
    const Printed p = printed([&] {
        sky->set_uniform_2f("parallax_scale_params", 1.0f, 2.0f);
        sky->set_uniform_1i("no_such_uniform", 3);
        const float zero[16] = {};
        sky->set_uniform_matrix4("no_such_matrix", 1, false, zero);
    });
    EXPECT_EQ(p.out + p.err, "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    ShaderProgram* models = sdlgl->programs.md2instanceShader;
    models->bind();
    double m[16];
    for (int i = 0; i < 16; ++i) m[i] = i * 0.5 + 0.25;
    models->set_uniform_matrix4d("tmpMat", 1, false, m);
    std::vector<float> v = floats_of(models, "tmpMat");
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
