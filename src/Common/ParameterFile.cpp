#include "Common/ParameterFile.h"

#include "Common/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

BadValueReport g_last_bad_value;

} // namespace

void throw_bad_value(const std::string& file, const std::string& key)
{
    g_last_bad_value.file = file;
    g_last_bad_value.key = key;
    throw BadValueException();
}

const BadValueReport& last_bad_value() { return g_last_bad_value; }

TextFile::TextFile(const char* path)
{
    FILE* f = open_file(path, "rb");
    if (!f) {
        std::fprintf(stderr, "Unable to open file: %s\n", path);
        std::exit(1);
    }
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    if (size < 0) size = 0;
    text = new char[static_cast<size_t>(size) + 1];
    size_t got = std::fread(text, 1, static_cast<size_t>(size), f);
    std::fclose(f);
    length = static_cast<uint32_t>(got);
    text[got] = '\0';
}

TextFile::~TextFile() { delete[] text; }

ParameterFile::ParameterFile(const char* path_)
    : file(new TextFile(path_)), path(path_)
{
}

ParameterFile::ParameterFile(const std::string& path_) : ParameterFile(path_.c_str()) {}

ParameterFile::~ParameterFile() { delete file; }

std::string ParameterFile::getString(const std::string& key) const
{
    // The text counts up to its first NUL, like the C string it is read as.
    const char* p = file->text;
    const char* end = p + std::strlen(p);
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* line_end = eol ? eol : end;
        size_t len = static_cast<size_t>(line_end - p);
        if (len > 0 && p[0] != '#') {
            const char* eq = static_cast<const char*>(std::memchr(p, '=', len));
            if (eq && eq != p) {
                size_t key_len = static_cast<size_t>(eq - p);
                if (key_len == key.size() && std::memcmp(p, key.data(), key_len) == 0)
                    return std::string(eq + 1, line_end);
            }
        }
        p = eol ? eol + 1 : end;
    }
    throw_bad_value(path, key);
}

int ParameterFile::getInt(const std::string& key) const
{
    std::string v = getString(key);
    int out = 0;
    // EOF: nothing but blanks; 0: the value does not begin with a number.
    if (std::sscanf(v.c_str(), "%d", &out) != 1) throw_bad_value(path, key);
    return out;
}

float ParameterFile::getFloat(const std::string& key) const
{
    std::string v = getString(key);
    float out = 0.0f;
    if (std::sscanf(v.c_str(), "%f", &out) != 1) throw_bad_value(path, key);
    return out;
}

void ParameterFile::get4i(const std::string& key, int out[4]) const
{
    std::string v = getString(key);
    int r = std::sscanf(v.c_str(), "%d %d %d %d", &out[0], &out[1], &out[2], &out[3]);
    if (r == EOF || r == 0) throw_bad_value(path, key);
}

void ParameterFile::get4f(const std::string& key, float out[4]) const
{
    std::string v = getString(key);
    int r = std::sscanf(v.c_str(), "%f %f %f %f", &out[0], &out[1], &out[2], &out[3]);
    if (r == EOF || r == 0) throw_bad_value(path, key);
}
