#include "Common/CommandLine.h"

#include <cstring>

#ifndef MOORHOLD_VERSION
#define MOORHOLD_VERSION "unknown"
#endif

CommandLineAction parse_command_line(int argc, const char* const* argv, std::string* refused)
{
    if (argc <= 1) return CommandLineAction::play;
    const char* a = argv[1];
    const bool help = std::strcmp(a, "--help") == 0, version = std::strcmp(a, "--version") == 0;
    if (argc == 2 && help) return CommandLineAction::help;
    if (argc == 2 && version) return CommandLineAction::version;
    // Either option takes nothing after it.
    if (refused) *refused = help || version ? argv[2] : a;
    return CommandLineAction::refuse;
}

std::string usage_text(const std::string& data_dir)
{
    std::string text =
        "Usage: moorhold [--help | --version]\n"
        "\n"
        "Moorhold is a race of hover vehicles over a partly flooded moor. A flying ship drops\n"
        "crystals; drive through them before the five computer opponents do. Whoever first\n"
        "reaches the level's points wins, and a new game starts on the same map. Without\n"
        "arguments the game opens its window and plays.\n"
        "\n"
        "  --help      show this text\n"
        "  --version   show the version\n"
        "\n"
        "Folders:\n"
        "  data    config/, media/ and shader/: the folder MOORHOLD_DATA_DIR names, else the\n"
        "          executable's own folder when it holds config/gfx.p, else ../share/moorhold\n"
        "          beside it\n";
    text += data_dir.empty() ? "          (none found for this copy)\n" : "          (this copy: " + data_dir + ")\n";
    text += "  cache   the cooked terrain tiles (tmp_N.bin): the data folder when it is writable,\n"
            "          else $XDG_CACHE_HOME/moorhold, by default ~/.cache/moorhold\n"
            "\n"
            "Environment:\n"
            "  MOORHOLD_DATA_DIR   the data folder to use\n"
            "  XDG_CACHE_HOME      where the cache folder is made\n"
            "  SDL_AUDIODRIVER     the sound output (for instance pulse, alsa; dummy for silence)\n"
            "  DISPLAY             the X display to open the window on\n"
            "\n"
            "Settings are the key=value files under config/ in the data folder. The variables\n"
            "that tests and demos use (MOORHOLD_FRAMES, MOORHOLD_SCREENSHOT, MOORHOLD_AUTOPILOT and\n"
            "others) are listed in the manual page, moorhold(6).\n";
    return text;
}

std::string version_text()
{
    return std::string("moorhold ") + MOORHOLD_VERSION;
}
