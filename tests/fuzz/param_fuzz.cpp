// Parameter files with the typed accessors: every key the input defines and a few it may
// not, through each accessor. Besides the sanitizers' findings, a lookup that finds a key
// but hands back another key's value is a finding.
#include "Common/ParameterFile.h"
#include "FuzzFile.h"

#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ParameterFile p(fuzz_file("in.p", data, size).c_str());
    std::vector<std::string> keys = {"screen_width", "font_tex", "A", " #key", "", "winning_points"};
    // The keys as the file's lines define them, up to the first NUL (the text's end).
    const char* text = p.file->text;
    for (const char* line = text; *line;) {
        const char* eol = std::strchr(line, '\n');
        std::string l(line, eol ? eol : line + std::strlen(line));
        size_t eq = l.find('=');
        if (eq != std::string::npos && eq > 0 && l[0] != '#' && keys.size() < 64) keys.push_back(l.substr(0, eq));
        line = eol ? eol + 1 : line + l.size();
    }
    for (const std::string& key : keys) {
        try {
            const std::string v = p.getString(key);
            // The value is the rest of a line that starts with key=.
            const std::string needle = key + "=" + v;
            require(std::strstr(text, needle.c_str()) != nullptr);
        } catch (const BadValueException&) {
        }
        try {
            (void)p.getInt(key);
        } catch (const BadValueException&) {
        }
        try {
            (void)p.getFloat(key);
        } catch (const BadValueException&) {
        }
        try {
            int i[4] = {1, 2, 3, 4};
            p.get4i(key, i);
        } catch (const BadValueException&) {
        }
        try {
            float f[4] = {1, 2, 3, 4};
            p.get4f(key, f);
        } catch (const BadValueException&) {
        }
    }
    return 0;
}
