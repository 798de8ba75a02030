// The processor-side work behind the texture loaders: turning decoded image rows into RGBA
// texels, cutting the faces out of the sky's cube-map strip, and the wave texture's
// gradient encoding and hand-made mipmap chain. No GL here, so each step can be checked
// on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// True when the file's 3-byte pixels arrive as B, G, R: BMP and TGA files (by extension,
// ".bmp", ".BMP", ".tga" or ".TGA").
bool stores_bgr(const char* path);

// The rows of a decoded image as its decoder describes them. None of it is taken on trust:
// a crafted file can make a decoder report a pixel size and a pitch that its own buffer
// does not hold (a BMP claiming 3592 bits per pixel arrives as 8 bits, 193 bytes per
// pixel and a pitch of 0).
struct ImageRows {
    const unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    int pitch = 0; // bytes from the start of one row to the next; the buffer holds height rows
    int bits_per_pixel = 0;
    int bytes_per_pixel = 0;
};

// True when every pixel of every row can be read: pixels present, both sides positive, a
// pixel size of 1 to 4 bytes that agrees with the bit count, and width pixels within the
// pitch.
bool rows_readable(const ImageRows& rows);

// Converts `height` rows of `bytes_per_pixel`-byte pixels (each row starting at
// row * pitch) into width * height RGBA texels in `out`. One byte is grey, three bytes
// are R, G, B (B, G, R when `swap_red_blue`), four bytes R, G, B, A (B, G, R, A when
// `swap_red_blue`). Returns false, leaving `out` untouched, for any other depth and for
// rows whose pixels do not fit within the pitch.
bool convert_to_rgba(const unsigned char* src, int width, int height, int pitch,
                     int bytes_per_pixel, bool swap_red_blue, unsigned char* out);

// The face size of a cube-map strip: six square faces side by side.
struct FaceSize {
    int w = 0, h = 0;
};
FaceSize cube_face_size(int strip_width, int strip_height);

// The pixels of face `face` (0 = leftmost = +X, then -X, +Y, -Y, +Z, -Z) of a strip, as
// face.h contiguous rows of face.w pixels. Empty when the face does not lie within the
// strip's rows (a pitch too small for six faces of that width, or a face index beyond 5).
std::vector<unsigned char> cut_cube_face(const unsigned char* strip, int pitch,
                                         int bytes_per_pixel, FaceSize face, int index);

// A volume of 8-bit heights, x fastest, then y, then z (slice by slice).
struct HeightVolume {
    int w = 0, h = 0, d = 0;
    std::vector<unsigned char> heights;

    unsigned char at(int x, int y, int z) const
    {
        return heights[(static_cast<size_t>(z) * h + y) * w + x];
    }
};

// Copies one 8-bit slice into slice `z` of the volume. False, leaving the volume alone,
// unless the rows are one byte per pixel, of the volume's width and height, and readable.
bool copy_wave_slice(const ImageRows& rows, HeightVolume& volume, int z);

// Gradient scaled for the mipmap level that was sampled at `step` texels: the coarser the
// level, the larger the raw difference between neighbours, so it is divided down.
int scale_gradient(int gradient, int step);

// Encodes the volume as RGB texels: R the height, G and B the scaled x and y gradients
// mapped from -510..510 onto 0..255 (flat ground gives 127). Neighbours wrap around inside
// their slice. `min_val` and `max_val` receive the extremes of the scaled gradients.
std::vector<unsigned char> encode_gradients(const HeightVolume& v, int step, int* min_val,
                                            int* max_val);

// The next mipmap level: half size in each dimension (never below 1), each voxel a
// 3x3x3 weighted average (centre 10, faces 4, edges 2, corners 1, sum 66) around the even
// source voxel, wrapping around at the borders.
HeightVolume downsample_volume(const HeightVolume& v);

// Whether an image file's header promises a picture its decoder may be handed. The
// decoders allocate and walk the whole picture the header declares before they notice that
// the file ends: a 31-byte TGA claiming 276 million run-length pixels keeps SDL_image busy
// for minutes. `head` holds the file's first bytes (up to `head_size`, at least its header),
// `file_size` its length, `tga` whether it goes to the decoder as a TGA (known only by its
// name). Refused: a side over 16384 or more than 64 Mi pixels in any format; an
// uncompressed BMP or TGA shorter than its pixels; a run-length TGA with more pixels than
// 128 per packet byte could hold. Formats it does not know, or headers it cannot read, are
// left to the decoder.
bool image_header_plausible(const unsigned char* head, size_t head_size, long long file_size, bool tga);
