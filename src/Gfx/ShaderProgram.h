// A GLSL program made of one vertex and one fragment shader from files under shader/.
#pragma once

#include <GL/glew.h>

class ShaderProgram {
public:
    ShaderProgram() = default;
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Compiles, links and validates; a link or validation failure ends the program.
    // On return the program is in use.
    void load(const char* vertex_file, const char* fragment_file);
    void bind();
    void unbind();

    // Uniform setters: a name the program does not have is silently ignored. None of them
    // binds the program.
    // A uniform's location, looked up once for a loop that sets it many times (-1 when the
    // program has no such uniform; setting -1 does nothing).
    GLint uniform_location(const char* name) const;
    static void set_uniform_1f_at(GLint location, float v);
    static void set_uniform_4f_at(GLint location, float a, float b, float c, float d);

    void set_uniform_1i(const char* name, int v);
    void set_uniform_2i(const char* name, int a, int b);
    void set_uniform_1f(const char* name, float v);
    void set_uniform_2f(const char* name, float a, float b);
    void set_uniform_3f(const char* name, float a, float b, float c);
    void set_uniform_4f(const char* name, float a, float b, float c, float d);
    void set_uniform_4fv(const char* name, const float v[4]);
    void set_uniform_matrix4(const char* name, int count, bool transpose, const float m[16]);
    void set_uniform_matrix4d(const char* name, int count, bool transpose, const double m[16]);

    GLhandleARB vertex_shader = 0;
    GLhandleARB fragment_shader = 0;
    GLhandleARB program = 0;
};
