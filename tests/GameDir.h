// The assembled game directory of the build (config/, media/, shader/ beside the game),
// which CTest names in MOORHOLD_GAME_DIR. Tests of the generated data read from it.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>

inline std::string game_dir()
{
    const char* dir = std::getenv("MOORHOLD_GAME_DIR");
    return dir ? dir : "game";
}

// `rel` with '/' separators, relative to the game directory.
inline std::string game_file(const std::string& rel) { return game_dir() + "/" + rel; }

// A path as the game names it, such as ".\config\gfx.p", inside the game directory.
inline std::string game_path(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return game_file(path.rfind("./", 0) == 0 ? path.substr(2) : path);
}
