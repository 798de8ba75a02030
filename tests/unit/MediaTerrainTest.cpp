// The generated landscape as the game loads and tiles it, checked where the level puts things
// (ducks on open water, vehicles above drivable ground) and under the five bridges.
#include "Common/ParameterFile.h"
#include "GameDir.h"
#include "Terrain/HeightMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace {

// A game path such as ".\media\map\map1.hm" inside the built game directory.
std::string in_game_dir(std::string path)
{
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.rfind("./", 0) == 0) path.erase(0, 2);
    return game_file(path);
}

class MediaTerrain : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        map_name = ParameterFile(in_game_dir(".\\config\\map\\map1.p")).getString("filename");
        map_path = in_game_dir(map_name);
        hm = new HeightMap;
        load_status = hm->readfile(map_path.c_str());
        if (load_status != 0) return;
        hm->create_tiles(unsigned(hm->map_w / 8), unsigned(hm->map_h / 8), unsigned(hm->map_w / 16));

        // Physics height per sample, from the graphics keys that fix the vertical scale.
        ParameterFile gfx(in_game_dir(".\\config\\gfx.p"));
        const double minfact = gfx.getFloat("phys_minfact");
        const double y_scale = gfx.getFloat("y_pgmland_scale");
        const double Wh = hm->map_w;
        const double pgm0 = 1.0 / (Wh * minfact), pgm1 = Wh * y_scale * minfact;
        const double gfx_x = (1.0 / pgm0) / hm->map_w * double(hm->map_w / int(hm->phys_map_w));
        const double gfx_y = pgm1 * (1.0 / 65535.0);
        danger_y = gfx_y / gfx_x;
        water = 0.25 * 65535.0 * danger_y;
    }
    static void TearDownTestSuite() { delete hm; }

    void SetUp() override { ASSERT_EQ(load_status, 0) << "cannot load " << map_path; }

    // Ground height (physics units) at a physics position, as the game samples it.
    static double ground(double x, double z)
    {
        long ix = long(x), iz = long(z);
        if (!hm->phys_inside(ix, iz)) return 0.0;
        return hm->phys_at(ix, iz) * danger_y;
    }
    // 1 - |normal.y| of the game's terrain normal at an integer position.
    static double steepness(double x, double z)
    {
        long ix = long(x), iz = long(z);
        auto h = [](long a, long b) {
            a = std::max(0L, std::min(a, long(hm->phys_map_w) - 1));
            b = std::max(0L, std::min(b, long(hm->phys_map_h) - 1));
            return hm->phys_at(a, b) * danger_y;
        };
        double dx = h(ix + 1, iz) - h(ix - 1, iz), dz = h(ix, iz + 1) - h(ix, iz - 1);
        return 1.0 - 1.0 / std::sqrt(dx * dx + 1.0 + dz * dz);
    }

    static inline HeightMap* hm = nullptr;
    static inline std::string map_name, map_path;
    static inline int load_status = -1;
    static inline double danger_y = 0, water = 0;
};

// Ground a vehicle may be dropped onto: at most this steep (about 24 degrees).
constexpr double kDrivable = 0.25;

TEST_F(MediaTerrain, MapIsAFullSizeHmFileTiledIntoFourPhysicsTiles)
{
    EXPECT_EQ(map_name.substr(map_name.size() - 3), ".hm");
    EXPECT_EQ(hm->map_w, 4096);
    EXPECT_EQ(hm->map_h, 4096);
    EXPECT_EQ(hm->tile_cnt, 4u);
    EXPECT_EQ(std::filesystem::file_size(map_path), 12u + 2u * 4096 * 4096) << "the samples must fill the map exactly";
    // The demo flight's path is the other file the game opens by a fixed name.
    EXPECT_GT(std::filesystem::file_size(in_game_dir(".\\media\\camera_path.txt")), 0u);
}

TEST_F(MediaTerrain, WaterLiesAtTwentyAndCoversAboutAThird)
{
    EXPECT_NEAR(water, 20.0, 0.01) << "phys_minfact / y_pgmland_scale moved the water level";
    size_t wet = 0, n = size_t(hm->phys_map_w) * hm->phys_map_h;
    for (size_t i = 0; i < n; ++i) wet += hm->phys_map[i] * danger_y < water;
    EXPECT_TRUE(wet > n / 4 && wet < n * 42 / 100) << double(wet) / double(n) << " of the map under water";
}

