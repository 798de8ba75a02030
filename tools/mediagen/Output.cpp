#include "Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

Output::Output(std::string game_dir) : root(std::move(game_dir)) {}

std::string Output::path(const std::string& rel) const
{
    return (std::filesystem::path(root) / rel).string();
}

bool Output::write(const std::string& rel, const void* data, size_t size)
{
    const std::string full = path(rel);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path(), ec);
    if (ec) {
        fail("cannot create the directory of " + full + ": " + ec.message());
        return false;
    }
    // Write beside the target and rename, so that an interrupted run never leaves a
    // truncated file that a later run or the game would take for a good one.
    const std::string tmp = full + ".part";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        fail("cannot open " + tmp + " for writing: " + std::strerror(errno));
        return false;
    }
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::remove(tmp.c_str());
        fail("cannot write " + full);
        return false;
    }
    std::filesystem::rename(tmp, full, ec);
    if (ec) {
        std::remove(tmp.c_str());
        fail("cannot rename " + tmp + " to " + full + ": " + ec.message());
        return false;
    }
    files += 1;
    bytes += size;
    return true;
}

void Output::fail(const std::string& what)
{
    std::fprintf(stderr, "mediagen: %s\n", what.c_str());
    failures += 1;
}
