// The assembled game directory of the build (config/, media/, shader/ beside the game),
// which CTest names in MOORHOLD_GAME_DIR. Tests of the generated data read from it.
#pragma once

#include <cstdlib>
#include <string>

inline std::string game_dir()
{
    const char* dir = std::getenv("MOORHOLD_GAME_DIR");
    return dir ? dir : "game";
}

// `rel` with '/' separators, relative to the game directory.
inline std::string game_file(const std::string& rel) { return game_dir() + "/" + rel; }
