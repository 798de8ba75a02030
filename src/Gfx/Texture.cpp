#include "Gfx/Texture.h"

#include "Common/Platform.h"
#include "Common/TextureFilter.h"
#include "Gfx/GlError.h"
#include "Gfx/TextureEncoding.h"
#include "Terrain/HeightMap.h"

#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>

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

class SurfaceLock {
public:
    explicit SurfaceLock(SDL_Surface* s) : surface(s)
    {
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    }
    ~SurfaceLock()
    {
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    }

private:
    SDL_Surface* surface;
};

SDL_Surface* load_any(const char* path) { return IMG_Load(native_path(path).c_str()); }

SDL_Surface* load_bmp(const char* path)
{
    SDL_RWops* stream = SDL_RWFromFile(native_path(path).c_str(), "rb");
    return stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
}

// The pattern's first "%d" replaced by `number`; the pattern itself is never used as a
// format string.
std::string slice_name(const char* pattern, int number)
{
    std::string name(pattern);
    size_t at = name.find("%d");
    if (at != std::string::npos) name.replace(at, 2, std::to_string(number));
    return name;
}

bool ends_with_bmp(const char* path)
{
    size_t n = std::strlen(path);
    return n >= 4 && (std::strcmp(path + n - 4, ".bmp") == 0 || std::strcmp(path + n - 4, ".BMP") == 0);
}

void print_allocation_failure(double bytes)
{
    std::fprintf(stderr, "failed to allocate %f MB for the 3D texture!\n", bytes / 1048576.0);
}

void replace_env() { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE); }

} // namespace

unsigned char* Texture::load_image(const char* path)
{
    std::printf("loading texture %s\n", path);
    SDL_Surface* surface = load_any(path);
    if (!surface) {
        std::fprintf(stderr, "failed to load %s\n", path);
        return nullptr;
    }
    _texW = surface->w;
    _texH = surface->h;
    const size_t texels = static_cast<size_t>(_texW) * _texH;
    // Zeroed, so an unsupported depth gives a blank image instead of stale memory.
    unsigned char* buffer = new (std::nothrow) unsigned char[texels * 4]();
    if (!buffer) {
        print_allocation_failure(static_cast<double>(texels));
        SDL_FreeSurface(surface);
        return nullptr;
    }
    {
        SurfaceLock lock(surface);
        if (!convert_to_rgba(static_cast<const unsigned char*>(surface->pixels), _texW, _texH,
                             surface->pitch, surface->format->BytesPerPixel, stores_bgr(path),
                             buffer))
            std::fprintf(stderr, "unsupported image-format!");
    }
    SDL_FreeSurface(surface);
    return buffer;
}

Texture::Texture(const char* path)
{
    target = GL_TEXTURE_2D;
    unsigned char* buffer = load_image(path);
    if (buffer) {
        glActiveTexture(GL_TEXTURE0);
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        GLint glu_error = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, _texW, _texH, GL_RGBA,
                                            GL_UNSIGNED_BYTE, buffer);
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
    std::printf("\n\tloading cubemap from %s\n", path);
    SDL_Surface* surface = load_any(path);
    if (!surface) {
        std::fprintf(stderr, "failed to load %s\n", path);
    } else {
        FaceSize face = cube_face_size(surface->w, surface->h);
        _texW = face.w;
        _texH = face.h;
        std::printf("_texW=%d, _texH=%d\n", _texW, _texH);
        const int bpp = surface->format->BytesPerPixel;
        const bool bgr = stores_bgr(path);
        GLenum source_format = 0;
        switch (bpp) {
        case 1: source_format = GL_LUMINANCE; break;
        case 3: source_format = bgr ? GL_BGR : GL_RGB; break;
        case 4: source_format = bgr ? GL_BGRA : GL_RGBA; break;
        default: std::fprintf(stderr, "unsupported image-format!"); break;
        }
        if (source_format && face.w > 0 && face.h > 0) {
            SurfaceLock lock(surface);
            TightUnpack tight;
            for (int i = 0; i < 6; ++i) {
                std::vector<unsigned char> pixels = cut_cube_face(
                    static_cast<const unsigned char*>(surface->pixels), surface->pitch, bpp, face, i);
                glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, 0, GL_RGB, face.w, face.h, 0,
                             source_format, GL_UNSIGNED_BYTE, pixels.data());
            }
        }
        SDL_FreeSurface(surface);
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

void Texture::load_3d(const char* pattern, int slice_count)
{
    target = GL_TEXTURE_3D;
    const bool is_bmp = ends_with_bmp(pattern);
    std::printf("is_BMP = %d\n", is_bmp ? 1 : 0);

    HeightVolume volume;
    bool sized = false;
    for (int s = 1; s <= slice_count; ++s) {
        std::string name = slice_name(pattern, s);
        SDL_Surface* surface = is_bmp ? load_bmp(name.c_str()) : load_any(name.c_str());
        if (!surface) {
            std::fprintf(stderr, "failed to load %s\n", name.c_str());
            continue;
        }
        // The first slice that loads sets the size; a missing one leaves zeros in its place.
        if (!sized) {
            volume.w = surface->w;
            volume.h = surface->h;
            volume.d = slice_count;
            std::printf("3D image will be %d x %d x %d\n", volume.w, volume.h, slice_count);
            const size_t bytes = static_cast<size_t>(volume.w) * volume.h * slice_count;
            try {
                volume.heights.assign(bytes, 0);
            } catch (const std::bad_alloc&) {
                print_allocation_failure(static_cast<double>(bytes));
                SDL_FreeSurface(surface);
                return;
            }
            sized = true;
        } else if (surface->w != volume.w || surface->h != volume.h) {
            std::printf("the dimensions of slice %d are not the same as the dimensions of the first slice(s)\n", s);
            SDL_FreeSurface(surface);
            continue;
        }
        if (surface->format->BitsPerPixel != 8) {
            std::printf("please use 8 bit per pixel images only!\n");
            SDL_FreeSurface(surface);
            continue;
        }
        {
            SurfaceLock lock(surface);
            const unsigned char* src = static_cast<const unsigned char*>(surface->pixels);
            unsigned char* dst = volume.heights.data() + static_cast<size_t>(s - 1) * volume.w * volume.h;
            for (int y = 0; y < volume.h; ++y)
                std::memcpy(dst + static_cast<size_t>(y) * volume.w,
                            src + static_cast<size_t>(y) * surface->pitch, static_cast<size_t>(volume.w));
        }
        SDL_FreeSurface(surface);
    }
    if (!sized || volume.w <= 0 || volume.h <= 0) return; // nothing to make a texture of

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
