// Plain-text parameter files ("key=value" lines) and the whole-file loader beneath them.
//
// The format is deliberately literal: nothing is trimmed, keys compare byte for byte, the
// first definition from the top wins, a CR before the LF stays part of the value, and a
// line starting with '#' (column 1 only) is a comment.
#pragma once

#include <cstdint>
#include <string>

// Thrown by value when a key is missing or a numeric value has no number to read.
class BadValueException {};

// The whole contents of one file, read in binary mode and NUL-terminated.
// A file that cannot be opened ends the program ("Unable to open file: " and status 1).
class TextFile {
public:
    explicit TextFile(const char* path);
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    uint32_t length = 0;  // bytes read from the file
    char* text = nullptr; // length + 1 bytes, the last one NUL
};

class ParameterFile {
public:
    explicit ParameterFile(const char* path);
    explicit ParameterFile(const std::string& path);
    ~ParameterFile();
    ParameterFile(const ParameterFile&) = delete;
    ParameterFile& operator=(const ParameterFile&) = delete;

    std::string getString(const std::string& key) const;
    int getInt(const std::string& key) const;
    float getFloat(const std::string& key) const;
    // Fewer numbers than four leave the rest of `out` as the caller had it.
    void get4i(const std::string& key, int out[4]) const;
    void get4f(const std::string& key, float out[4]) const;

    TextFile* file;
    std::string path; // as the caller gave it, for messages
};

// The most recent lookup that threw BadValueException: which file and which key. Start-up
// code that lets the exception end the program uses it to name the culprit.
struct BadValueReport {
    std::string file;
    std::string key;
};
const BadValueReport& last_bad_value();

// Records `file` and `key` as the last bad value and throws BadValueException: for readers
// that find a value present but unusable.
[[noreturn]] void throw_bad_value(const std::string& file, const std::string& key);
