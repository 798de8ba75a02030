// Pixels, cube strips, wave volumes and image headers as the texture loaders take them, and
// the crafted files a player could drop into the media folder, refused with the loader's message.
#include "Console.h"
#include "Gfx/ImageFile.h"
#include "Gfx/TextureEncoding.h"
#include "HostileFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(PixelConversion, EveryDepthBecomesRgbaBlueFirstOnlyForBmpAndTga)
{
    // The comparison is exact (".Bmp" is not one), and "tga" is too short to have the extension.
    for (auto [name, bgr] : {std::pair<const char*, bool>{".\\media\\waveanim\\x.BMP", true}, {"a.tga", true},
                             {"a.png", false}, {"a.Bmp", false}, {"tga", false}, {nullptr, false}})
        EXPECT_EQ(stores_bgr(name), bgr) << (name ? name : "no name");

    struct Case { const char* what; Bytes src; int w, h, pitch, bytes; bool bgr; Bytes rgba; } cases[] = {
        {"a TGA's three bytes swap", {10, 20, 30, 40, 50, 60}, 2, 1, 6, 3, true, {30, 20, 10, 255, 60, 50, 40, 255}},
        {"rows start at the pitch", {1, 2, 3, 99, 4, 5, 6, 99}, 1, 2, 4, 3, false, {1, 2, 3, 255, 4, 5, 6, 255}},
        {"one byte is opaque grey", {0, 77, 255, 0}, 3, 1, 4, 1, false,
         {0, 0, 0, 255, 77, 77, 77, 255, 255, 255, 255, 255}},
        {"four bytes swap like three and keep their alpha", {10, 20, 30, 40}, 1, 1, 4, 4, true, {30, 20, 10, 40}},
    };
    for (const Case& c : cases) {
        Bytes out(c.rgba.size());
        ASSERT_TRUE(convert_to_rgba(c.src.data(), c.w, c.h, c.pitch, c.bytes, c.bgr, out.data())) << c.what;
        EXPECT_EQ(out, c.rgba) << c.what;
    }
}

HeightVolume volume(int w, int h, int d, unsigned char fill = 0)
{
    return HeightVolume{w, h, d, std::vector<unsigned char>(static_cast<size_t>(w) * h * d, fill)};
}

unsigned char& at(HeightVolume& v, int x, int y, int z)
{
    return v.heights[(static_cast<size_t>(z) * v.h + y) * v.w + x];
}

// Red holds the height, green and blue the x and y gradients around 127.
TEST(GradientEncoding, NeighboursWrapInXAndInYWithinTheirOwnSlice)
{
    HeightVolume v = volume(8, 4, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) at(v, x, y, 0) = static_cast<unsigned char>(10 * x);
    int lo = 0, hi = 0;
    std::vector<unsigned char> rgb = encode_gradients(v, 1, &lo, &hi);
    ASSERT_EQ(rgb.size(), 8u * 4 * 3);
    EXPECT_EQ(rgb[3 * 3], 30);
    EXPECT_EQ(rgb[1], 112);         // x = 0: its left neighbour is x = 7: 10 - 70 = -60 -> 450 / 4
    EXPECT_EQ(rgb[3 * 3 + 1], 132); // x = 3: 40 - 20 = 20 -> 530 / 4
    EXPECT_EQ(rgb[7 * 3 + 1], 112); // x = 7: wraps right to x = 0: 0 - 60
    EXPECT_EQ(rgb[3 * 3 + 2], 127); // no change along y
    EXPECT_EQ(lo, -60);
    EXPECT_EQ(hi, 20);

    HeightVolume w = volume(4, 4, 2);
    at(w, 1, 3, 0) = 200; // the row above y = 0 (wrapped), slice 0 only
    at(w, 1, 1, 1) = 100; // slice 1 must not leak into slice 0
    rgb = encode_gradients(w, 1, nullptr, nullptr);
    auto blue = [&](int x, int y, int z) { return rgb[((static_cast<size_t>(z) * 4 + y) * 4 + x) * 3 + 2]; };
    EXPECT_EQ(blue(1, 0, 0), 77);  // height(1, 1) - height(1, 3) = -200 -> 310 / 4
    EXPECT_EQ(blue(1, 2, 0), 177); // height(1, 3) - height(1, 1) = 200 -> 710 / 4
    EXPECT_EQ(blue(1, 0, 1), 152); // 100 - 0
    EXPECT_EQ(blue(1, 2, 1), 102); // 0 - 100
}

// The weight that one voxel of 66 in an empty 4x4x4 volume gives the first output voxel.
int weight_of(int x, int y, int z)
{
    HeightVolume v = volume(4, 4, 4);
    at(v, x, y, z) = 66;
    return downsample_volume(v).heights[0];
}

