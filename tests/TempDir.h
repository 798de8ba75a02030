// A fresh directory for one test's files, removed with everything in it at the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

// The whole file as bytes; "" when it cannot be read.
inline std::string read_file(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "moorhold-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) throw std::runtime_error("TempDir: mkdtemp failed in " + tmpl);
        path = tmpl;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path / name).string(); }

    // Writes `bytes` exactly as given (no newline translation) and returns the path.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories((path / name).parent_path());
        std::ofstream(path / name, std::ios::binary) << bytes;
        return file(name);
    }

    std::filesystem::path path;
};

// The working directory is `dir` while it lives: the game opens its files relative to it.
struct InDirectory {
    explicit InDirectory(const std::filesystem::path& dir) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~InDirectory() { std::filesystem::current_path(previous); }
    std::filesystem::path previous;
};
