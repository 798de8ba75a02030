#include "Gfx/FBO.h"

#include "Common/SDLGL.h"
#include "Gfx/GlError.h"
#include "Gfx/GridIndices.h"

#include <cstdio>

FBO::~FBO()
{
    // Names are only ever non-zero when a context made them, so an unused record needs no GL.
    if (vertex_buffer) glDeleteBuffersARB(1, &vertex_buffer);
    if (index_buffer) glDeleteBuffersARB(1, &index_buffer);
    if (index_buffer_lowres) glDeleteBuffersARB(1, &index_buffer_lowres);
    if (depth_renderbuffer) glDeleteRenderbuffersEXT(1, &depth_renderbuffer);
    if (framebuffer) glDeleteFramebuffersEXT(1, &framebuffer);
    delete_texture();
}

void FBO::remember_format(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt, GLenum data_type)
{
    target = tex_target;
    internal_format = internal_fmt;
    _texW = w;
    _texH = h;
    format = fmt;
    type = data_type;
}

GLenum FBO::create_color(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt,
                         GLenum data_type, GLint filter, GLint wrap, GLenum attach)
{
    remember_format(tex_target, internal_fmt, w, h, fmt, data_type);
    glActiveTexture(GL_TEXTURE0);

    if (framebuffer && glIsFramebufferEXT(framebuffer)) {
        // A second colour texture on the same framebuffer (the refraction beside the
        // reflection). A third call replaces the second texture instead of leaking it.
        std::printf("FBO already exists\n");
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
        if (second_id) glDeleteTextures(1, &second_id);
        glGenTextures(1, &second_id);
        glBindTexture(target, second_id);
        set_params(filter, wrap);
        glTexImage2D(target, 0, internal_fmt, w, h, 0, fmt, data_type, nullptr);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, attach, target, second_id, 0);
        return check();
    }

    std::printf("creating new FBO\n");
    attachment = attach;
    make_framebuffer_with_texture(filter, wrap);
    glGenRenderbuffersEXT(1, &depth_renderbuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth_renderbuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, w, h);
    attach_depth(depth_renderbuffer, false);
    return check();
}

void FBO::make_framebuffer_with_texture(GLint filter, GLint wrap)
{
    glGenFramebuffersEXT(1, &framebuffer);
    glGenTextures(1, &id);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindTexture(target, id);
    set_params(filter, wrap);
    glTexImage2D(target, 0, internal_format, _texW, _texH, 0, format, type, nullptr);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, attachment, target, id, 0);
}

void FBO::attach_depth(GLuint renderbuffer, bool stencil)
{
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, renderbuffer);
    if (stencil)
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, renderbuffer);
    has_stencil = stencil;
}

GLenum FBO::add_stencil()
{
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth_renderbuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, _texW, _texH);
    attach_depth(depth_renderbuffer, true);
    return check();
}

GLenum FBO::create_color_on_depth(const FBO& depth_owner, GLenum tex_target, GLenum internal_fmt, GLenum fmt,
                                  GLenum data_type)
{
    remember_format(tex_target, internal_fmt, depth_owner._texW, depth_owner._texH, fmt, data_type);
    std::printf("creating new FBO on another's depth\n");
    attachment = GL_COLOR_ATTACHMENT0_EXT;
    glActiveTexture(GL_TEXTURE0);
    make_framebuffer_with_texture(GL_NEAREST, GL_CLAMP_TO_EDGE);
    // Not this target's to delete: depth_renderbuffer stays 0.
    attach_depth(depth_owner.depth_renderbuffer, depth_owner.has_stencil);
    return check();
}

GLenum FBO::create_depth(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt,
                         GLenum data_type, GLint filter, GLint wrap, GLenum attach)
{
    remember_format(tex_target, internal_fmt, w, h, fmt, data_type);
    attachment = attach;
    std::printf("creating new Depth FBO\n");
    glActiveTexture(GL_TEXTURE0);
    glGenFramebuffersEXT(1, &framebuffer);
    glGenTextures(1, &id);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindTexture(target, id);
    set_params(filter, wrap);
    // Outside the map everything counts as lit.
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    const GLfloat border[4] = {1, 1, 1, 1};
    glTexParameterfv(target, GL_TEXTURE_BORDER_COLOR, border);
    glTexParameteri(target, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(target, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
    glTexParameteri(target, GL_DEPTH_TEXTURE_MODE_ARB, GL_INTENSITY);
    glTexImage2D(target, 0, internal_fmt, w, h, 0, fmt, data_type, nullptr);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, attach, target, id, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    return check();
}

namespace {

GLuint upload_indices(const GridIndexList& list)
{
    GLuint buffer = 0;
    glGenBuffersARB(1, &buffer);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, buffer);
    glBufferDataARB(GL_ELEMENT_ARRAY_BUFFER_ARB,
                    static_cast<GLsizeiptrARB>(list.indices.size() * sizeof(uint32_t)),
                    list.indices.data(), GL_STATIC_DRAW_ARB);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    return buffer;
}

} // namespace

GLenum FBO::create_grid(GLenum tex_target, GLenum internal_fmt, int w, int h, GLenum fmt,
                        GLenum data_type, GLint filter, GLint wrap)
{
    create_color(tex_target, internal_fmt, w, h, fmt, data_type, filter, wrap,
                 GL_COLOR_ATTACHMENT0_EXT);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) return status;

    glGenBuffersARB(1, &vertex_buffer);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertex_buffer);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, static_cast<GLsizeiptrARB>(_texW) * _texH * 16, nullptr,
                    GL_STREAM_DRAW_ARB);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);

    std::printf("building index for tris, w=%d, h=%d\n", _texW, _texH);
    GridIndexList full = full_grid_indices(_texW, _texH);
    index_count = full.count;
    index_buffer = upload_indices(full);

    GridIndexList half = half_grid_indices(_texW, _texH);
    index_count_lowres = half.count;
    std::printf("_texIBO_len=%d, _texIBOloRes_len=%d, i=%d\n", index_count, index_count_lowres,
                static_cast<int>(half.indices.size()));
    index_buffer_lowres = upload_indices(half);
    return status;
}

GLenum FBO::check()
{
    status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status == GL_FRAMEBUFFER_COMPLETE_EXT) return status;
    if (status == GL_FRAMEBUFFER_UNSUPPORTED_EXT) {
        std::fprintf(stderr, " >>> FBO incomplete - choose another format! <<<\n");
    } else {
        report_gl_error("FBOcheck");
        std::fprintf(stderr, " >>> FBO incomplete - sthg went completely wrong! retval = %u <<<\n",
                     status);
    }
    return status;
}

void FBO::bind_framebuffer() { glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer); }

void FBO::unbind_framebuffer() { glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0); }

GLenum choose_float_rgba32_format(const char* extensions)
{
    return is_extension_supported("GL_NV_float_buffer", extensions) ? GL_FLOAT_RGBA32_NV
                                                                     : GL_RGBA32F_ARB;
}

GLenum float_rgba32_format()
{
    static const GLenum chosen =
        choose_float_rgba32_format(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    return chosen;
}

const char* float_rgba32_format_name(GLenum format)
{
    return format == GL_FLOAT_RGBA32_NV ? "GL_FLOAT_RGBA32_NV" : "GL_RGBA32F_ARB";
}
