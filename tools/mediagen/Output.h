// Where the generator writes: every file goes through one Output, which creates the parent
// directories, counts what was written and remembers any failure, so that main() can exit
// non-zero when a single file could not be written. Safe to use from several threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Output {
public:
    explicit Output(std::string game_dir);

    // `rel` uses '/' separators and is relative to the game directory.
    std::string path(const std::string& rel) const;

    // Writes the bytes to game_dir/rel, replacing an existing file. On failure prints the
    // reason on stderr, records it and returns false.
    bool write(const std::string& rel, const void* data, size_t size);
    bool write(const std::string& rel, const std::vector<uint8_t>& bytes)
    {
        return write(rel, bytes.data(), bytes.size());
    }
    bool write(const std::string& rel, const std::string& text)
    {
        return write(rel, text.data(), text.size());
    }

    // Records a failure that is not a write (bad input data, a missing font...).
    void fail(const std::string& what);

    const std::string root;
    std::atomic<int> files{0};
    std::atomic<uint64_t> bytes{0};
    std::atomic<int> failures{0};
};
