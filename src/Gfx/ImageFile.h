// Image files decoded the way the texture loaders take them, with no GL context needed: the
// RGBA texels of a 2-D texture, the six faces of the sky's cube-map strip and the wave
// animation's volume of 8-bit slices. Every surface SDL or SDL_image hands back is checked
// for the layout its copy needs before a byte of it is read; one that fails is refused with
// the loader's "failed to load %s\n", like a file that does not decode at all.
#pragma once

#include "Gfx/TextureEncoding.h"

#include <vector>

// Prints "loading texture %s\n", then decodes the file. Returns width * height RGBA texels
// (free with delete[]) and sets w and h, or returns null after its message. An image of an
// unsupported depth gives a blank (zeroed) buffer after "unsupported image-format!".
unsigned char* decode_rgba(const char* path, int& w, int& h);

struct CubeStrip {
    FaceSize face;
    int bytes_per_pixel = 0;
    std::vector<unsigned char> faces[6]; // empty when the depth is not supported
};

// Prints "\n\tloading cubemap from %s\n" and the face size, then cuts the six faces. False
// (after "failed to load %s\n") when the file does not decode or its rows cannot be read.
bool decode_cube_strip(const char* path, CubeStrip& out);

// The slices 1 to slice_count of `pattern` (its "%d" replaced by the number; BMP files go
// through SDL_LoadBMP_RW, others through SDL_image) as one volume. The first slice that
// loads sets the size; a slice that is missing, of another size or not 8 bits per pixel
// leaves zeros in its place, each with its message. False when no slice could be used to
// size the volume, or the volume could not be allocated.
bool decode_wave_volume(const char* pattern, int slice_count, HeightVolume& volume);
