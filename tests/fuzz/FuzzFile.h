// The readers take file names: each input goes to a scratch file (under /dev/shm if possible).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline const std::string& fuzz_dir()
{
    // Never destroyed, so that the exit handler below can still name it.
    static const std::string* dir = [] {
        std::string tmpl = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/moorhold-fuzz-XXXXXX");
        if (!mkdtemp(tmpl.data())) std::abort();
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(fuzz_dir(), ec);
        });
        return new std::string(tmpl);
    }();
    return *dir;
}

inline std::string fuzz_file(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = fuzz_dir() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    return path;
}

// A finding of the target's own: a result the reader should never hand back.
inline void require(bool condition)
{
    if (!condition) std::abort();
}
