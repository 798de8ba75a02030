#include "Common/TextureFilter.h"

GLint min_filter_for(int filter_mode, bool filter_linear)
{
    switch (filter_mode) {
    case 2:
        return filter_linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    case 1:
        return filter_linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    default:
        return filter_linear ? GL_LINEAR : GL_NEAREST;
    }
}

GLint mag_filter_for(GLint min_filter)
{
    switch (min_filter) {
    case GL_LINEAR_MIPMAP_LINEAR:
    case GL_NEAREST_MIPMAP_LINEAR:
    case GL_LINEAR_MIPMAP_NEAREST:
    case GL_NEAREST_MIPMAP_NEAREST:
        return GL_LINEAR;
    default:
        return min_filter;
    }
}

const char* filter_name(GLint filter)
{
    switch (filter) {
    case GL_LINEAR_MIPMAP_LINEAR: return "GL_LINEAR_MIPMAP_LINEAR";
    case GL_NEAREST_MIPMAP_LINEAR: return "GL_NEAREST_MIPMAP_LINEAR";
    case GL_LINEAR_MIPMAP_NEAREST: return "GL_LINEAR_MIPMAP_NEAREST";
    case GL_NEAREST_MIPMAP_NEAREST: return "GL_NEAREST_MIPMAP_NEAREST";
    case GL_LINEAR: return "GL_LINEAR";
    case GL_NEAREST: return "GL_NEAREST";
    default: return "unknown";
    }
}
