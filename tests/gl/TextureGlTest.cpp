#include "Gfx/TextureEncoding.h"
#include "HostileFiles.h"
#include "GlFixture.h"

namespace {

using Bytes = std::vector<unsigned char>;

class TextureTest : public ResourceGlTest {
protected:
    // `n` wave slices of w x h; slice s (1-based) holds heights (x * 7 + y * 3 + s * 11) mod 256.
    HeightVolume write_slices(int w, int h, int n)
    {
        HeightVolume v{w, h, n, Bytes(static_cast<size_t>(w) * h * n)};
        for (int s = 1; s <= n; ++s) {
            const auto slice = v.heights.begin() + static_cast<long>(s - 1) * w * h;
            for (int i = 0; i < w * h; ++i)
                slice[i] = static_cast<unsigned char>((i % w * 7 + i / w * 3 + s * 11) & 255);
            dir.write("hm_" + std::to_string(s) + "_von_16.bmp", hostile::grey_bmp(w, h, Bytes(slice, slice + w * h)));
        }
        return v;
    }
    std::string pattern() { return dir.file("hm_%d_von_16.bmp"); }

    // Level `level` of the bound 3-D texture, of `voxels` texels, as RGB bytes.
    static Bytes rgb_level(int level, size_t voxels)
    {
        Bytes rgb(voxels * 3);
        glGetTexImage(GL_TEXTURE_3D, level, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
};

// 4 x 2 images, so no rescaling blurs the texels: every format comes out in RGB order, mipmapped,
// also by a path with backslashes.
TEST_F(TextureTest, EveryFormatKeepsEveryTexel)
{
    const Bytes rgb = {255, 0, 0,  0, 255, 0,  0, 0, 255,  10, 20, 30,
                       40, 50, 60, 70, 80, 90, 100, 110, 120, 200, 100, 50};
    const Bytes rgba = {1, 2, 3, 4,      250, 0, 0, 255,  0, 250, 0, 128,  0, 0, 250, 0,
                        10, 20, 30, 40,  50, 60, 70, 80,  90, 100, 110, 120, 130, 140, 150, 160};
    Bytes opaque;
    for (size_t i = 0; i < rgb.size(); i += 3) opaque.insert(opaque.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    for (auto [name, alpha] : {std::pair{"s.bmp", false}, {"s.tga", false}, {"s.png", false}, {"sub/a.png", true}}) {
        SCOPED_TRACE(name);
        std::string path = write_image(name, 4, 2, alpha ? 4 : 3, alpha ? rgba : rgb);
        if (alpha) path = dir.path.string() + "\\sub\\a.png";
        Texture t(path.c_str());
        ASSERT_NE(t.id, 0u);
        glBindTexture(GL_TEXTURE_2D, t.id);
        EXPECT_EQ(read_rgba(GL_TEXTURE_2D, 4, 2), alpha ? rgba : opaque);
        EXPECT_EQ(tex_param(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        GLint env = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
        EXPECT_EQ(env, GL_REPLACE);
    }
}

TEST_F(TextureTest, CubeStripFacesLeftToRightFromPositiveX)
{
    // Six 5 x 5 faces: odd rows of 15 bytes test the upload's row alignment.
    const int f = 5;
    Bytes strip; // red tells the face, green the row, blue the column
    for (int y = 0; y < f; ++y)
        for (int x = 0; x < 6 * f; ++x)
            strip.insert(strip.end(), {uint8_t(40 * (x / f)), uint8_t(10 * y), uint8_t(10 * (x % f))});
    for (const char* name : {"sky.png", "sky.bmp"}) { // BMP's blue-first texels are not swapped
        SCOPED_TRACE(name);
        std::string path = write_image(name, 6 * f, f, 3, strip);
        Texture t;
        t.load_cubemap_strip(path.c_str());
        ASSERT_NE(t.id, 0u);
        EXPECT_EQ(t.target, static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
        glBindTexture(GL_TEXTURE_CUBE_MAP, t.id);
        for (int face = 0; face < 6; ++face) {
            Bytes px = read_rgba(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, f, f);
            for (int i = 0; i < f * f; ++i)
                ASSERT_TRUE(px[4 * i] == 40 * face && px[4 * i + 1] == 10 * (i / f) && px[4 * i + 2] == 10 * (i % f))
                    << "face " << face << " texel " << i;
        }
    }
}

TEST_F(TextureTest, SixteenBitTextureKeepsTheSamples)
{
    // One sample per row: rows of 2 bytes must not be read as 4-byte aligned.
    const uint16_t samples[4] = {100, 20000, 40000, 65535};
    Texture t;
    t.load_16bit(1, 4, samples);
    ASSERT_NE(t.id, 0u);
    glBindTexture(GL_TEXTURE_2D, t.id);
    uint16_t back[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 2);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_SHORT, back);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(back[i], samples[i]) << i;
    EXPECT_EQ(tex_param(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_BORDER);
}

TEST_F(TextureTest, WaveSixteenSlicesMakeFiveLevels)
{
    HeightVolume v = write_slices(64, 64, 16);
    Texture t;
    const std::string out = printed([&] { t.load_3d(pattern().c_str(), 16); }).out;
    ASSERT_NE(t.id, 0u);
    EXPECT_EQ(out.find("OpenGL ERROR"), std::string::npos) << out;

    glBindTexture(GL_TEXTURE_3D, t.id);
    const int sizes[5][3] = {{64, 64, 16}, {32, 32, 8}, {16, 16, 4}, {8, 8, 2}, {4, 4, 1}};
    const GLenum side[3] = {GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT, GL_TEXTURE_DEPTH};
    for (int level = 0; level < 5; ++level)
        for (int k = 0; k < 3; ++k) {
            GLint size = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_3D, level, side[k], &size);
            EXPECT_EQ(size, sizes[level][k]) << level;
        }

    // Level 0 is the encoded volume; level 2 the encoding of two down-samplings.
    EXPECT_EQ(rgb_level(0, 64 * 64 * 16), encode_gradients(v, 1, nullptr, nullptr));
    const HeightVolume level2 = downsample_volume(downsample_volume(v));
    EXPECT_EQ(rgb_level(2, 16 * 16 * 4), encode_gradients(level2, 4, nullptr, nullptr));
}

TEST_F(TextureTest, WaveMissingOrWrongSlicesLeaveZerosAndLoadingGoesOn)
{
    write_slices(8, 8, 4);
    std::filesystem::remove(dir.file("hm_3_von_16.bmp"));                // missing: the refusal of a broken slice
    write_image("hm_2_von_16.bmp", 8, 8, 3, Bytes(8 * 8 * 3, 50));       // 24-bit: refused
    dir.write("hm_4_von_16.bmp", hostile::grey_bmp(4, 4, Bytes(16, 9))); // another size: skipped
    Texture t;
    const Printed p = printed([&] { t.load_3d(pattern().c_str(), 4); });
    ASSERT_NE(t.id, 0u);
    EXPECT_NE(p.out.find("please use 8 bit per pixel images only!\n"), std::string::npos);
    EXPECT_NE(p.out.find("the dimensions of slice 4 are not the same as the dimensions of the first slice(s)\n"),
              std::string::npos);
    glBindTexture(GL_TEXTURE_3D, t.id);
    const Bytes rgb = rgb_level(0, 8 * 8 * 4);
    const size_t slice = 8 * 8 * 3;
    for (int s : {1, 2}) // slices 2 and 3 (0-based 1 and 2) are empty: flat zero
        for (size_t i = s * slice; i < (s + 1) * slice; i += 3)
            ASSERT_TRUE(rgb[i] == 0 && rgb[i + 1] == 127) << "byte " << i;
    Texture none;
    printed([&] { none.load_3d(dir.file("none_%d.bmp").c_str(), 3); });
    EXPECT_EQ(none.id, 0u) << "no slice at all";
}

} // namespace
