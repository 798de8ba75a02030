// Shader sources as the compiler gets them. A line
//
//   #include "name"
//
// stands for the whole text of that file, read from the program's own folder: programs that
// share functions keep them in one file instead of a copy each. GLSL 1.20 has no includes
// of its own, so the loader puts the text in place before compiling. Included files are put
// in as they are (an include inside one is not expanded again, and the compiler then
// refuses it), and the compiler's line numbers after an include count the included lines.
#pragma once

#include <functional>
#include <string>

// Reads the file at `path` whole. The game's reader ends the program when it cannot.
using ShaderFileReader = std::function<std::string(const std::string& path)>;

// The folder part of a program's path, separator included ("" for a bare name).
std::string shader_folder(const std::string& path);

// `source` with every include line replaced by the named file's text, read from `folder`.
std::string expand_shader_includes(const std::string& source, const std::string& folder,
                                   const ShaderFileReader& read);
