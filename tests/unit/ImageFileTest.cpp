// Crafted files a player could drop into the media folder are refused with the loader's message.
#include "Gfx/ImageFile.h"
#include "HostileFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::string capture_stderr_of(const std::function<void()>& f)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f();
    testing::internal::GetCapturedStdout();
    return testing::internal::GetCapturedStderr();
}

std::string grey_bmp(int w, int h, unsigned char value)
{
    return hostile::grey_bmp(w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, value));
}

TEST(ImageFile, WaveSliceWithAbsurdBitCountIsRefusedAndDoesNotSizeTheVolume)
{
    TempDir dir;
    dir.write("hm_1_von_16.bmp", hostile::wave_slice_bmp_with_absurd_bit_count());
    dir.write("hm_2_von_16.bmp", grey_bmp(8, 4, 50));
    HeightVolume v;
    bool ok = false;
    std::string err = capture_stderr_of([&] { ok = decode_wave_volume(dir.file("hm_%d_von_16.bmp").c_str(), 2, v); });
    EXPECT_NE(err.find("failed to load " + dir.file("hm_1_von_16.bmp") + "\n"), std::string::npos) << err;
    // The good second slice sizes the volume; the refused first one stays zero.
    ASSERT_TRUE(ok);
    EXPECT_TRUE(v.w == 8 && v.h == 4) << v.w << " x " << v.h;
    EXPECT_EQ(v.at(3, 2, 0), 0);
    EXPECT_EQ(v.at(3, 2, 1), 50);
}

TEST(ImageFile, TheSameFileIsRefusedAsATextureAndAsASkyStrip)
{
    TempDir dir;
    const std::string path = dir.write("crafted.bmp", hostile::wave_slice_bmp_with_absurd_bit_count());
    int w = -1, h = -1;
    unsigned char* texels = nullptr;
    std::string err = capture_stderr_of([&] { texels = decode_rgba(path.c_str(), w, h); });
    EXPECT_EQ(texels, nullptr);
    EXPECT_NE(err.find("failed to load " + path + "\n"), std::string::npos) << err;
    delete[] texels;

    CubeStrip strip;
    bool ok = true;
    err = capture_stderr_of([&] { ok = decode_cube_strip(path.c_str(), strip); });
    EXPECT_FALSE(ok);
    EXPECT_NE(err.find("failed to load " + path + "\n"), std::string::npos) << err;
    for (const auto& face : strip.faces) EXPECT_TRUE(face.empty());
}

TEST(ImageFile, AGoodGreyBmpDecodesToOpaqueGrey)
{
    TempDir dir;
    const std::string path = dir.write("g.bmp", grey_bmp(3, 2, 77));
    int w = 0, h = 0;
    unsigned char* texels = nullptr;
    capture_stderr_of([&] { texels = decode_rgba(path.c_str(), w, h); });
    ASSERT_NE(texels, nullptr);
    EXPECT_TRUE(w == 3 && h == 2) << w << " x " << h;
    EXPECT_EQ(texels[4 * 5 + 0], 77);
    EXPECT_EQ(texels[4 * 5 + 3], 255);
    delete[] texels;
}

} // namespace
