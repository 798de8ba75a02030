#include "Common/ParameterFile.h"

#include "Common/Platform.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

BadValueReport g_last_bad_value;

[[noreturn]] void throw_bad_value(const std::string& file, const std::string& key)
{
    g_last_bad_value.file = file;
    g_last_bad_value.key = key;
    throw BadValueException();
}

// The value as the message shows it: without the CR of a CR LF line.
std::string shown(const std::string& text)
{
    std::string v = text;
    while (!v.empty() && (v.back() == '\r' || v.back() == '\n')) v.pop_back();
    return v;
}

[[noreturn]] void refuse_with(const std::string& file, const std::string& key, const std::string& text,
                              const std::string& reason)
{
    std::fprintf(stderr, "\n%s=%s in %s: %s\n", key.c_str(), shown(text).c_str(), file.c_str(), reason.c_str());
    throw_bad_value(file, key);
}

bool only_blanks(const char* p)
{
    for (; *p; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != '\v' && *p != '\f') return false;
    return true;
}

// The number at the start of `text` (after blanks), as "%d" reads it, but refused when it
// does not fit an int instead of wrapping. False when there is no number.
bool read_int(const std::string& file, const std::string& key, const std::string& text, const char* from,
              const char** end, int& out)
{
    errno = 0;
    char* stop = nullptr;
    const long long v = std::strtoll(from, &stop, 10);
    if (stop == from) return false;
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX)
        refuse_with(file, key, text, "the number does not fit a 32-bit integer (-2147483648 to 2147483647)");
    out = static_cast<int>(v);
    *end = stop;
    return true;
}

// The number at the start of `text` (after blanks). NaN, infinities and numbers beyond a
// float's range are refused: a setting cannot be either. False when there is no number.
bool read_float(const std::string& file, const std::string& key, const std::string& text, const char* from,
                const char** end, float& out)
{
    char* stop = nullptr;
    const double v = std::strtod(from, &stop);
    if (stop == from) return false;
    if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) refuse_with(file, key, text, "not a finite number");
    out = static_cast<float>(v);
    *end = stop;
    return true;
}

std::string range_text(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

} // namespace

const KeyRange* KeyRanges::find(const std::string& key) const
{
    for (size_t i = 0; i < count; ++i)
        if (key == rows[i].key) return &rows[i];
    return nullptr;
}

const BadValueReport& last_bad_value() { return g_last_bad_value; }

void report_bad_value()
{
    std::fprintf(stderr, "\nMissing or bad value: key \"%s\" in file \"%s\"\n", g_last_bad_value.key.c_str(),
                 g_last_bad_value.file.c_str());
}

void refuse_value(const ParameterFile& file, const std::string& key) { throw_bad_value(file.path, key); }

void refuse_value(const ParameterFile& file, const std::string& key, const std::string& reason)
{
    refuse_with(file.path, key, file.getString(key), reason);
}

TextFile::TextFile(const char* path)
{
    // Anything that cannot be read whole is refused like a missing file: a directory in
    // place of the file, a device, a file that shrinks while it is read.
    FILE* f = open_file(path, "rb");
    const long long size = regular_file_size(f);
    if (size >= 0 && static_cast<unsigned long long>(size) < UINT32_MAX)
        text = new (std::nothrow) char[static_cast<size_t>(size) + 1];
    const bool whole = text && std::fread(text, 1, static_cast<size_t>(size), f) == static_cast<size_t>(size);
    if (f) std::fclose(f);
    if (!whole) {
        delete[] text;
        text = nullptr;
        std::fprintf(stderr, "Unable to open file: %s\n", path);
        std::exit(1);
    }
    length = static_cast<uint32_t>(size);
    text[size] = '\0';
}

TextFile::~TextFile() { delete[] text; }

ParameterFile::ParameterFile(const char* path_)
    : file(new TextFile(path_)), path(path_)
{
}

ParameterFile::ParameterFile(const std::string& path_) : ParameterFile(path_.c_str()) {}

ParameterFile::ParameterFile(const char* path_, std::initializer_list<KeyRanges> tables) : ParameterFile(path_)
{
    ranges.assign(tables.begin(), tables.end());
}

ParameterFile::ParameterFile(const std::string& path_, std::initializer_list<KeyRanges> tables)
    : ParameterFile(path_.c_str(), tables)
{
}

void ParameterFile::check_range(const std::string& key, double value, const std::string& text) const
{
    if (ranges.empty()) return;
    const KeyRange* r = nullptr;
    for (const KeyRanges& table : ranges)
        if ((r = table.find(key))) break;
    // Every key the game reads has its range: one without is a slip of the code.
    DEBUG_ASSERT(r != nullptr, "key has a range", "src\\Common\\ParameterFile");
    if (value >= r->lowest && value <= r->highest) return;
    std::string reason = "must lie between " + range_text(r->lowest) + " and " + range_text(r->highest);
    if (r->why) reason += std::string(" (") + r->why + ")";
    refuse_with(path, key, text, reason);
}

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

// Integers read as "%d" does: blanks skipped, the number taken, whatever follows it left
// ("7 trailing words" is 7). A number beyond an int is refused rather than wrapped.
int ParameterFile::getInt(const std::string& key) const
{
    const std::string v = getString(key);
    const char* end = nullptr;
    int out = 0;
    // Nothing but blanks, or a value that does not begin with a number.
    if (!read_int(path, key, v, v.c_str(), &end, out)) throw_bad_value(path, key);
    check_range(key, out, v);
    return out;
}

// Floats must be a number and nothing else but blanks: "2,5" read as 2 would be a
// silently wrong setting. NaN and infinities are refused.
float ParameterFile::getFloat(const std::string& key) const
{
    const std::string v = getString(key);
    const char* end = nullptr;
    float out = 0.0f;
    if (!read_float(path, key, v, v.c_str(), &end, out)) throw_bad_value(path, key);
    if (!only_blanks(end)) refuse_with(path, key, v, "not a number (something follows it)");
    check_range(key, out, v);
    return out;
}

void ParameterFile::get4i(const std::string& key, int out[4]) const
{
    const std::string v = getString(key);
    const char* at = v.c_str();
    int read = 0;
    for (; read < 4; ++read) {
        const char* end = nullptr;
        int n = 0;
        if (!read_int(path, key, v, at, &end, n)) break;
        check_range(key, n, v);
        out[read] = n;
        at = end;
    }
    if (read == 0) throw_bad_value(path, key);
}

void ParameterFile::get4f(const std::string& key, float out[4]) const
{
    const std::string v = getString(key);
    const char* at = v.c_str();
    int read = 0;
    for (; read < 4; ++read) {
        const char* end = nullptr;
        float n = 0;
        if (!read_float(path, key, v, at, &end, n)) break;
        check_range(key, n, v);
        out[read] = n;
        at = end;
    }
    if (read == 0) throw_bad_value(path, key);
}
