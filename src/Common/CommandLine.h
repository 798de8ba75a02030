// The game plays without arguments; like any Linux program it also answers --help and
// --version, and refuses anything else (status 2, with the usage).
#pragma once

#include <string>

enum class CommandLineAction { play, help, version, refuse };

// What the arguments ask for; `refused` receives the first argument that is not understood.
CommandLineAction parse_command_line(int argc, const char* const* argv, std::string* refused = nullptr);

// The text of --help. `data_dir` is the data folder this copy would use ("" when none was
// found).
std::string usage_text(const std::string& data_dir);

// "moorhold <version>".
std::string version_text();
