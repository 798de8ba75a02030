#include "Terrain/HeightMap.h"
#include "HostileFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

using hostile::hm_file;

std::string le16_samples(const std::vector<uint16_t>& s)
{
    std::string out;
    for (uint16_t v : s) hostile::put_le(out, v, 2);
    return out;
}

std::vector<uint16_t> ramp(size_t n)
{
    std::vector<uint16_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint16_t>((i * 37) & 0xFFFF);
    return v;
}

// What the map code printed on standard error while running f; its progress on standard
// output is left unread.
std::string printed(const std::function<void()>& f)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f();
    testing::internal::GetCapturedStdout();
    return testing::internal::GetCapturedStderr();
}

// A map read from an "hm" file of w x h samples.
std::unique_ptr<HeightMap> map_of(int w, int h, const std::vector<uint16_t>& samples, TempDir& dir)
{
    auto map = std::make_unique<HeightMap>();
    printed([&] { EXPECT_EQ(map->read_hm(dir.write("m.hm", hm_file(w, h, samples)).c_str()), 0); });
    return map;
}

TEST(HeightMapRead, RawMapsAreSquaresOfTheTruncatedRootExtraBytesIgnored)
{
    TempDir dir;
    HeightMap map;
    printed([&] { EXPECT_EQ(map.read_raw(dir.write("a.raw", le16_samples(ramp(1000))).c_str()), 0); });
    ASSERT_EQ(map.map_w, 31);
    EXPECT_EQ(map.map_h, 31);
    EXPECT_EQ(map.map_data[31 * 31 - 1], ramp(1000)[31 * 31 - 1]);
    // An odd byte count: the last byte is ignored (4 whole samples -> 2 x 2).
    printed([&] { EXPECT_EQ(map.read_raw(dir.write("b.raw", le16_samples(ramp(4)) + "x").c_str()), 0); });
    EXPECT_EQ(map.map_w, 2);
}

TEST(HeightMapRead, HmFormReadsHeaderAndSamplesAndIgnoresTheTag)
{
    TempDir dir;
    HeightMap map;
    std::string bytes = hm_file(4, 2, ramp(8)) + "trailing";
    bytes[0] = '\0';
    printed([&] { ASSERT_EQ(map.read_hm(dir.write("a.hm", bytes).c_str()), 0); });
    EXPECT_EQ(map.map_w, 4);
    EXPECT_EQ(map.map_h, 2);
    EXPECT_EQ(map.map_data[7], ramp(8)[7]);

    std::string path = dir.write("short.hm", std::string(11, '\0'));
    const std::string err = printed([&] { EXPECT_EQ(map.readfile(path.c_str()), -1); });
    EXPECT_EQ(err, "") << "shorter than its header: refused quietly";
}

TEST(HeightMapRead, HeadersTheFileCannotBackAreRefusedWithAMessageNamingIt)
{
    struct Case {
        const char* what;
        const char* name;
        std::string bytes;
        const char* says; // part of the message on standard error
    } cases[] = {
        {"fewer samples than the header promises", "short.hm", hm_file(4, 4, {100, 200, 300}), "is cut short"},
        {"a dozen bytes claiming 20000 x 20000", "huge.hm", hostile::hm_header_claiming_20000_square(), "is too large"},
        {"16 x 8192 samples, all there: 2048 tiles", "strip.hm", hm_file(16, 8192, std::vector<uint16_t>(16 * 8192)),
         "cannot be cut into tiles"},
        {"no samples across", "empty.hm", hm_file(0, 16, {}), "holds no samples"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        HeightMap map;
        const std::string path = dir.write(c.name, c.bytes);
        const std::string err = printed([&] { EXPECT_EQ(map.readfile(path.c_str()), -1) << c.what; });
        EXPECT_NE(err.find("the height map " + path + " " + c.says), std::string::npos) << c.what << ": " << err;
        EXPECT_EQ(map.map_data, nullptr) << c.what;
    }
}

TEST(HeightMapRead, RawMapsTooLargeOrNotAFileAreRefused)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path / "dir.raw");
    const std::string big = dir.write("big.raw", "");
    std::filesystem::resize_file(big, 2ull * 8193 * 8193); // sparse: takes no room on the disk
    for (const std::string& path : {dir.file("dir.raw"), big}) {
        HeightMap map;
        const std::string err = printed([&] { EXPECT_EQ(map.readfile(path.c_str()), -1) << path; });
        EXPECT_NE(err.find("the height map " + path), std::string::npos) << path;
        EXPECT_EQ(map.map_data, nullptr);
    }
}

