#include "Gfx/GlError.h"

#include <GL/glu.h>

#include <cstdio>

GLenum report_gl_error(const char* where)
{
    GLenum code = glGetError();
    if (code != GL_NO_ERROR)
        std::printf("\n >>> @ %s => OpenGL ERROR: %s !!!\n\n", where,
                    reinterpret_cast<const char*>(gluErrorString(code)));
    return code;
}
