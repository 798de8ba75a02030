// Every media file the game opens, in one list: after the build each one is in the game
// directory. The files whose names come from other files (the height map, the font image)
// are found the way the game finds them.
#include "Common/ParameterFile.h"
#include "GameDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kMedia[] = {
    // start-up: menu texture, font, title, sky, scene textures in their loading order
    ".\\media\\font_test.png", ".\\media\\font\\out.fnt", ".\\media\\title.jpg",
    ".\\media\\cubemap\\cubemap_daytime_X4.jpg", ".\\media\\sand_base1.jpg", ".\\media\\noise.jpg",
    ".\\media\\objects\\trees\\tree.jpg", ".\\media\\objects\\teddy\\teddy.jpg",
    ".\\media\\objects\\evil\\evil.jpg", ".\\media\\objects\\ship\\ship.jpg",
    ".\\media\\objects\\crystal\\crystal.jpg", ".\\media\\objects\\hover\\hover.jpg",
    ".\\media\\objects\\cam\\cam.jpg", ".\\media\\objects\\unit\\unit.jpg",
    ".\\media\\objects\\duck\\duck.jpg", ".\\media\\objects\\pilz\\pilz.jpg",
    ".\\media\\objects\\tree_lazy_boy\\tree_lazy_boy.jpg", ".\\media\\noise_nm.png",
    ".\\media\\objects\\bridge\\bridge.jpg", ".\\media\\nature072b.jpg", ".\\media\\Grass6.jpg",
    ".\\media\\camera_path.txt",
    // models and the instance files beside them
    ".\\media\\objects\\duck\\duck.md2", ".\\media\\objects\\duck\\duck.p",
    ".\\media\\objects\\ship\\ship_anim.md2", ".\\media\\objects\\ship\\ship.p",
    ".\\media\\objects\\hover\\hover.md2", ".\\media\\objects\\hover\\hover.p",
    ".\\media\\objects\\hover\\rotor1.md2", ".\\media\\objects\\hover\\rotor2.md2",
    ".\\media\\objects\\hover\\rotor.p", ".\\media\\objects\\hover\\hover_player.p",
    ".\\media\\objects\\hover\\rotor_player.p", ".\\media\\objects\\teddy\\teddy.md2",
    ".\\media\\objects\\teddy\\teddy_player.p", ".\\media\\objects\\evil\\evil.p",
    ".\\media\\objects\\cam\\cam.md2", ".\\media\\objects\\cam\\cam.p",
    ".\\media\\objects\\trees\\tree.md2", ".\\media\\objects\\trees\\tree.p",
    ".\\media\\objects\\pilz\\pilz.md2", ".\\media\\objects\\pilz\\pilz.p",
    ".\\media\\objects\\tree_lazy_boy\\tree_lazy_boy.md2", ".\\media\\objects\\tree_lazy_boy\\tree_lazy_boy.p",
    ".\\media\\objects\\crystal\\crystal.md2", ".\\media\\objects\\crystal\\crystal.p",
    ".\\media\\objects\\bridge\\bridge.md2", ".\\media\\objects\\bridge\\bridge.p",
    // music and effects
    "./media/sound/tijuana.ogg", "./media/sound/Peanuts.ogg", "./media/sound/bling.wav",
    "./media/sound/walum.wav", "./media/sound/yipiee.wav",
};

// The path as the game writes it, relative to the game directory.
std::string in_game_dir(const std::string& path)
{
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.rfind("./", 0) == 0) p = p.substr(2);
    return game_file(p);
}

void expect_present(const std::string& path)
{
    std::error_code ec;
    std::string file = in_game_dir(path);
    EXPECT_TRUE(std::filesystem::is_regular_file(file, ec)) << path << " missing (" << file << ")";
    if (std::filesystem::is_regular_file(file, ec)) {
        EXPECT_GT(std::filesystem::file_size(file, ec), 0u) << path;
    }
}

TEST(MediaManifest, EveryFileTheGameOpensIsInTheGameDirectory)
{
    for (const char* path : kMedia) expect_present(path);
    for (int slice = 1; slice <= 16; ++slice)
        expect_present(".\\media\\waveanim\\hm_" + std::to_string(slice) + "_von_16.bmp");
}

TEST(MediaManifest, FilesNamedByOtherFilesArePresent)
{
    ParameterFile map(in_game_dir(".\\config\\map\\map1.p"));
    expect_present(map.getString("filename"));
    ParameterFile font(in_game_dir(".\\media\\font\\out.fnt"));
    expect_present(font.getString("font_tex"));
}

} // namespace
