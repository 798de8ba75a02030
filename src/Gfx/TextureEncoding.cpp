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

namespace {

uint32_t le16(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t be16(const unsigned char* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t be32(const unsigned char* p) { return be16(p) << 16 | be16(p + 2); }
int32_t le32s(const unsigned char* p) { return int32_t(le16(p) | le16(p + 2) << 16); }

// The largest picture any decoder is handed: no texture of the game comes near it.
const long long max_image_side = 16384, max_image_pixels = 64LL << 20;

bool sides_within_bounds(long long w, long long h) { return w <= max_image_side && h <= max_image_side; }

// The picture a header declares: its sides and, where the format says, the bytes its
// pixels need at least (0: unknown) and the most pixels the file could hold (0: no bound).
struct DeclaredImage {
    bool known = false;
    long long width = 0, height = 0;
    long long min_file_size = 0;
    long long max_pixels = 0;
};

DeclaredImage declared_png(const unsigned char* h, size_t n)
{
    DeclaredImage d;
    if (n < 24 || std::memcmp(h + 12, "IHDR", 4) != 0) return d;
    d.known = true;
    d.width = be32(h + 16);
    d.height = be32(h + 20);
    return d;
}

DeclaredImage declared_bmp(const unsigned char* h, size_t n)
{
    DeclaredImage d;
    if (n < 34 || le32s(h + 14) < 40) return d; // older headers: left to the decoder
    d.known = true;
    d.width = le32s(h + 18);
    const long long height = le32s(h + 22);
    d.height = height < 0 ? -height : height; // negative: rows stored top-down
    const long long bits = le16(h + 28), compression = le32s(h + 30);
    if (compression == 0 && d.width > 0 && sides_within_bounds(d.width, d.height)) {
        const long long pitch = (d.width * bits + 31) / 32 * 4;
        d.min_file_size = le32s(h + 10) + pitch * d.height;
    }
    return d;
}

// JPEG: the first start-of-frame segment among those the head holds.
DeclaredImage declared_jpeg(const unsigned char* h, size_t n)
{
    DeclaredImage d;
    size_t at = 2;
    while (at + 9 <= n && h[at] == 0xFF) {
        const unsigned marker = h[at + 1];
        if (marker == 0xD9 || marker == 0xDA) break; // end of image, start of scan
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            d.known = true;
            d.height = be16(h + at + 5);
            d.width = be16(h + at + 7);
            return d;
        }
        at += 2 + be16(h + at + 2);
    }
    return d;
}

DeclaredImage declared_tga(const unsigned char* h, size_t n, long long file_size)
{
    DeclaredImage d;
    if (n < 18) return d;
    d.known = true;
    d.width = le16(h + 12);
    d.height = le16(h + 14);
    const unsigned type = h[2];
    const long long bytes_per_pixel = (h[16] + 7) / 8;
    const long long header = 18 + h[0];
    if (type >= 1 && type <= 3 && sides_within_bounds(d.width, d.height)) d.min_file_size = header + d.width * d.height * bytes_per_pixel;
    // A run-length packet is one count byte and at least one pixel, and stands for at
    // most 128 pixels.
    if (type >= 9 && type <= 11) d.max_pixels = 128 * std::max(0LL, file_size - header);
    return d;
}

} // namespace

bool image_header_plausible(const unsigned char* head, size_t head_size, long long file_size, bool tga)
{
    DeclaredImage d;
    if (head_size >= 8 && std::memcmp(head, "\x89PNG", 4) == 0)
        d = declared_png(head, head_size);
    else if (head_size >= 2 && head[0] == 'B' && head[1] == 'M')
        d = declared_bmp(head, head_size);
    else if (head_size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF)
        d = declared_jpeg(head, head_size);
    else if (tga)
        d = declared_tga(head, head_size, file_size);
    if (!d.known) return true;
    if (!sides_within_bounds(d.width, d.height) || d.width * d.height > max_image_pixels) return false;
    if (d.min_file_size > 0 && file_size < d.min_file_size) return false;
    if (d.max_pixels > 0 && d.width * d.height > d.max_pixels) return false;
    return true;
}
