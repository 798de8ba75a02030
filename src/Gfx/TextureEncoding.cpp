#include "Gfx/TextureEncoding.h"

#include <algorithm>
#include <climits>
#include <cstring>

bool stores_bgr(const char* path)
{
    if (!path) return false;
    size_t n = std::strlen(path);
    if (n < 4) return false;
    const char* ext = path + n - 4;
    return std::strcmp(ext, ".bmp") == 0 || std::strcmp(ext, ".BMP") == 0 ||
           std::strcmp(ext, ".tga") == 0 || std::strcmp(ext, ".TGA") == 0;
}

bool rows_readable(const ImageRows& rows)
{
    if (!rows.pixels || rows.width <= 0 || rows.height <= 0) return false;
    if (rows.bytes_per_pixel < 1 || rows.bytes_per_pixel > 4) return false;
    if (rows.bytes_per_pixel != (rows.bits_per_pixel + 7) / 8) return false;
    return static_cast<long long>(rows.pitch) >= static_cast<long long>(rows.width) * rows.bytes_per_pixel;
}

bool convert_to_rgba(const unsigned char* src, int width, int height, int pitch,
                     int bytes_per_pixel, bool swap_red_blue, unsigned char* out)
{
    if (bytes_per_pixel != 1 && bytes_per_pixel != 3 && bytes_per_pixel != 4) return false;
    if (width < 0 || height < 0 ||
        static_cast<long long>(pitch) < static_cast<long long>(width) * bytes_per_pixel)
        return false;
    const int r = swap_red_blue ? 2 : 0;
    const int b = swap_red_blue ? 0 : 2;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = src + static_cast<size_t>(y) * pitch;
        unsigned char* dst = out + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, dst += 4) {
            const unsigned char* px = row + static_cast<size_t>(x) * bytes_per_pixel;
            switch (bytes_per_pixel) {
            case 1: // grey: a palette, if any, is not consulted
                dst[0] = dst[1] = dst[2] = px[0];
                dst[3] = 255;
                break;
            case 3:
                dst[0] = px[r];
                dst[1] = px[1];
                dst[2] = px[b];
                dst[3] = 255;
                break;
            default:
                dst[0] = px[r];
                dst[1] = px[1];
                dst[2] = px[b];
                dst[3] = px[3];
                break;
            }
        }
    }
    return true;
}

FaceSize cube_face_size(int strip_width, int strip_height)
{
    FaceSize f;
    f.w = strip_width / 6;
    f.h = strip_height;
    return f;
}

std::vector<unsigned char> cut_cube_face(const unsigned char* strip, int pitch,
                                         int bytes_per_pixel, FaceSize face, int index)
{
    if (face.w <= 0 || face.h <= 0 || bytes_per_pixel <= 0 || index < 0 || index > 5) return {};
    const size_t row_bytes = static_cast<size_t>(face.w) * bytes_per_pixel;
    if (pitch < 0 || row_bytes * (index + 1) > static_cast<size_t>(pitch)) return {};
    std::vector<unsigned char> out(row_bytes * face.h);
    for (int y = 0; y < face.h; ++y) {
        const unsigned char* row = strip + static_cast<size_t>(y) * pitch + row_bytes * index;
        std::memcpy(out.data() + row_bytes * y, row, row_bytes);
    }
    return out;
}

bool copy_wave_slice(const ImageRows& rows, HeightVolume& volume, int z)
{
    if (rows.bytes_per_pixel != 1 || !rows_readable(rows)) return false;
    if (rows.width != volume.w || rows.height != volume.h || z < 0 || z >= volume.d) return false;
    const size_t slice = static_cast<size_t>(volume.w) * volume.h;
    if (volume.heights.size() < slice * (z + 1)) return false;
    unsigned char* dst = volume.heights.data() + slice * z;
    for (int y = 0; y < volume.h; ++y)
        std::memcpy(dst + static_cast<size_t>(y) * volume.w, rows.pixels + static_cast<size_t>(y) * rows.pitch,
                    static_cast<size_t>(volume.w));
    return true;
}

int scale_gradient(int gradient, int step)
{
    switch (step) {
    case 2: return gradient * 4 / 5;
    case 4: return gradient / 3;
    case 8: return gradient / 5;
    case 16: return gradient / 9;
    default: return gradient / (step != 0 ? step : 1);
    }
}

namespace {

// Wrapping neighbour index. For power-of-two sizes this is the bit mask (size - 1); the
// modulo keeps other sizes inside the volume too.
inline int wrap(int i, int size) { return ((i % size) + size) % size; }

inline unsigned char to_channel(int scaled)
{
    return static_cast<unsigned char>(std::clamp((scaled + 510) / 4, 0, 255));
}

} // namespace

std::vector<unsigned char> encode_gradients(const HeightVolume& v, int step, int* min_val,
                                            int* max_val)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(v.w) * v.h * v.d * 3);
    int lo = INT_MAX, hi = INT_MIN;
    unsigned char* out = rgb.data();
    for (int z = 0; z < v.d; ++z) {
        for (int y = 0; y < v.h; ++y) {
            for (int x = 0; x < v.w; ++x, out += 3) {
                int gx = v.at(wrap(x + 1, v.w), y, z) - v.at(wrap(x - 1, v.w), y, z);
                int gy = v.at(x, wrap(y + 1, v.h), z) - v.at(x, wrap(y - 1, v.h), z);
                gx = scale_gradient(gx, step);
                gy = scale_gradient(gy, step);
                lo = std::min({lo, gx, gy});
                hi = std::max({hi, gx, gy});
                out[0] = v.at(x, y, z);
                out[1] = to_channel(gx);
                out[2] = to_channel(gy);
            }
        }
    }
    if (rgb.empty()) lo = hi = 0;
    if (min_val) *min_val = lo;
    if (max_val) *max_val = hi;
    return rgb;
}

HeightVolume downsample_volume(const HeightVolume& v)
{
    HeightVolume out;
    out.w = std::max(1, v.w / 2);
    out.h = std::max(1, v.h / 2);
    out.d = std::max(1, v.d / 2);
    out.heights.resize(static_cast<size_t>(out.w) * out.h * out.d);
    // Weight by how many of the three offsets are non-zero: centre, face, edge, corner.
    static const int weight[4] = {10, 4, 2, 1};
    size_t i = 0;
    for (int z = 0; z < out.d; ++z) {
        for (int y = 0; y < out.h; ++y) {
            for (int x = 0; x < out.w; ++x) {
                int sum = 0;
                for (int dz = -1; dz <= 1; ++dz) {
                    int sz = wrap(2 * z + dz, v.d);
                    for (int dy = -1; dy <= 1; ++dy) {
                        int sy = wrap(2 * y + dy, v.h);
                        for (int dx = -1; dx <= 1; ++dx) {
                            int sx = wrap(2 * x + dx, v.w);
                            sum += weight[(dx != 0) + (dy != 0) + (dz != 0)] * v.at(sx, sy, sz);
                        }
                    }
                }
                out.heights[i++] = static_cast<unsigned char>(sum / 66);
            }
        }
    }
    return out;
}
