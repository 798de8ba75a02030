#include "Gfx/ShaderProgram.h"

#include "Common/ParameterFile.h"
#include "Gfx/ShaderSource.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

GLint object_param(GLhandleARB object, GLenum name)
{
    GLint value = 0;
    glGetObjectParameterivARB(object, name, &value);
    return value;
}

std::vector<char> info_log(GLhandleARB object)
{
    GLint length = object_param(object, GL_OBJECT_INFO_LOG_LENGTH_ARB);
    std::vector<char> log;
    if (length > 0) {
        log.assign(static_cast<size_t>(length) + 1, '\0');
        GLsizei written = 0;
        glGetInfoLogARB(object, length, &written, log.data());
        log.resize(static_cast<size_t>(written) + 1);
        log[written] = '\0';
    }
    return log;
}

GLhandleARB compile(GLenum kind, const char* path)
{
    // A missing file, the program's own or one it includes, ends the program here.
    const ShaderFileReader read = [](const std::string& file) { return std::string(TextFile(file.c_str()).text); };
    const std::string source = expand_shader_includes(read(path), shader_folder(path), read);
    GLhandleARB shader = glCreateShaderObjectARB(kind);
    const GLcharARB* text = source.c_str();
    glShaderSourceARB(shader, 1, &text, nullptr);
    glCompileShaderARB(shader);

    std::vector<char> log = info_log(shader);
    // A lone line end is no message.
    if (log.size() > 2) std::printf("Shader compile log for %s:\n%s\n", path, log.data());
    if (!object_param(shader, GL_OBJECT_COMPILE_STATUS_ARB))
        std::printf("Failed to compile shader %s\n", path);
    return shader;
}

void print_program_log(GLhandleARB program)
{
    std::vector<char> log = info_log(program);
    if (log.size() > 2) std::printf("InfoLog: %s\n\n", log.data());
    if (!object_param(program, GL_OBJECT_LINK_STATUS_ARB))
        std::printf("Failed to link program%u\n", static_cast<unsigned>(program));
}

bool is_sampler(GLenum type)
{
    switch (type) {
    case GL_SAMPLER_1D: case GL_SAMPLER_2D: case GL_SAMPLER_3D: case GL_SAMPLER_CUBE:
    case GL_SAMPLER_1D_SHADOW: case GL_SAMPLER_2D_SHADOW:
    case GL_SAMPLER_2D_RECT_ARB: case GL_SAMPLER_2D_RECT_SHADOW_ARB:
        return true;
    default:
        return false;
    }
}

// Every sampler of a freshly linked program reads unit 0, and a program that reads units
// as samplers of different types does not validate. Until the caller gives each sampler
// its unit, they read distinct units, so that validation judges the program itself.
void spread_samplers(GLhandleARB program)
{
    GLint count = object_param(program, GL_OBJECT_ACTIVE_UNIFORMS_ARB);
    GLint max_units = 0;
    glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &max_units);
    glUseProgramObjectARB(program);
    int next_unit = 0;
    for (GLint i = 0; i < count; ++i) {
        char name[256];
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniformARB(program, static_cast<GLuint>(i), sizeof name, &length, &size, &type, name);
        if (!is_sampler(type)) continue;
        GLint location = glGetUniformLocationARB(program, name);
        if (location < 0) continue;
        for (GLint k = 0; k < size && next_unit < max_units; ++k)
            glUniform1iARB(location + k, next_unit++);
    }
}

} // namespace

ShaderProgram::~ShaderProgram()
{
    if (vertex_shader) glDeleteObjectARB(vertex_shader);
    if (fragment_shader) glDeleteObjectARB(fragment_shader);
    if (program) glDeleteObjectARB(program);
}

void ShaderProgram::load(const char* vertex_file, const char* fragment_file)
{
    program = glCreateProgramObjectARB();
    if (vertex_file) {
        vertex_shader = compile(GL_VERTEX_SHADER_ARB, vertex_file);
        glAttachObjectARB(program, vertex_shader);
    }
    if (fragment_file) {
        fragment_shader = compile(GL_FRAGMENT_SHADER_ARB, fragment_file);
        glAttachObjectARB(program, fragment_shader);
    }

    glLinkProgramARB(program);
    if (!object_param(program, GL_OBJECT_LINK_STATUS_ARB)) {
        print_program_log(program);
        std::printf("Shaders failed to link, exiting...\n");
        std::exit(1);
    }

    spread_samplers(program);
    glValidateProgramARB(program);
    if (!object_param(program, GL_OBJECT_VALIDATE_STATUS_ARB)) {
        print_program_log(program);
        std::printf("Shaders failed to validate, exiting...\n");
        std::exit(1);
    }
    glUseProgramObjectARB(program);
}

void ShaderProgram::bind() { glUseProgramObjectARB(program); }

void ShaderProgram::unbind() { glUseProgramObjectARB(0); }

#define WITH_LOCATION(name)                                       \
    GLint location = glGetUniformLocationARB(program, name);      \
    if (location < 0) return

GLint ShaderProgram::uniform_location(const char* name) const
{
    return glGetUniformLocationARB(program, name);
}

void ShaderProgram::set_uniform_1f_at(GLint location, float v)
{
    if (location >= 0) glUniform1fARB(location, v);
}

void ShaderProgram::set_uniform_4f_at(GLint location, float a, float b, float c, float d)
{
    if (location >= 0) glUniform4fARB(location, a, b, c, d);
}

void ShaderProgram::set_uniform_1i(const char* name, int v)
{
    WITH_LOCATION(name);
    glUniform1iARB(location, v);
}

void ShaderProgram::set_uniform_2i(const char* name, int a, int b)
{
    WITH_LOCATION(name);
    glUniform2iARB(location, a, b);
}

void ShaderProgram::set_uniform_1f(const char* name, float v)
{
    WITH_LOCATION(name);
    glUniform1fARB(location, v);
}

void ShaderProgram::set_uniform_2f(const char* name, float a, float b)
{
    WITH_LOCATION(name);
    glUniform2fARB(location, a, b);
}

void ShaderProgram::set_uniform_3f(const char* name, float a, float b, float c)
{
    WITH_LOCATION(name);
    glUniform3fARB(location, a, b, c);
}

void ShaderProgram::set_uniform_4f(const char* name, float a, float b, float c, float d)
{
    WITH_LOCATION(name);
    glUniform4fARB(location, a, b, c, d);
}

void ShaderProgram::set_uniform_4fv(const char* name, const float v[4])
{
    WITH_LOCATION(name);
    glUniform4fvARB(location, 1, v);
}

void ShaderProgram::set_uniform_matrix4(const char* name, int count, bool transpose, const float m[16])
{
    WITH_LOCATION(name);
    glUniformMatrix4fvARB(location, count, transpose ? GL_TRUE : GL_FALSE, m);
}

void ShaderProgram::set_uniform_matrix4d(const char* name, int count, bool transpose, const double m[16])
{
    WITH_LOCATION(name);
    float f[16];
    for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
    // Only one matrix is converted, so only one can be handed on.
    (void)count;
    glUniformMatrix4fvARB(location, 1, transpose ? GL_TRUE : GL_FALSE, f);
}

#undef WITH_LOCATION
