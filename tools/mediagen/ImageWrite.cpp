#include "ImageWrite.h"

#include "Output.h"

#include <stb_image_write.h>

namespace {

void append(void* context, void* data, int size)
{
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    const auto* p = static_cast<const uint8_t*>(data);
    bytes->insert(bytes->end(), p, p + size);
}

void put_u16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put_u32(std::vector<uint8_t>& b, uint32_t v)
{
    put_u16(b, v & 0xFFFFu);
    put_u16(b, v >> 16);
}

bool valid(const Image& img)
{
    return img.w > 0 && img.h > 0 && img.channels >= 1 && img.channels <= 4 &&
           img.pixels.size() == size_t(img.w) * img.h * img.channels;
}

} // namespace

std::vector<uint8_t> encode_jpg(const Image& img, int quality)
{
    std::vector<uint8_t> bytes;
    if (valid(img) && img.channels != 2 && img.channels != 4)
        stbi_write_jpg_to_func(append, &bytes, img.w, img.h, img.channels, img.pixels.data(), quality);
    return bytes;
}

std::vector<uint8_t> encode_png(const Image& img)
{
    std::vector<uint8_t> bytes;
    if (valid(img))
        stbi_write_png_to_func(append, &bytes, img.w, img.h, img.channels, img.pixels.data(),
                               img.w * img.channels);
    return bytes;
}

std::vector<uint8_t> encode_bmp8(const Image& img)
{
    std::vector<uint8_t> b;
    if (!valid(img) || img.channels != 1) return b;
    const uint32_t stride = (uint32_t(img.w) + 3u) & ~3u;
    const uint32_t palette = 256 * 4;
    const uint32_t offset = 14 + 40 + palette;
    const uint32_t image_size = stride * uint32_t(img.h);
    // BITMAPFILEHEADER
    b.push_back('B');
    b.push_back('M');
    put_u32(b, offset + image_size);
    put_u32(b, 0);
    put_u32(b, offset);
    // BITMAPINFOHEADER: 8 bits per pixel, uncompressed, 256 palette entries
    put_u32(b, 40);
    put_u32(b, uint32_t(img.w));
    put_u32(b, uint32_t(img.h)); // positive: rows stored bottom-up
    put_u16(b, 1);
    put_u16(b, 8);
    put_u32(b, 0);
    put_u32(b, image_size);
    put_u32(b, 2835); // 72 dpi
    put_u32(b, 2835);
    put_u32(b, 256);
    put_u32(b, 256);
    for (uint32_t i = 0; i < 256; ++i) {
        b.push_back(uint8_t(i));
        b.push_back(uint8_t(i));
        b.push_back(uint8_t(i));
        b.push_back(0);
    }
    for (int y = img.h - 1; y >= 0; --y) {
        const uint8_t* row = img.at(0, y);
        b.insert(b.end(), row, row + img.w);
        b.insert(b.end(), stride - uint32_t(img.w), 0);
    }
    return b;
}

static bool write_encoded(Output& out, const std::string& rel, const std::vector<uint8_t>& bytes)
{
    if (bytes.empty()) {
        out.fail("cannot encode " + rel);
        return false;
    }
    return out.write(rel, bytes);
}

bool write_jpg(Output& out, const std::string& rel, const Image& img, int quality)
{
    return write_encoded(out, rel, encode_jpg(img, quality));
}

bool write_png(Output& out, const std::string& rel, const Image& img)
{
    return write_encoded(out, rel, encode_png(img));
}

bool write_bmp8(Output& out, const std::string& rel, const Image& img)
{
    return write_encoded(out, rel, encode_bmp8(img));
}
