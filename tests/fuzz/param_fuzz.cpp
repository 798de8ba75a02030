// Parameter files through each typed accessor, for the keys the input defines and a few it may
// not: a lookup never hands back another key's value.
#include "Common/ParameterFile.h"
#include "FuzzFile.h"

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A missing or malformed value is the accessor's answer, not a finding.
template <typename F>
void tolerate(F accessor)
{
    try {
        accessor();
    } catch (const BadValueException&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ParameterFile p(fuzz_file("in.p", data, size).c_str());
    std::vector<std::string> keys = {"screen_width", "font_tex", "A", " #key", "", "winning_points"};
    // The keys as the file's lines define them, up to the first NUL (the text's end).
    const char* text = p.file->text;
    std::istringstream lines(text);
    for (std::string l; keys.size() < 64 && std::getline(lines, l);) {
        const size_t eq = l.find('=');
        if (eq != std::string::npos && eq > 0 && l[0] != '#') keys.push_back(l.substr(0, eq));
    }
    for (const std::string& key : keys) {
        // The value is the rest of a line that starts with key=.
        tolerate([&] { require(std::strstr(text, (key + "=" + p.getString(key)).c_str()) != nullptr); });
        tolerate([&] { (void)p.getInt(key); });
        tolerate([&] { (void)p.getFloat(key); });
        int i[4] = {1, 2, 3, 4};
        tolerate([&] { p.get4i(key, i); });
        float f[4] = {1, 2, 3, 4};
        tolerate([&] { p.get4f(key, f); });
    }
    return 0;
}