TEST(HeightMapRead, EndingDecidesTheForm)
{
    TempDir dir;
    std::string raw = le16_samples(ramp(16)), hm = hm_file(2, 2, ramp(4));
    HeightMap map;
    for (const char* name : {"map1.raw", "map1raw", "map1.hm", "map1hm", "map1.HM", "map1.txt"}) {
        const std::string n(name);
        const bool is_raw = n.find("raw") != std::string::npos, known = is_raw || n.find("hm") != std::string::npos;
        const std::string path = dir.write(name, is_raw ? raw : hm);
        printed([&] { EXPECT_EQ(map.readfile(path.c_str()), known ? 0 : -1) << name; });
        if (known) {
            EXPECT_EQ(map.map_w, is_raw ? 4 : 2) << name;
        }
    }
    printed([&] { EXPECT_EQ(map.readfile("hm"), -1); }); // missing; the name is shorter than four characters
}

TEST(HeightMapRead, SecondReadReplacesFirstMapAndItsTiles)
{
    TempDir dir;
    std::unique_ptr<HeightMap> map = map_of(32, 32, ramp(32 * 32), dir);
    printed([&] { map->create_tiles(4, 4, 2); });
    ASSERT_EQ(map->tile_cnt, 4u);
    printed([&] { ASSERT_EQ(map->read_raw(dir.write("b.raw", le16_samples(ramp(256))).c_str()), 0); });
    EXPECT_EQ(map->map_w, 16);
    EXPECT_EQ(map->tile_cnt, 0u);
    EXPECT_EQ(map->tiles, nullptr);
    EXPECT_EQ(map->phys_map, nullptr);
}

// Both forms round-trip; the raw writer gives any other name the ending ".raw".
TEST(HeightMapWrite, BothFormsRoundTripTheHmFormWithItsTagTheRawOneUnderItsEnding)
{
    TempDir dir;
    std::unique_ptr<HeightMap> map = map_of(3, 3, ramp(9), dir);
    HeightMap hm, raw;
    printed([&] {
        ASSERT_EQ(map->write_hm(dir.file("out.hm").c_str()), 0);
        ASSERT_EQ(hm.read_hm(dir.file("out.hm").c_str()), 0);
        ASSERT_EQ(map->write_raw(dir.file("map1.hm").c_str()), 0);
        ASSERT_EQ(map->write_raw(dir.file("a.raw").c_str()), 0);
        ASSERT_EQ(raw.read_raw(dir.file("map1.raw").c_str()), 0);
    });
    EXPECT_EQ(hm.map_w, 3);
    EXPECT_EQ(std::memcmp(hm.map_data, map->map_data, 18), 0);
    char tag[2] = {};
    std::ifstream(dir.file("out.hm"), std::ios::binary).read(tag, 2);
    EXPECT_EQ(std::string(tag, 2), std::string("\xFA\x00", 2));
    EXPECT_FALSE(std::filesystem::exists(dir.file("map1.hm")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("a.raw")));
    EXPECT_EQ(std::memcmp(raw.map_data, map->map_data, 18), 0);
    EXPECT_EQ(map->write_hm("/nonexistent-dir/x.hm"), -1);
    EXPECT_EQ(map->write_raw("/nonexistent-dir/x.raw"), -1);
}

