#include "e2e/GameRunner.h"

#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string shell_quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::string read_file(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace

GameRun::GameRun(GameRun&& o) noexcept
    : exit_code(o.exit_code), log(std::move(o.log)), dir(std::move(o.dir)), screenshot(std::move(o.screenshot))
{
    o.dir.clear();
}

GameRun::~GameRun()
{
    if (dir.empty() || std::getenv("MOORHOLD_KEEP_RUNS")) return;
    std::error_code ec;
    fs::remove_all(dir, ec);
}

fs::path game_dir()
{
    const char* d = std::getenv("MOORHOLD_GAME_DIR");
    return d ? fs::path(d) : fs::path(MOORHOLD_EZG).parent_path();
}

Image load_image_rgb(const std::string& path)
{
    Image img;
    int n = 0;
    unsigned char* data = stbi_load(path.c_str(), &img.width, &img.height, &n, 3);
    if (!data) return Image();
    img.rgb.assign(data, data + static_cast<size_t>(img.width) * img.height * 3);
    stbi_image_free(data);
    return img;
}

GameRun run_game(const RunOptions& options)
{
    GameRun run;
    std::string tmpl = (fs::temp_directory_path() / "moorhold-run-XXXXXX").string();
    run.dir = mkdtemp(tmpl.data());

    const fs::path src = game_dir();
    fs::copy(src / "config", run.dir / "config", fs::copy_options::recursive);
    for (const char* linked : {"media", "shader"})
        if (fs::exists(src / linked)) fs::create_directory_symlink(src / linked, run.dir / linked);
    if (options.prepare) options.prepare(run.dir);

    std::string cmd = "cd " + shell_quote(run.dir.string()) + " && ";
    cmd += "MOORHOLD_FRAMES=" + std::to_string(options.frames) + " ";
    if (options.screenshot) cmd += "MOORHOLD_SCREENSHOT=" + shell_quote((run.dir / "shot.png").string()) + " ";
    for (const auto& [k, v] : options.env) cmd += k + "=" + shell_quote(v) + " ";
    cmd += "timeout " + std::to_string(options.timeout_seconds) + " ";
    cmd += shell_quote(MOORHOLD_XVFB_RUN) + " ";
    cmd += shell_quote(MOORHOLD_EZG) + " > " + shell_quote((run.dir / "log.txt").string()) + " 2>&1";

    int status = std::system(cmd.c_str());
    if (status != -1 && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    run.log = read_file(run.dir / "log.txt");
    if (options.screenshot && fs::exists(run.dir / "shot.png"))
        run.screenshot = load_image_rgb((run.dir / "shot.png").string());
    return run;
}

bool appear_in_order(const std::string& log, const std::vector<std::string>& needles)
{
    size_t pos = 0;
    for (const std::string& n : needles) {
        size_t found = log.find(n, pos);
        if (found == std::string::npos) return false;
        pos = found + n.size();
    }
    return true;
}

int count_of(const std::string& log, const std::string& needle)
{
    int count = 0;
    for (size_t pos = log.find(needle); pos != std::string::npos; pos = log.find(needle, pos + needle.size()))
        ++count;
    return count;
}

void remove_key(const fs::path& file, const std::string& key)
{
    std::string text = read_file(file);
    std::istringstream in(text);
    std::string out, line;
    while (std::getline(in, line))
        if (line.compare(0, key.size() + 1, key + "=") != 0) out += line + "\n";
    std::ofstream(file, std::ios::binary) << out;
}

Rgb mean_colour(const Image& img, int x0, int y0, int x1, int y1)
{
    Rgb m;
    long n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = img.pixel(x, y);
            m.r += p[0];
            m.g += p[1];
            m.b += p[2];
            ++n;
        }
    if (n) {
        m.r /= n;
        m.g /= n;
        m.b /= n;
    }
    return m;
}

void use_test_height_map(const fs::path& dir, int side, int level)
{
    std::string bytes(12, '\0');
    bytes[0] = char(0xFA);
    for (int i = 0; i < 4; ++i) {
        bytes[4 + i] = char((side >> (8 * i)) & 0xFF);
        bytes[8 + i] = char((side >> (8 * i)) & 0xFF);
    }
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            int v = level + (x + y) * 8;
            if (v > 65535) v = 65535;
            bytes += char(v & 0xFF);
            bytes += char((v >> 8) & 0xFF);
        }
    std::ofstream(dir / "test_map.hm", std::ios::binary) << bytes;
    std::ofstream(dir / "config" / "map" / "map1.p", std::ios::binary) << "filename=.\\test_map.hm\n";
}
