// mediagen: writes every binary file of the game (height map, textures, sky, wave slices,
// models, sounds, font and title images) into a game directory. The output depends on
// nothing but this program, so every run produces the same bytes.
//
//   mediagen <game dir>         generate the binary files into a game directory
//   mediagen --text <source>    rewrite the text data derived from the same tables
//                               (bridge parameter files, font description) in the
//                               source tree; they are committed, tests check they agree
//
// Exits with status 1 when any file could not be generated or written.
#include "Generators.h"
#include "Output.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: mediagen <game dir>\n       mediagen --text <source dir>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const bool text = argc == 3 && std::strcmp(argv[1], "--text") == 0;
    if (!text && (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-')) return usage();
    const char* dir = argv[argc - 1];

    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "mediagen: cannot create %s: %s\n", dir, ec.message().c_str());
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    Output out(dir);
    if (text) {
        generate_world_text(out);
    } else {
        generate_world(out);
        generate_models(out);
        generate_sounds(out);
        generate_icons(out);
        generate_contact_sheet(out);
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("mediagen: %d files, %.1f MB written to %s in %.1f s\n", out.files.load(),
                double(out.bytes.load()) / 1048576.0, dir, seconds);
    if (out.failures > 0) {
        std::fprintf(stderr, "mediagen: %d failure(s)\n", out.failures.load());
        return 1;
    }
    return 0;
}
