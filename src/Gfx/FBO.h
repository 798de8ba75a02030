// A render target: a framebuffer object with its colour or depth texture(s), and for the
// grid targets the vertex buffer that receives their pixels and two index lists.
#pragma once

#include "Gfx/Texture.h"

class FBO : public Texture {
public:
    FBO() = default;
    ~FBO();

    GLenum create_color(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt,
                        GLenum data_type, GLint filter, GLint wrap, GLenum attach);
    GLenum create_grid(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt,
                       GLenum data_type, GLint filter, GLint wrap);
    // A colour target that draws with another target's depth buffer (`depth_owner` keeps it):
    // what one draws hides behind what the other drew, and the other sees it in its depth.
    GLenum create_color_on_depth(const FBO& depth_owner, GLenum tex_target, GLenum internal_fmt, GLenum fmt,
                                 GLenum data_type);
    GLenum create_depth(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt,
                        GLenum data_type, GLint filter, GLint wrap, GLenum attach);
    // Gives the depth buffer a stencil beside it (one packed depth-stencil buffer).
    GLenum add_stencil();
    GLenum check();
    void bind_framebuffer();
    void unbind_framebuffer();

    GLenum status = 0;
    GLuint framebuffer = 0;
    GLuint depth_renderbuffer = 0;
    GLuint vertex_buffer = 0;
    GLuint index_buffer = 0;
    int index_count = 0;        // _texIBO_len
    GLuint index_buffer_lowres = 0;
    int index_count_lowres = 0; // _texIBOloRes_len
    GLenum attachment = 0;
    bool has_stencil = false;

private:
    // A framebuffer with one colour texture of the remembered format on `attachment`, bound.
    void make_framebuffer_with_texture(GLint filter, GLint wrap);
    // The depth renderbuffer on the bound framebuffer, and on its stencil point when it has one.
    void attach_depth(GLuint renderbuffer, bool stencil);
    // Keeps the target, size and formats a creation was asked for.
    void remember_format(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt, GLenum data_type);
};

// The internal format of the float grid targets: GL_FLOAT_RGBA32_NV where the driver has
// GL_NV_float_buffer, the standard GL_RGBA32F_ARB everywhere else.
GLenum choose_float_rgba32_format(const char* extensions);
// The same, decided once from the current context's extension string.
GLenum float_rgba32_format();
// "GL_FLOAT_RGBA32_NV" or "GL_RGBA32F_ARB", for the log.
const char* float_rgba32_format_name(GLenum format);
