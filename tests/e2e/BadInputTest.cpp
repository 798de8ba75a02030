// The bad-input table: files a careless or hostile player leaves in the game directory, each
// refused with its message and exit status, never a crash and never a sanitizer's report.
// The README's table of bad inputs lists the same rows.
#include "HostileFiles.h"
#include "TempDir.h"
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

void write_bytes(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// The game's file at `relative` replaced by `bytes`.
Prepare replace(const char* relative, const std::string& bytes)
{
    return [=](const fs::path& d) { write_bytes(own_game_file(d, relative), bytes); };
}

// `key` of the parameter file `file` (under config/) set to `value`.
Prepare setting(const std::string& file, const std::string& key, const std::string& value)
{
    return [=](const fs::path& d) { set_key(d / "config" / file, key, value); };
}

// `key` removed from the parameter file `file` (under config/).
Prepare without(const std::string& file, const std::string& key)
{
    return [=](const fs::path& d) { remove_key(d / "config" / file, key); };
}

// `key` of the model's instance file `relative` (under media/) set to `value`.
Prepare model_setting(const char* relative, const char* key, const char* value)
{
    return [=](const fs::path& d) {
        const std::string original = read_file(fs::canonical(d / relative));
        const fs::path own = own_game_file(d, relative);
        write_bytes(own, original);
        set_key(own, key, value);
    };
}

// A named pipe (FIFO) at `relative`, the game's own file there removed first: nobody
// writes into it, so a reader that waited on it would wait for ever.
Prepare fifo_at(const char* relative)
{
    return [=](const fs::path& d) {
        const fs::path at = std::string(relative).rfind("media/", 0) == 0 ? own_game_file(d, relative) : d / relative;
        mkfifo(at.c_str(), 0600);
    };
}

// The height map named by config/map/map1.p replaced by `bytes`.
Prepare map_of(const std::string& bytes)
{
    return [=](const fs::path& d) {
        write_bytes(d / "bad.hm", bytes);
        write_bytes(d / "config" / "map" / "map1.p", "filename=.\\bad.hm\n");
    };
}

struct BadInput {
    std::string name;  // the test's name
    std::string file;  // as the README's table names it
    std::string wrong; // what is wrong with it
    Prepare make;
    std::string message; // "<dir>" stands for the run directory
    int status;
    // What else must hold of the run directory afterwards: "" when it does, else the fault.
    std::function<std::string(const fs::path&)> afterwards = nullptr;
};

// A setting that cannot work: refused with its value, its file and `why` (its range, or why
// it is no number), then the line that names the file and the key.
BadInput setting_row(const char* name, const std::string& file, const std::string& key, const std::string& value,
                     const std::string& why)
{
    std::string game_path = ".\\config\\" + file;
    std::replace(game_path.begin(), game_path.end(), '/', '\\');
    return {name, "config/" + file, key + "=" + value, setting(file, key, value),
            key + "=" + value + " in " + game_path + ": " + why, 1};
}

const char* const kMap = "the map file of config/map/map1.p";

const BadInput kBadInputs[] = {
    {"WaveSliceWithAbsurdBitCount", "media/waveanim/hm_3_von_16.bmp", "4 KB BMP, 1000 x 4, bit count 3592",
     replace("media/waveanim/hm_3_von_16.bmp", hostile::wave_slice_bmp_with_absurd_bit_count()),
     "failed to load .\\media\\waveanim\\hm_3_von_16.bmp", 0},
    {"SkyStripWithAbsurdBitCount", "media/cubemap/cubemap_daytime_X4.jpg", "the same BMP bytes under the sky's name",
     replace("media/cubemap/cubemap_daytime_X4.jpg", hostile::wave_slice_bmp_with_absurd_bit_count()),
     "failed to load .\\media\\cubemap\\cubemap_daytime_X4.jpg", 0},
    {"TextureOfGarbage", "media/Grass6.jpg", "4 KB of text, no image", replace("media/Grass6.jpg", std::string(4096, 'x')),
     "failed to load .\\media\\Grass6.jpg", 0},
    {"HeightMapClaiming20000Square", kMap, "12-byte \"hm\" header claiming 20000 x 20000",
     map_of(hostile::hm_header_claiming_20000_square()),
     "the height map .\\bad.hm is too large: 20000 x 20000 samples (at most 8192 on a side)\nerror loading hmap!", 0},
    {"HeightMapClaiming16By2Pow20", kMap, "12-byte \"hm\" header claiming 16 x 2^20",
     map_of(hostile::hm_header_claiming_16_by_2_pow_20()), "the height map .\\bad.hm is too large: 16 x 1048576 samples", 0},
    {"HeightMapCutShort", kMap, "\"hm\" header of 256 x 256, half the samples",
     map_of(hostile::hm_file(256, 256, std::vector<uint16_t>(256 * 128, 9000))),
     "the height map .\\bad.hm is cut short: its header promises 256 x 256 samples (131072 bytes), the file holds "
     "65536 bytes of samples\nerror loading hmap!", 0},
    {"HeightMapTooManyTiles", kMap, "16 x 8192 samples, all present (2048 tiles)",
     map_of(hostile::hm_file(16, 8192, std::vector<uint16_t>(16 * 8192, 9000))),
     "the height map .\\bad.hm cannot be cut into tiles: 16 x 8192 samples give 2048 tiles (at most 256)\nerror "
     "loading hmap!", 0},
    {"GraphicsFileIsADirectory", "config/gfx.p", "a directory",
     [](const fs::path& d) {
         fs::remove(d / "config" / "gfx.p");
         fs::create_directory(d / "config" / "gfx.p");
     },
     "Unable to open file: .\\config\\gfx.p", 1},
    {"GraphicsKeyMissing", "config/gfx.p", "key `fullscreen` removed", without("gfx.p", "fullscreen"),
     "Missing or bad value: key \"fullscreen\" in file \".\\config\\gfx.p\"", 1},
    {"GraphicsKeyMissingAfterTheWindowOpened", "config/gfx.p", "key `shadowmap_dim` removed (read once the window is open)",
     without("gfx.p", "shadowmap_dim"), "Missing or bad value: key \"shadowmap_dim\" in file \".\\config\\gfx.p\"", 1},
    {"WindowWidthZero", "config/gfx.p", "`screen_width=0`", setting("gfx.p", "screen_width", "0"),
     "screen_width=0 in .\\config\\gfx.p: must lie between 200 and 8192 (a window side in pixels)\n\nMissing or bad value: key "
     "\"screen_width\" in file \".\\config\\gfx.p\"", 1},
    setting_row("RingImageOfAGigapixel", "gfx.p", "waterdynamicripplesmap_dim", "1000000000",
                "must lie between 16 and 8192 (the ring image's side in pixels)"),
    setting_row("ShadowMapTooLarge", "gfx.p", "shadowmap_dim", "100000",
                "must lie between 16 and 16384 (the shadow map's side in pixels)"),
    setting_row("GroundGridOfNoRows", "gfx.p", "pgmlandgrid_dim_x", "0",
                "must lie between 2 and 4096 (the ground's grid)"),
    setting_row("WindowTooWide", "gfx.p", "screen_width", "100000",
                "must lie between 200 and 8192 (a window side in pixels)"),
    setting_row("WindowWidthBeyond32Bits", "gfx.p", "screen_width", "4294968320",
                "the number does not fit a 32-bit integer"),
    setting_row("FlatLand", "gfx.p", "y_pgmland_scale", "0",
                "must lie between 0.001 and 1000 (the height of the land: 0 flattens it under the water)"),
    setting_row("MapInAPoint", "gfx.p", "phys_minfact", "0",
                "must lie between 0.01 and 1000 (graphics units a height-map sample across: 0 puts the map in a "
                "point)"),
    setting_row("TerrainExtentNotANumber", "objects/terrain.p", "vertical_extent", "nan", "not a finite number"),
    setting_row("ShipDropsMillions", "objects/defaultEskel.p", "numBoxes", "300000000",
                "must lie between 1 and 100 (crystals a drop, each a body of the scene)"),
    {"RotorScaledBelowNothing", "media/objects/hover/rotor.p", "scale_y=-1",
     model_setting("media/objects/hover/rotor.p", "scale_y", "-1"),
     "scale_y=-1 in .\\media\\objects\\hover\\rotor.p: must lie between 0.001 and 10000 (a model scaled to "
     "nothing vanishes)", 1},
    setting_row("OpponentSensorOfNoShape", "objects/defaultHo.p", "sensorShapeType", "0",
                "the box (111) is the one shape there is"),
    setting_row("ShipDropIntervalNotANumber", "objects/defaultEskel.p", "minDrop", "nan", "not a finite number"),
    setting_row("ForestOfAHundredThousand", "objects/defaultStatic.p", "obj_cnt", "100000",
                "must lie between 0 and 1000 (each is placed by trial, the count squared times at most)"),
    setting_row("ToadstoolsWithoutEnd", "objects/defaultStaticMushroom.p", "obj_cnt", "2147483647",
                "must lie between 0 and 1000"),
    setting_row("SceneryDistanceInfinite", "objects/defaultStaticLazyboy.p", "world_min_distance", "inf",
                "not a finite number"),
    setting_row("ScenerySlopeNotANumber", "objects/defaultStatic.p", "reject_slope", "nan", "not a finite number"),
    {"BridgeOfAHundredMillionPlanks", "config/objects/bridge.p", "bridge_elements=100000000",
     setting("objects/bridge.p", "bridge_elements", "100000000"),
     "bridge_elements=100000000 in config\\objects\\bridge.p: must lie between 0 and 200 (planks of one bridge, each "
     "a jointed body)", 1},
    setting_row("PlayerOfNegativeMass", "objects/player.p", "mass", "-40",
                "must lie between 0.001 and 1000000 (a body needs a mass)"),
    setting_row("PlayerDampingNotANumber", "objects/player.p", "angularDamping", "nan", "not a finite number"),
    setting_row("OpponentWithoutMass", "objects/defaultHo.p", "mass", "0",
                "must lie between 0.001 and 1000000 (a body needs a mass)"),
    setting_row("OtherLevelOpponentWithoutMass", "objects/defaultHo_easy.p", "mass", "0",
                "must lie between 0.001 and 1000000 (a body needs a mass)"),
    setting_row("CrystalDensityNotANumber", "objects/defaultCollectable.p", "density", "nan", "not a finite number"),
    setting_row("WinningAtZero", "levels/level1.p", "winning_points", "0",
                "must lie between 1 and 1000000 (a score of 0 wins before the game starts)"),
    setting_row("WinningPointsBeyond32Bits", "levels/level1.p", "winning_points", "4294967296",
                "the number does not fit a 32-bit integer"),
    setting_row("OpponentsOfAnUnknownLevel", "levels/level1.p", "difficulty", "medium",
                "the level is easy, normal or hard"),
    setting_row("NoMixerChannels", "audio.p", "numberOfChannels", "0",
                "must lie between 1 and 256 (the mixer's channels for effects that overlap)"),
    {"MusicOfGarbage", "media/sound/tijuana.ogg", "4 KB of text, no sound",
     replace("media/sound/tijuana.ogg", std::string(4096, 'x')),
     "Failed to load background music!\n./media/sound/tijuana.ogg: ", 255},
    {"ScratchFileIsAPipe", "tmp_0.bin", "a named pipe (FIFO) where the first cooked tile goes", fifo_at("tmp_0.bin"),
     "", 0,
     [](const fs::path& d) -> std::string {
         return fs::is_regular_file(d / "tmp_0.bin") ? "" : "the pipe was not replaced by the tile";
     }},
    {"CameraPathIsAPipe", "media/camera_path.txt", "a named pipe (FIFO) that nobody writes into",
     fifo_at("media/camera_path.txt"), "Unable to open file: .\\media\\camera_path.txt", 1},
    {"ControlsKeyNameUnknown", "config/controls.p", "`jump=spcae`", setting("controls.p", "jump", "spcae"),
     "the key \"jump\" in file \".\\config\\controls.p\" has the value \"spcae\": SDL knows no key named \"spcae\"", 1},
    {"ControlsKeyGivenTwice", "config/controls.p", "`jump=space / w`, where W drives forward",
     setting("controls.p", "jump", "space / w"),
     "the key \"jump\" in file \".\\config\\controls.p\" has the value \"space / w\": \"w\" is already the key of "
     "\"forward\"", 1},
    {"ControlsFileMissing", "config/controls.p", "removed", [](const fs::path& d) { fs::remove(d / "config" / "controls.p"); },
     "Unable to open file: .\\config\\controls.p", 1},
    {"ScratchFileIsADirectory", "tmp_0.bin", "a directory where the first cooked tile goes",
     [](const fs::path& d) { fs::create_directory(d / "tmp_0.bin"); },
     "Unable to write the scratch file \"tmp_0.bin\" in \"<dir>\": Is a directory", 1},
    {"ScratchFileIsALink", "tmp_1.bin", "a link to a file elsewhere",
     [](const fs::path& d) {
         fs::create_directory(d / "elsewhere");
         write_bytes(d / "elsewhere" / "keep.txt", "keep");
         fs::create_symlink(d / "elsewhere" / "keep.txt", d / "tmp_1.bin");
     },
     "", 0,
     [](const fs::path& d) -> std::string {
         if (fs::is_symlink(d / "tmp_1.bin") || !fs::is_regular_file(d / "tmp_1.bin")) return "the link is still there";
         return read_file(d / "elsewhere" / "keep.txt") == "keep" ? "" : "the linked file was written through";
     }},
    {"CameraPathIsADirectory", "media/camera_path.txt", "a directory",
     [](const fs::path& d) { fs::create_directory(own_game_file(d, "media/camera_path.txt")); },
     "Unable to open file: .\\media\\camera_path.txt", 1},
    {"FontDescriptionOfGarbage", "media/font/out.fnt", "4 KB of bytes 0 to 255, no `font_tex`",
     [](const fs::path& d) {
         std::string bytes;
         for (int i = 0; i < 4096; ++i) bytes += char((i * 7) & 0xFF);
         write_bytes(own_game_file(d, "media/font/out.fnt"), bytes);
     },
     "Missing or bad value: key \"font_tex\" in file \".\\media\\font\\out.fnt\"", 1},
    {"FontDescriptionWithoutA", "media/font/out.fnt", "the line of `A` removed",
     [](const fs::path& d) {
         const fs::path own = own_game_file(d, "media/font/out.fnt");
         fs::copy_file(game_dir() / "media" / "font" / "out.fnt", own);
         remove_key(own, "A");
     },
     "aj karamba, bad value found", 0},
};

// Names the row in the test's listing instead of dumping its bytes.
void PrintTo(const BadInput& row, std::ostream* os) { *os << row.name; }

class BadInputTable : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTable, IsRefusedWithItsMessageAndStatus)
{
    const BadInput& row = GetParam();
    // The small test map keeps start-up short; the rows about the map replace it.
    GameRun run = run_game(15, {}, [&row](const fs::path& dir) {
        use_test_height_map(dir);
        row.make(dir);
    });
    std::string message = row.message;
    if (size_t at = message.find("<dir>"); at != std::string::npos) message.replace(at, 5, run.dir.string());
    EXPECT_TRUE(refused(run, row.status, {message}));
    if (row.status == 0) {
        EXPECT_NE(run.log.find("SDLGL destructor finished!"), std::string::npos) << run.log;
    }
    if (row.afterwards) {
        EXPECT_EQ(row.afterwards(run.dir), "") << run.log;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputTable, ::testing::ValuesIn(kBadInputs),
                         [](const ::testing::TestParamInfo<BadInput>& info) { return info.param.name; });

// The README's table of bad inputs is this table: each row's file, complaint and first line
// of its message stand on one line of it, with its exit status.
TEST(BadInputTable, EveryRowStandsInTheReadme)
{
    const char* src = std::getenv("MOORHOLD_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    std::ifstream in(fs::path(src) / "README.md");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    for (const BadInput& row : kBadInputs) {
        std::string first = row.message;
        first = first.substr(0, first.find('\n'));
        if (size_t at = first.find("<dir>"); at != std::string::npos) first.replace(at, 5, "...");
        const std::string status = "| " + std::to_string(row.status) + " |";
        bool found = false;
        for (const std::string& line : lines)
            found = found || (line.find(row.file) != std::string::npos && line.find(row.wrong) != std::string::npos &&
                              line.find(first) != std::string::npos && line.find(status) != std::string::npos);
        EXPECT_TRUE(found) << row.name << ": no README line with \"" << row.file << "\", \"" << row.wrong << "\", \""
                           << first << "\" and " << status;
    }
}

} // namespace