// The weights of the centre, a face, an edge and a corner sum to 66: a flat volume stays flat
// while it halves down to one voxel, never below one.
TEST(Downsampling, WeightsWrapInAllThreeDimensionsAndTheVolumeHalvesDownToOneVoxel)
{
    const int cases[][4] = {
        {0, 0, 0, 10}, {1, 0, 0, 4}, {1, 1, 0, 2}, {1, 1, 1, 1}, {2, 0, 0, 0}, // two steps away: nothing
        {3, 0, 0, 4}, {0, 3, 0, 4}, {0, 0, 3, 4}, {3, 3, 3, 1}, // -1 wraps to 3
    };
    for (const auto& c : cases) EXPECT_EQ(weight_of(c[0], c[1], c[2]), c[3]) << c[0] << ", " << c[1] << ", " << c[2];
    // In a single slice both z neighbours wrap onto the slice itself: 10 + 4 + 4.
    HeightVolume flat = volume(2, 2, 1);
    at(flat, 0, 0, 0) = 66;
    EXPECT_EQ(downsample_volume(flat).heights[0], 18);
    // The average truncates: all ones but the centre give (66 - 10) / 66 = 0.
    HeightVolume ones = volume(4, 4, 4, 1);
    at(ones, 0, 0, 0) = 0;
    EXPECT_EQ(downsample_volume(ones).heights[0], 0);

    HeightVolume v = volume(64, 64, 16, 50);
    for (auto [w, h, d] : {std::array{32, 32, 8}, {16, 16, 4}, {8, 8, 2}, {4, 4, 1}, {2, 2, 1}, {1, 1, 1}, {1, 1, 1}}) {
        v = downsample_volume(v);
        EXPECT_TRUE(v.w == w && v.h == h && v.d == d) << v.w << " x " << v.h << " x " << v.d;
        ASSERT_EQ(v.heights, std::vector<unsigned char>(static_cast<size_t>(w) * h * d, 50));
    }
}

const unsigned char kPixels[64] = {};

TEST(UntrustedRows, OnlyRowsWhosePixelsFitThePitchAreReadableOrCopied)
{
    using Case = std::tuple<const char*, int, int, int, int, int, bool>; // width, height, pitch, bits, bytes
    for (auto [what, width, height, pitch, bits, bytes, readable] :
         {Case{"RGB rows exactly as wide as the pitch", 2, 2, 6, 24, 3, true},
          {"RGB pitch one byte short", 2, 1, 5, 24, 3, false},
          {"absurd bit count: 8 bits, 193 bytes, pitch 0", 1000, 4, 0, 8, 193, false},
          {"16 bits in one byte", 1, 1, 4, 16, 1, false}, {"no pixels across", 0, 2, 4, 8, 1, false}})
        EXPECT_EQ(rows_readable(ImageRows{kPixels, width, height, pitch, bits, bytes}), readable) << what;
    EXPECT_FALSE(rows_readable(ImageRows{nullptr, 1, 1, 1, 8, 1})) << "no pixel buffer";

    // The copies refuse a pitch too small for their rows.
    unsigned char out[16] = {7};
    EXPECT_FALSE(convert_to_rgba(kPixels, 2, 1, 5, 3, false, out));
    EXPECT_FALSE(convert_to_rgba(kPixels, 2, 1, 8, 2, false, out)) << "two bytes a pixel";
    EXPECT_EQ(out[0], 7);

    // A strip whose rows hold five faces, not six.
    FaceSize f{2, 2};
    EXPECT_FALSE(cut_cube_face(kPixels, 10, 1, f, 4).empty());
    EXPECT_TRUE(cut_cube_face(kPixels, 10, 1, f, 5).empty());
    EXPECT_TRUE(cut_cube_face(kPixels, 12, 1, f, 6).empty());

    HeightVolume v = volume(4, 2, 2, 9);
    ImageRows rows{kPixels, 4, 2, 4, 8, 1};
    EXPECT_TRUE(copy_wave_slice(rows, v, 1));
    EXPECT_EQ(v.heights[8], 0);
    EXPECT_EQ(v.heights[0], 9);
    rows.pitch = 0;
    EXPECT_FALSE(copy_wave_slice(rows, v, 0)) << "pitch 0";
    rows.pitch = 4;
    EXPECT_FALSE(copy_wave_slice(rows, v, 2)) << "slice beyond the volume";
    rows.width = 2;
    rows.pitch = 2;
    EXPECT_FALSE(copy_wave_slice(rows, v, 0)) << "another width";
    EXPECT_EQ(v.heights[0], 9);
}

