// A fresh directory for one test's files, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "moorhold-XXXXXX").string();
        path = mkdtemp(tmpl.data());
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
        std::ofstream out(path / name, std::ios::binary);
        out << bytes;
        return file(name);
    }

    std::filesystem::path path;
};
