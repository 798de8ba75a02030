// Files the game opens that no other media test decodes: after the build they are in the game
// directory, those whose names come from other files found the way the game finds them.
#include "Common/ParameterFile.h"
#include "GameDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// The path as the game writes it, relative to the game directory.
std::string in_game_dir(std::string p)
{
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.rfind("./", 0) == 0) p = p.substr(2);
    return game_file(p);
}

void expect_present(const std::string& path)
{
    std::error_code ec;
    const std::string file = in_game_dir(path);
    EXPECT_TRUE(std::filesystem::is_regular_file(file, ec)) << path << " missing (" << file << ")";
    EXPECT_GT(std::filesystem::file_size(file, ec), 0u) << path;
}

TEST(MediaManifest, FilesTheGameOpensByNameArePresent)
{
    expect_present(".\\media\\camera_path.txt");
    expect_present(ParameterFile(in_game_dir(".\\config\\map\\map1.p")).getString("filename"));
    expect_present(ParameterFile(in_game_dir(".\\media\\font\\out.fnt")).getString("font_tex"));
}

} // namespace