// n bytes of v at `at`, little-endian unless `big`.
void put(Bytes& b, size_t at, unsigned v, int n, bool big = false)
{
    for (int i = 0; i < n; ++i) b[at + i] = (v >> (8 * (big ? n - 1 - i : i))) & 0xFF;
}

// An 18-byte TGA header of `type` (2 truecolour, 10 run-length) and 24 bits.
Bytes tga(unsigned type, unsigned w, unsigned h)
{
    Bytes b(18, 0);
    b[2] = type;
    put(b, 12, w, 2);
    put(b, 14, h, 2);
    b[16] = 24;
    return b;
}

Bytes bmp(int w, int h, unsigned bits)
{
    const std::string b = hostile::bmp_header(0, 54, uint32_t(w), uint32_t(h), bits);
    return Bytes(b.begin(), b.end());
}

Bytes png(unsigned w, unsigned h)
{
    Bytes b = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    b.resize(33, 0);
    put(b, 16, w, 4, true);
    put(b, 20, h, 4, true);
    return b;
}

// A JPEG with one application segment before its baseline frame header.
Bytes jpeg(unsigned w, unsigned h)
{
    Bytes b = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC0, 0, 11, 8, 0, 0, 0, 0};
    put(b, 13, h, 2, true);
    put(b, 15, w, 2, true);
    return b;
}

TEST(ImageHeaders, PicturesTheFileCannotHoldAreRefusedBeforeDecoding)
{
    // The head, the file's size (-1: the head's own length), whether it is named as a TGA, and the verdict.
    using Case = std::tuple<const char*, Bytes, long long, bool, bool>;
    const Case cases[] = {
        {"run-length TGA within 128 pixels a byte", tga(10, 64, 64), 18 + 64, true, true},
        {"run-length TGA one packet byte short", tga(10, 128, 2), 18 + 1, true, false},
        {"uncompressed TGA shorter than its pixels", tga(2, 16, 16), 18 + 16 * 16 * 3 - 1, true, false},
        {"uncompressed TGA holding its pixels", tga(2, 16, 16), 18 + 16 * 16 * 3, true, true},
        {"TGA header under another name is left to the decoder", tga(10, 4096, 4096), 31, false, true},
        {"BMP claiming 3592 bits a pixel", bmp(1000, 4, 3592), 4096, false, false},
        {"BMP holding its rows", bmp(5, 2, 24), 54 + 2 * 16, false, true},
        {"BMP of 2^31 - 1 square at 65535 bits (no overflow in the sizes)", bmp(0x7fffffff, 0x7fffffff, 65535), 64, false, false},
        {"BMP one byte short of its rows", bmp(5, 2, 24), 54 + 2 * 16 - 1, false, false},
        {"top-down BMP counts its rows from the magnitude", bmp(5, -2, 24), 54 + 2 * 16, false, true},
        {"PNG of 20000 x 10", png(20000, 10), -1, false, false},
        {"PNG of 8192 x 8192 (64 Mi pixels)", png(8192, 8192), -1, false, true},
        {"PNG of 8192 x 8193", png(8192, 8193), -1, false, false},
        {"JPEG of 512 x 3072", jpeg(512, 3072), -1, false, true},
        {"JPEG of 65535 x 65535", jpeg(65535, 65535), -1, false, false},
        {"unknown format", Bytes{'G', 'I', 'F', '8'}, -1, false, true},
        {"truncated PNG header", Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}, -1, false, true},
    };
    for (const auto& [what, head, file_size, is_tga, plausible] : cases) {
        const long long size = file_size < 0 ? (long long)head.size() : file_size;
        EXPECT_EQ(image_header_plausible(head.data(), head.size(), size, is_tga), plausible) << what;
    }
}

TEST(ImageFile, WaveSliceWithAbsurdBitCountIsRefusedAndDoesNotSizeTheVolume)
{
    TempDir dir;
    dir.write("hm_1_von_16.bmp", hostile::wave_slice_bmp_with_absurd_bit_count());
    dir.write("hm_2_von_16.bmp", hostile::grey_bmp(8, 4, std::vector<uint8_t>(8 * 4, 50)));
    HeightVolume v;
    bool ok = false;
    printed([&] { ok = decode_wave_volume(dir.file("hm_%d_von_16.bmp").c_str(), 2, v); });
    // The good second slice sizes the volume; the refused first one stays zero.
    ASSERT_TRUE(ok);
    EXPECT_TRUE(v.w == 8 && v.h == 4) << v.w << " x " << v.h;
    EXPECT_EQ(v.at(3, 2, 0), 0);
    EXPECT_EQ(v.at(3, 2, 1), 50);
}

} // namespace
