// The height map on small files (the game's own map is judged with the level in TerrainPhysicsTest).
#include "Terrain/HeightMap.h"
#include "Console.h"
#include "HostileFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
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

std::unique_ptr<HeightMap> map_of(int w, int h, const std::vector<uint16_t>& samples, TempDir& dir)
{
    auto map = std::make_unique<HeightMap>();
    printed([&] { EXPECT_EQ(map->read_hm(dir.write("m.hm", hm_file(w, h, samples)).c_str()), 0); });
    return map;
}

// A map of no samples, a directory and a raw file past the size limit (the headers a file cannot back
// are rows of the bad-input table).
TEST(HeightMapRead, MapsThatCannotBeReadAreRefusedWithAMessageNamingThem)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path / "dir.raw");
    const std::string big = dir.write("big.raw", "");
    std::filesystem::resize_file(big, 2ull * 8193 * 8193); // sparse: takes no room on the disk
    const std::pair<std::string, std::string> refused[] = { // the path, what the message says of it
        {dir.write("empty.hm", hm_file(0, 16, {})), " holds no samples"}, {dir.file("dir.raw"), ""}, {big, ""}};
    for (const auto& [path, says] : refused) {
        HeightMap map;
        const std::string err = printed([&] { EXPECT_EQ(map.readfile(path.c_str()), -1) << path; }).err;
        EXPECT_NE(err.find("the height map " + path + says), std::string::npos) << err;
        EXPECT_EQ(map.map_data, nullptr) << path;
    }
}

// A raw map is the largest square its samples fill (24 make a 4 x 4, not a 5 x 5): the samples left
// over, an odd last byte, the tag of an hm map and what follows its samples are ignored.
TEST(HeightMapRead, EndingDecidesTheForm)
{
    TempDir dir;
    std::string raw = le16_samples(ramp(24)) + "x", hm = hm_file(4, 2, ramp(8)) + "trailing";
    hm[0] = '\0';
    HeightMap map;
    for (const char* name : {"map1.raw", "map1raw", "map1.hm", "map1hm", "map1.HM", "map1.txt"}) {
        const std::string n(name);
        const bool is_raw = n.find("raw") != std::string::npos, known = is_raw || n.find("hm") != std::string::npos;
        const std::string path = dir.write(name, is_raw ? raw : hm);
        printed([&] { EXPECT_EQ(map.readfile(path.c_str()), known ? 0 : -1) << name; });
        if (known) {
            EXPECT_EQ(std::pair(map.map_w, map.map_h), std::pair(4, is_raw ? 4 : 2)) << name;
            const int last = map.map_w * map.map_h - 1;
            EXPECT_EQ(map.map_data[last], ramp(24)[last]) << name;
        }
    }
    printed([&] { EXPECT_EQ(map.readfile("hm"), -1); }); // missing; the name is shorter than four characters
    const std::string cut = dir.write("short.hm", std::string(11, '\0'));
    EXPECT_EQ(printed([&] { EXPECT_EQ(map.readfile(cut.c_str()), -1); }).err, "") << "shorter than a header: quietly";
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

TEST(HeightMapTiles, TheGameCutsASquareMapIntoFourAfterThreeHalvingsAndRefusesTooManyOrNone)
{
    EXPECT_EQ(HeightMap::game_tile_count(4096, 4096), 4u);
    EXPECT_EQ(HeightMap::game_tile_count(256, 512), 8u);
    EXPECT_EQ(HeightMap::game_tile_count(15, 4096), 0u); // no tile size at all
    TempDir dir;
    std::unique_ptr<HeightMap> map = map_of(64, 64, ramp(64 * 64), dir);
    const std::string err = printed([&] { map->create_tiles(64, 64, 1); }).err; // 4096 tiles of one sample
    EXPECT_NE(err.find("refusing to cut 4096 tiles"), std::string::npos);
    EXPECT_EQ(map->tiles, nullptr);
    EXPECT_EQ(map->phys_map, nullptr);
    printed([&] { map->create_tiles(2, 2, 0); });
    EXPECT_EQ(map->tile_cnt, 0u) << "tiles of no size";
    HeightMap none;
    printed([&] { none.create_tiles(4, 4, 2); });
    EXPECT_EQ(none.tile_cnt, 0u) << "no map";
    // 64 x 64: three rounded-down 2 x 2 halvings to 8 x 8, cut into four tiles of 4 x 4 in row-major order.
    const int side = 64;
    std::vector<uint16_t> s(side * side);
    for (int i = 0; i < side * side; ++i) s[i] = static_cast<uint16_t>((i * 7919) % 65536);
    map = map_of(side, side, s, dir);
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
    // A second read replaces the map and drops its tiles.
    printed([&] { ASSERT_EQ(map->read_raw(dir.write("b.raw", le16_samples(ramp(256))).c_str()), 0); });
    EXPECT_EQ(map->map_w, 16);
    EXPECT_EQ(map->tile_cnt, 0u);
    EXPECT_EQ(map->tiles, nullptr);
    EXPECT_EQ(map->phys_map, nullptr);
    // 20 -> 10 -> 5 -> 2: the odd 5 pairs its last column with itself, not past the map.
    std::unique_ptr<HeightMap> odd = map_of(20, 20, std::vector<uint16_t>(400, 1000), dir);
    printed([&] { odd->create_tiles(20 / 8, 20 / 8, 20 / 16); });
    EXPECT_EQ(odd->phys_map_w, 2u);
    EXPECT_EQ(odd->tile_cnt, 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(odd->phys_map[i], 1000);
}

} // namespace
