#include "Common/DataDir.h"

#include "Common/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string scratch_dir;

namespace {

std::string parent_of(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool holds_game_settings(const std::string& dir)
{
    return is_regular_file(dir + "/config/gfx.p");
}

} // namespace

std::vector<std::string> data_dir_candidates(const std::string& executable_path, const char* env_dir)
{
    if (env_dir && env_dir[0]) return {env_dir};
    if (executable_path.empty()) return {};
    const std::string beside = parent_of(executable_path);
    return {beside, beside + "/../share/moorhold"};
}

std::string first_data_dir(const std::vector<std::string>& candidates,
                           const std::function<bool(const std::string&)>& holds_settings)
{
    for (const std::string& dir : candidates)
        if (holds_settings(dir)) return dir;
    return "";
}

bool enter_data_dir()
{
    const char* env_dir = std::getenv("MOORHOLD_DATA_DIR");
    const std::vector<std::string> candidates = data_dir_candidates(executable_path(), env_dir);
    // A folder named on purpose is taken as it is: what is wrong inside it (no gfx.p, say)
    // is then reported by the file that is missing, as in a copy of the game of one's own.
    const std::string dir = env_dir && env_dir[0] ? candidates[0] : first_data_dir(candidates, holds_game_settings);
    if (!dir.empty() && change_directory(dir)) return true;
    std::fprintf(stderr, "Moorhold cannot find its data (a folder holding config/gfx.p). It looked in:\n");
    for (const std::string& c : candidates) std::fprintf(stderr, "  %s\n", c.c_str());
    if (candidates.empty()) std::fprintf(stderr, "  (nowhere: the executable's own path is unknown)\n");
    std::fprintf(stderr, "Set MOORHOLD_DATA_DIR to the folder that holds config/, media/ and shader/.\n");
    return false;
}

std::string scratch_dir_for(bool data_dir_writable, const char* xdg_cache_home, const char* home)
{
    if (data_dir_writable) return "";
    // The cache base must be absolute; a relative one is to be ignored.
    if (xdg_cache_home && xdg_cache_home[0] == '/') return std::string(xdg_cache_home) + "/moorhold";
    if (home && home[0]) return std::string(home) + "/.cache/moorhold";
    return "";
}

bool prepare_scratch_dir()
{
    const bool writable = directory_writable(".");
    const std::string home = home_directory();
    scratch_dir = scratch_dir_for(writable, std::getenv("XDG_CACHE_HOME"), home.c_str());
    if (!writable) {
        if (scratch_dir.empty() || !make_private_directories(scratch_dir) || !directory_writable(scratch_dir)) {
            std::fprintf(stderr, "\nUnable to write the scratch files: the data directory \"%s\" is read-only and "
                                 "the cache folder \"%s\" cannot be made (%s)\n",
                         current_directory().c_str(), scratch_dir.empty() ? "~/.cache/moorhold" : scratch_dir.c_str(),
                         scratch_dir.empty() ? "no home folder" : std::strerror(errno));
            return false;
        }
        std::printf("scratch files go to %s\n", scratch_dir.c_str());
    }
    remove_stale_temporaries(scratch_dir, "tmp_");
    return true;
}

std::string scratch_path(const std::string& name)
{
    return scratch_dir.empty() ? name : scratch_dir + "/" + name;
}
