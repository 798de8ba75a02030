#include "Gfx/ShaderSource.h"

namespace {

// The quoted name of an include line ("#include" and the quotes with blanks around them
// allowed), or "" when the line is anything else.
std::string included_name(const std::string& line)
{
    size_t at = line.find_first_not_of(" \t");
    const std::string keyword = "#include";
    if (at == std::string::npos || line.compare(at, keyword.size(), keyword) != 0) return "";
    at = line.find_first_not_of(" \t", at + keyword.size());
    if (at == std::string::npos || line[at] != '"') return "";
    const size_t close = line.find('"', at + 1);
    if (close == std::string::npos || close == at + 1) return "";
    if (line.find_first_not_of(" \t\r", close + 1) != std::string::npos) return "";
    return line.substr(at + 1, close - at - 1);
}

} // namespace

std::string shader_folder(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? "" : path.substr(0, cut + 1);
}

std::string expand_shader_includes(const std::string& source, const std::string& folder,
                                   const ShaderFileReader& read)
{
    std::string out;
    out.reserve(source.size());
    size_t begin = 0;
    while (begin < source.size()) {
        size_t end = source.find('\n', begin);
        const bool last = end == std::string::npos;
        if (last) end = source.size();
        const std::string line = source.substr(begin, end - begin);
        const std::string name = included_name(line);
        if (name.empty()) {
            out += line;
        } else {
            out += read(folder + name);
            if (!out.empty() && out.back() == '\n') out.pop_back();
        }
        if (!last) out += '\n';
        begin = end + 1;
    }
    return out;
}
