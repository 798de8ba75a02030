// Plain-text parameter files ("key=value" lines) and the whole-file loader beneath them.
//
// The format is deliberately literal: nothing is trimmed, keys compare byte for byte, the
// first definition from the top wins, a CR before the LF stays part of the value, and a
// line starting with '#' (column 1 only) is a comment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Thrown by value when a key is missing, a numeric value has no number to read, or the
// number cannot work (out of its key's range, not finite, too large for its type).
class BadValueException {};

// The values one key may take, declared beside the code that reads it. Numbers outside
// [lowest, highest] are refused like a missing key, naming the file, the key, the value
// and the range; `why` says what the limits protect where that is not obvious.
struct KeyRange {
    const char* key;
    double lowest;
    double highest;
    const char* why;
};

// The ranges of the keys one piece of code reads from a file.
struct KeyRanges {
    template <size_t N>
    constexpr KeyRanges(const KeyRange (&table)[N]) : rows(table), count(N) // NOLINT: a table is its ranges
    {
    }
    const KeyRange* find(const std::string& key) const;

    const KeyRange* rows;
    size_t count;
};

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
    // Every number read is checked against these tables. Reading a number whose key none of
    // them declares is a fault of the program (the debug assertion "key has a range").
    ParameterFile(const char* path, std::initializer_list<KeyRanges> tables);
    ParameterFile(const std::string& path, std::initializer_list<KeyRanges> tables);
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
    std::vector<KeyRanges> ranges;

private:
    // Refuses `value` of `key` when a table gives it a range that does not hold it.
    void check_range(const std::string& key, double value, const std::string& text) const;
};

// The most recent lookup that threw BadValueException: which file and which key. Start-up
// code that lets the exception end the program uses it to name the culprit.
struct BadValueReport {
    std::string file;
    std::string key;
};
const BadValueReport& last_bad_value();
// "Missing or bad value: key "<key>" in file "<file>"" for the last bad value, on standard
// error: the message with which a bad value ends the program.
void report_bad_value();

// For a value that is present but unusable: records `key` of `file` as the last bad value
// and throws BadValueException, as a missing key does.
[[noreturn]] void refuse_value(const ParameterFile& file, const std::string& key);
// The same, first saying on standard error "<key>=<value> in <file>: <reason>".
[[noreturn]] void refuse_value(const ParameterFile& file, const std::string& key, const std::string& reason);
