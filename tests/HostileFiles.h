// Files a careless or hostile player could put in the game directory, built byte by byte; the
// fuzzers keep them as regression seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostile {

inline void put_le(std::string& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
}

// The header of an uncompressed BMP with the 40-byte info header.
inline std::string bmp_header(uint32_t file_size, uint32_t pixel_offset, uint32_t w, uint32_t h, uint32_t bits)
{
    std::string b = "BM";
    for (uint32_t v : {file_size, 0u, pixel_offset, 40u, w, h}) put_le(b, v, 4);
    put_le(b, 1, 2); // planes
    put_le(b, bits, 2);
    for (int i = 0; i < 6; ++i) put_le(b, 0, 4); // compression, sizes, resolution, colours
    return b;
}

// A 4 KB BMP of 1000 x 4 pixels claiming 3592 bits per pixel. SDL hands it back as a
// surface of 8 bits per pixel, 193 bytes per pixel and a pitch of 0 over a 1-byte buffer.
inline std::string wave_slice_bmp_with_absurd_bit_count()
{
    std::string b = bmp_header(4096, 54, 1000, 4, 3592);
    b.resize(4096, '\x55');
    return b;
}

// An "hm" height map: the 12-byte header, then `samples`, maybe fewer than it promises.
inline std::string hm_file(uint32_t w, uint32_t h, const std::vector<uint16_t>& samples = {})
{
    std::string out;
    for (uint32_t v : {0xFAu, w, h}) put_le(out, v, 4);
    for (uint16_t v : samples) put_le(out, v, 2);
    return out;
}

// An 8-bit BMP with a grey palette: w x h pixels (row 0 at the top), rows padded to four
// bytes and stored bottom-up, as BMP files are.
inline std::string grey_bmp(int w, int h, const std::vector<uint8_t>& pixels)
{
    const int pitch = (w + 3) & ~3;
    std::string b = bmp_header(54 + 1024 + pitch * h, 54 + 1024, w, h, 8);
    for (uint32_t i = 0; i < 256; ++i) put_le(b, 0x010101u * i, 4);
    for (int y = h - 1; y >= 0; --y) {
        b.append(reinterpret_cast<const char*>(pixels.data()) + static_cast<size_t>(y) * w, w);
        b.append(pitch - w, '\0');
    }
    return b;
}

// Headers alone that once cost gigabytes or hundreds of thousands of tiles.
inline std::string hm_header_claiming_20000_square() { return hm_file(20000, 20000); }
inline std::string hm_header_claiming_16_by_2_pow_20() { return hm_file(16, 1u << 20); }

} // namespace hostile
