// The game's shipped controls file with one key changed, for the tests of its refusals.
#pragma once

#include "GameDir.h"
#include "TempDir.h"

#include <sstream>
#include <string>

// config/controls.p of the built game with `key` set to `value` ("" removes it), written into
// `dir`; returns its path.
inline std::string controls_with(const TempDir& dir, const std::string& key, const std::string& value)
{
    std::istringstream in(read_file(game_file("config/controls.p")));
    std::string line, out;
    while (std::getline(in, line))
        if (line.compare(0, key.size() + 1, key + "=") != 0) out += line + "\n";
    if (!value.empty()) out += key + "=" + value + "\n";
    return dir.write("controls.p", out);
}