TEST(HeightMapTiles, TheGameCutsASquareMapIntoFourAndRefusesTooManyOrNone)
{
    EXPECT_EQ(HeightMap::game_tile_count(4096, 4096), 4u);
    EXPECT_EQ(HeightMap::game_tile_count(256, 512), 8u);
    EXPECT_EQ(HeightMap::game_tile_count(15, 4096), 0u); // no tile size at all

    TempDir dir;
    std::unique_ptr<HeightMap> map = map_of(64, 64, ramp(64 * 64), dir);
    const std::string err = printed([&] { map->create_tiles(64, 64, 1); }); // 4096 tiles of one sample
    EXPECT_NE(err.find("refusing to cut 4096 tiles"), std::string::npos);
    EXPECT_EQ(map->tiles, nullptr);
    EXPECT_EQ(map->phys_map, nullptr);
    printed([&] { map->create_tiles(2, 2, 0); });
    EXPECT_EQ(map->tile_cnt, 0u) << "tiles of no size";
    HeightMap none;
    printed([&] { none.create_tiles(4, 4, 2); });
    EXPECT_EQ(none.tile_cnt, 0u) << "no map";
}

// A 64 x 64 map: a physics map of 8 x 8 after three rounded-down 2 x 2 halvings, cut into
// four tiles of 4 x 4 in row-major order.
TEST(HeightMapTiles, PhysicsMapIsThreeHalvingsCutIntoFourTilesInRowMajorOrder)
{
    TempDir dir;
    const int side = 64;
    std::vector<uint16_t> s(side * side);
    for (int i = 0; i < side * side; ++i) s[i] = static_cast<uint16_t>((i * 7919) % 65536);
    std::unique_ptr<HeightMap> map = map_of(side, side, s, dir);
    printed([&] { map->create_tiles(side / 8, side / 8, side / 16); });
    std::vector<int> level(s.begin(), s.end());
    for (int w = side / 2; w >= 8; w /= 2) {
        std::vector<int> next(w * w);
        for (int i = 0; i < w * w; ++i) {
            const int at = 2 * (i / w) * 2 * w + 2 * (i % w);
            next[i] = (level[at] + level[at + 1] + level[at + 2 * w] + level[at + 2 * w + 1]) >> 2;
        }
        level = next;
    }
    ASSERT_EQ(map->phys_map_w, 8u);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(map->phys_map[i], level[i]) << i;
    ASSERT_EQ(map->tile_cnt, 4u);
    for (uint32_t t = 0; t < 4; ++t) {
        uint32_t ox = (t % 2) * 4, oy = (t / 2) * 4;
        for (uint32_t r = 0; r < 4; ++r)
            for (uint32_t c = 0; c < 4; ++c) EXPECT_EQ(map->tiles[t][r * 4 + c], map->phys_map[(oy + r) * 8 + ox + c]);
    }
    EXPECT_TRUE(map->phys_inside(7, 7));
    EXPECT_FALSE(map->phys_inside(8, 0));
    EXPECT_FALSE(map->phys_inside(0, -1));
}

// 20 -> 10 -> 5 -> 2: the odd 5 pairs its last column with itself.
TEST(HeightMapTiles, OddSizeDoesNotReadPastTheMap)
{
    TempDir dir;
    std::unique_ptr<HeightMap> map = map_of(20, 20, std::vector<uint16_t>(400, 1000), dir);
    printed([&] { map->create_tiles(20 / 8, 20 / 8, 20 / 16); });
    EXPECT_EQ(map->phys_map_w, 2u);
    EXPECT_EQ(map->tile_cnt, 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(map->phys_map[i], 1000);
}

TEST(HeightMapSmooth, KernelWeightsAndInPlaceOrder)
{
    TempDir dir;
    std::unique_ptr<HeightMap> map = map_of(3, 3, {0, 0, 0, 0, 160, 0, 0, 0, 0}, dir); // one peak
    map->smooth();
    // (0,0) meets the peak only as its lower-right neighbour, weight 1: 160 / 16.
    EXPECT_EQ(map->map_data[0], 10);
    // (1,0) sees the peak below it (weight 2) and the already smoothed (0,0) = 10 twice, as
    // its upper-left (clamped, weight 1) and left (weight 2) neighbour: (320 + 30) / 16.
    EXPECT_EQ(map->map_data[1], 21);
    std::unique_ptr<HeightMap> flat = map_of(4, 4, std::vector<uint16_t>(16, 500), dir);
    flat->smooth();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(flat->map_data[i], 500) << "a flat map stays flat";
}

} // namespace
