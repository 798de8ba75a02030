// A GL texture with its target, size and the unit it was last bound to. Made from image
// files (2-D colour, the sky's cube-map strip, the 3-D wave animation), from the height
// map (16-bit), or filled in by a render target.
#pragma once

#include <GL/glew.h>

#include <cstdint>

class HeightMap;

class Texture {
public:
    Texture() = default;               // an empty record, filled by a render target
    explicit Texture(const char* path); // 2-D colour texture with mipmaps
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    void load_cubemap_strip(const char* path);
    void load_16bit(const HeightMap& map);
    void load_16bit(int w, int h, const uint16_t* samples); // row-major, row 0 first
    void load_3d(const char* pattern, int slice_count);
    // RGBA pixels made by the game itself (row 0 first) with mipmaps, clamped at the edges.
    void load_rgba(int w, int h, const unsigned char* pixels);
    // RGBA pixels of an image file (caller frees with delete[]); sets _texW and _texH.
    unsigned char* load_image(const char* path);

    void bind_to_unit(GLenum texture_unit);
    void bind_second_to_unit(GLenum texture_unit);
    void bind_shadow_to_unit(GLenum texture_unit);
    void bind();
    void unbind();
    void unbind_shadow();
    void set_params(GLint filter, GLint wrap);
    void delete_texture(); // glDeleteTextures of id

    GLuint id = 0;
    GLuint second_id = 0;
    GLenum target = GL_TEXTURE_2D;
    int _texW = 0, _texH = 0;
    GLenum unit = GL_TEXTURE0;
    GLenum internal_format = GL_RGBA, format = GL_RGBA, type = GL_UNSIGNED_BYTE;
};