TEST_F(MediaTerrain, DucksFloatOnOpenWater)
{
    for (double x : {102.0, 136.0}) {
        for (double dx = -3.0; dx <= 3.0; dx += 1.0)
            for (double dz = -3.0; dz <= 3.0; dz += 1.0)
                EXPECT_LT(ground(x + dx, 294.5 + dz), water - 1.0) << "near the duck at x=" << x;
    }
}

TEST_F(MediaTerrain, PlayerAndOpponentsStartAboveLowDrivableGround)
{
    for (const auto& [x, z] : {std::pair{50.0, 50.0}, {0.0, 120.0}, {20.0, 120.0}, {40.0, 120.0}, {60.0, 120.0},
                               {80.0, 120.0}}) {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(z));
        EXPECT_LT(ground(x, z), 35.0 - 2.0) << "buried";
        EXPECT_GT(ground(x, z), water - 2.0) << "deep in water";
        EXPECT_LT(steepness(x, z), kDrivable);
    }
}

TEST_F(MediaTerrain, ShipFliesAboveTheGround)
{
    for (double dx = -10.0; dx <= 10.0; dx += 2.0)
        for (double dz = -10.0; dz <= 10.0; dz += 2.0) EXPECT_LT(ground(100 + dx, 100 + dz), 55.0 - 5.0);
}

// The six places on the restart circle where a new game sets the vehicles down.
TEST_F(MediaTerrain, RestartPlacesLieOnDrivableLand)
{
    for (int i = 0; i < 6; ++i) {
        double a = i * 2.0 * M_PI / 6.0;
        double x = 256.0 + 128.0 * std::cos(a), z = 256.0 + 128.0 * std::sin(a);
        EXPECT_GE(ground(x, z), water) << "restart place " << i;
        EXPECT_LT(steepness(x, z), kDrivable) << "restart place " << i;
    }
}

TEST_F(MediaTerrain, EveryBridgeSpansAGapBetweenFirmBanks)
{
    int ravines = 0, waters = 0;
    for (const char* file : {"config\\objects\\bridge.p", "config\\objects\\bridge3.p", "config\\objects\\bridge4.p",
                             "config\\objects\\bridge5.p", "config\\objects\\bridge6.p"}) {
        SCOPED_TRACE(file);
        ParameterFile p(in_game_dir(file));
        const double step = p.getFloat("step_size"), plank_x = p.getFloat("dyn_boxSize_X");
        const double z = p.getFloat("bridge_pos_Z");
        ASSERT_GE(p.getInt("bridge_elements"), 3);
        EXPECT_GT(step, 2.0 * plank_x) << "planks would overlap";
        EXPECT_LT(step, 2.0 * plank_x + 0.6) << "gaps between planks";
        // Elements stand at pos_X + (i + 1) * step, i = 0..last; the two ends are fixed boxes.
        const double first = p.getFloat("bridge_pos_X") + step, last = first + p.getInt("bridge_elements") * step;
        EXPECT_GE(last - first, 18.0);
        EXPECT_LE(last - first, 45.0);
        const double deck = p.getFloat("bridge_pos_Y") - p.getFloat("sta_boxSize_Y"); // where the end boxes rest
        EXPECT_GT(deck, water + 2.0) << "a bridge must clear the water";
        for (double dz = -2.0; dz <= 2.0; dz += 1.0) {
            EXPECT_NEAR(ground(first, z + dz), deck, 1.5) << "west bank";
            EXPECT_NEAR(ground(last, z + dz), deck, 1.5) << "east bank";
        }
        // Between the banks: open water, or a ravine far below the deck.
        int open = 0, n = 0, wet = 0;
        for (double x = first + 4.0; x <= last - 4.0; x += 1.0) {
            double g = ground(x, z);
            wet += g < water;
            open += g < water || g < deck - 10.0;
            ++n;
        }
        EXPECT_GE(open, n * 8 / 10) << "the bridge crosses no gap";
        (wet > n / 2 ? waters : ravines) += 1;
    }
    EXPECT_GE(waters, 1);
    EXPECT_GE(ravines, 1);
}

} // namespace
