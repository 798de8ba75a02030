#include "Gfx/Texture.h"

#include "Common/Platform.h"
#include "Common/TextureFilter.h"
#include "Gfx/GlError.h"
#include "Gfx/ImageFile.h"
#include "Gfx/TextureEncoding.h"
#include "Terrain/HeightMap.h"

#include <GL/glu.h>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

// Keeps pixel rows of any length intact while uploading: rows of RGB or 16-bit texels
// are not 4-byte multiples in general.
class TightUnpack {
public:
    TightUnpack()
    {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &saved);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    ~TightUnpack() { glPixelStorei(GL_UNPACK_ALIGNMENT, saved); }

private:
    GLint saved = 4;
};

void replace_env() { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE); }

// A new 2-D texture on unit 0 from RGBA pixels, with mipmaps, linear sampling and `wrap` at its
// edges. Returns what gluBuild2DMipmaps says (0 when all went well).
GLint make_mipmapped_rgba(GLuint& id, int w, int h, const unsigned char* pixels, GLint wrap)
{
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    if (!pixels || w <= 0 || h <= 0) return GLU_INVALID_VALUE;
    return gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}

} // namespace

unsigned char* Texture::load_image(const char* path) { return decode_rgba(path, _texW, _texH); }

Texture::Texture(const char* path)
{
    target = GL_TEXTURE_2D;
    unsigned char* buffer = load_image(path);
    if (buffer) {
        GLint glu_error = make_mipmapped_rgba(id, _texW, _texH, buffer, GL_REPEAT);
        if (glu_error == 0)
            std::printf("successfully loaded 2D texture %s\n", path);
        else
            std::fprintf(stderr, "failed to build the mipmaps of %s: %s\n", path,
                         reinterpret_cast<const char*>(gluErrorString(static_cast<GLenum>(glu_error))));
        delete[] buffer;
    }
    replace_env();
}

void Texture::load_cubemap_strip(const char* path)
{
    target = GL_TEXTURE_CUBE_MAP;
    unit = GL_TEXTURE0;
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_CUBE_MAP, id);
    CubeStrip strip;
    if (decode_cube_strip(path, strip)) {
        _texW = strip.face.w;
        _texH = strip.face.h;
        const bool bgr = stores_bgr(path);
        GLenum source_format = 0;
        switch (strip.bytes_per_pixel) {
        case 1: source_format = GL_LUMINANCE; break;
        case 3: source_format = bgr ? GL_BGR : GL_RGB; break;
        case 4: source_format = bgr ? GL_BGRA : GL_RGBA; break;
        default: break;
        }
        TightUnpack tight;
        for (int i = 0; i < 6; ++i)
            if (source_format && !strip.faces[i].empty())
                glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, 0, GL_RGB, strip.face.w, strip.face.h, 0,
                             source_format, GL_UNSIGNED_BYTE, strip.faces[i].data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    replace_env();
}

void Texture::load_16bit(const HeightMap& map) { load_16bit(map.map_w, map.map_h, map.map_data); }

void Texture::load_16bit(int w, int h, const uint16_t* samples)
{
    _texW = w;
    _texH = h;
    target = GL_TEXTURE_2D;
    std::printf("16bit w=%d, h=%d\n", w, h);
    unit = GL_TEXTURE0;
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    std::printf("\n\t 16 bit tex id = %u\n\n", id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    const GLfloat border[4] = {0, 0, 0, 0};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    GLint glu_error = GLU_INVALID_VALUE;
    if (samples && w > 0 && h > 0) {
        TightUnpack tight;
        glu_error = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_LUMINANCE16, w, h, GL_LUMINANCE,
                                      GL_UNSIGNED_SHORT, samples);
    }
    if (glu_error == 0)
        std::printf("\n\tsuccessfully loaded 16bit 2D texture \n\n");
    else
        std::fprintf(stderr, "failed to build the 16bit 2D texture (%d x %d): %s\n", w, h,
                     reinterpret_cast<const char*>(gluErrorString(static_cast<GLenum>(glu_error))));
    replace_env();
}

void Texture::load_rgba(int w, int h, const unsigned char* pixels)
{
    target = GL_TEXTURE_2D;
    _texW = w;
    _texH = h;
    unit = GL_TEXTURE0;
    const GLint glu_error = make_mipmapped_rgba(id, w, h, pixels, GL_CLAMP_TO_EDGE);
    if (glu_error != 0)
        std::fprintf(stderr, "failed to build a %d x %d RGBA texture: %s\n", w, h,
                     reinterpret_cast<const char*>(gluErrorString(static_cast<GLenum>(glu_error))));
    replace_env();
}

void Texture::load_3d(const char* pattern, int slice_count)
{
    target = GL_TEXTURE_3D;
    HeightVolume volume;
    if (!decode_wave_volume(pattern, slice_count, volume)) return; // nothing to make a texture of

    glGenTextures(1, &id);
    bind_to_unit(GL_TEXTURE0);
    report_gl_error("texture waveAnim_tex glBindTexture");
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    report_gl_error("texture waveAnim_tex glTexParameteri mag filter");
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    report_gl_error("texture waveAnim_tex glTexParameteri min filter");
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAX_LEVEL, 4);
    _texW = volume.w;
    _texH = volume.h;

    TightUnpack tight;
    for (int level = 0; level <= 4; ++level) {
        if (level > 0) {
            std::printf("i=%d\n", level);
            volume = downsample_volume(volume);
        }
        int min_val = 0, max_val = 0;
        std::vector<unsigned char> rgb = encode_gradients(volume, 1 << level, &min_val, &max_val);
        std::printf("min_val = %d, max_val = %d\n", min_val, max_val);
        if (level == 0) report_gl_error("texture waveAnim_tex B4 glTexImage3D");
        glTexImage3D(GL_TEXTURE_3D, level, GL_RGB, volume.w, volume.h, volume.d, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, rgb.data());
        if (level == 0) report_gl_error("texture waveAnim_tex after glTexImage3D");
    }
    std::printf("successfully loaded 3D texture with 8bpp samples\n");
    replace_env();
}

void Texture::bind_to_unit(GLenum texture_unit)
{
    glActiveTexture(texture_unit);
    unit = texture_unit;
    glEnable(target);
    glBindTexture(target, id);
}

void Texture::bind_second_to_unit(GLenum texture_unit)
{
    glActiveTexture(texture_unit);
    unit = texture_unit;
    glEnable(target);
    glBindTexture(target, second_id);
}

void Texture::bind_shadow_to_unit(GLenum texture_unit)
{
    bind_to_unit(texture_unit);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
}

void Texture::bind()
{
    glEnable(target);
    glBindTexture(target, id);
}

void Texture::unbind()
{
    glBindTexture(target, 0);
    glDisable(target);
}

void Texture::unbind_shadow()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_NONE);
    glBindTexture(target, 0);
    glDisable(target);
}

void Texture::set_params(GLint filter, GLint wrap)
{
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, mag_filter_for(filter));
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, wrap);
    replace_env();
}

void Texture::delete_texture()
{
    if (id) glDeleteTextures(1, &id);
    if (second_id) glDeleteTextures(1, &second_id);
    id = second_id = 0;
}
