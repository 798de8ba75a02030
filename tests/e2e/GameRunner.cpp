#include "e2e/GameRunner.h"

#include "HostileFiles.h"
#include "TempDir.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

std::string shell_quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

fs::path game_dir()
{
    const char* d = std::getenv("MOORHOLD_GAME_DIR");
    return d ? fs::path(d) : fs::path(MOORHOLD_EZG).parent_path();
}

Image load_image_rgb(const std::string& path)
{
    Image img;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &img.width, &img.height, &channels, 3);
    if (!data) return Image();
    img.rgb.assign(data, data + static_cast<size_t>(img.width) * img.height * 3);
    stbi_image_free(data);
    return img;
}

Image load_xwd(const std::string& path)
{
    // The header: 25 big-endian words; then the window's name and the colour map entries.
    const std::string bytes = read_file(path);
    auto word = [&](size_t i) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data()) + 4 * i;
        return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    };
    if (bytes.size() < 100) return Image();
    const uint32_t header = word(0), format = word(2), width = word(4), height = word(5), lsb_first = word(7) == 0,
                   bits = word(11), line = word(12), red = word(14), green = word(15), blue = word(16),
                   colours = word(19);
    const size_t start = size_t(header) + size_t(colours) * 12;
    // Only what the virtual X server writes: a true-colour picture of 32-bit pixels.
    if (format != 2 || bits != 32 || red != 0xff0000 || green != 0xff00 || blue != 0xff ||
        start + size_t(line) * height > bytes.size())
        return Image();
    Image img{int(width), int(height), std::vector<unsigned char>(size_t(width) * height * 3)};
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + start + y * line + 4 * x;
            unsigned char* out = &img.rgb[(size_t(y) * width + x) * 3];
            // Blue, green, red in memory order when the low byte comes first.
            out[0] = lsb_first ? p[2] : p[1];
            out[1] = lsb_first ? p[1] : p[2];
            out[2] = lsb_first ? p[0] : p[3];
        }
    return img;
}

GameRun run_game(const RunOptions& options)
{
    GameRun run;
    std::string tmpl = (fs::temp_directory_path() / "moorhold-run-XXXXXX").string();
    run.dir = mkdtemp(tmpl.data());
    run.remover = std::shared_ptr<void>(nullptr, [dir = run.dir](void*) {
        std::error_code ec;
        if (!std::getenv("MOORHOLD_KEEP_RUNS")) fs::remove_all(dir, ec);
    });

    const fs::path src = game_dir();
    fs::copy(src / "config", run.dir / "config", fs::copy_options::recursive);
    for (const char* linked : {"media", "shader"})
        if (fs::exists(src / linked)) fs::create_directory_symlink(src / linked, run.dir / linked);
    if (options.prepare) options.prepare(run.dir);

    // A statement of its own: a game started in the background must not take the change
    // of directory with it.
    std::string cmd = "cd " + shell_quote(run.dir.string()) + " || exit 1; ";
    // The run directory is the game's data directory, as an installed game's would be.
    cmd += "MOORHOLD_DATA_DIR=" + shell_quote(run.dir.string()) + " ";
    if (options.frames >= 0) cmd += "MOORHOLD_FRAMES=" + std::to_string(options.frames) + " ";
    if (options.screenshot) cmd += "MOORHOLD_SCREENSHOT=" + shell_quote((run.dir / "shot.png").string()) + " ";
    for (const auto& [k, v] : options.env) cmd += k + "=" + shell_quote(v) + " ";
    cmd += "timeout " + std::to_string(options.timeout_seconds) + " ";
    cmd += shell_quote(MOORHOLD_XVFB_RUN) + " ";
    const std::string log = shell_quote((run.dir / "log.txt").string());
    if (!options.player.empty()) {
        std::ofstream(run.dir / "player.sh", std::ios::binary) << options.player << "\n";
        cmd += shell_quote(MOORHOLD_PLAY_INPUT) + " " + log + " " + shell_quote((run.dir / "player.sh").string()) + " " +
               shell_quote(MOORHOLD_EZG) + " > /dev/null 2>&1";
    } else if (!options.signal) {
        cmd += shell_quote(MOORHOLD_EZG) + " > " + log + " 2>&1";
    } else {
        // The game writes its log itself, so that it can be watched while the game runs,
        // and leaves its process id behind to be signalled by.
        cmd += "sh -c 'echo $$ > game.pid; exec \"$0\" >> \"$1\" 2>&1' " + shell_quote(MOORHOLD_EZG) + " " + log +
               " > /dev/null 2>&1 & runner=$!; i=0; ";
        cmd += "until grep -qF -- " + shell_quote(options.signal_after) + " " + log +
               " 2>/dev/null || ! kill -0 $runner 2>/dev/null || [ $i -ge 30000 ]; do sleep 0.01; i=$((i+1)); done; ";
        cmd += "kill -" + std::to_string(options.signal) + " $(cat game.pid); date +%s.%N > signalled_at; ";
        cmd += "wait $runner; status=$?; date +%s.%N > ended_at; exit $status";
    }

    int status = std::system(cmd.c_str());
    if (status != -1 && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    run.log = read_file(run.dir / "log.txt");
    if (options.signal && fs::exists(run.dir / "signalled_at") && fs::exists(run.dir / "ended_at"))
        run.seconds_after_signal =
            std::stod(read_file(run.dir / "ended_at")) - std::stod(read_file(run.dir / "signalled_at"));
    if (options.screenshot && fs::exists(run.dir / "shot.png"))
        run.screenshot = load_image_rgb((run.dir / "shot.png").string());
    return run;
}

Image snapshot_of(const GameRun& run, const std::string& name)
{
    return load_xwd((run.dir / (name + ".xwd")).string());
}

GameRun run_game(long frames, Env env, Prepare prepare, bool screenshot)
{
    RunOptions opt;
    opt.frames = frames;
    opt.screenshot = screenshot;
    opt.env = std::move(env);
    opt.prepare = std::move(prepare);
    return run_game(opt);
}

RunOptions session(std::string script, Env env, int width, int height, Prepare more)
{
    RunOptions opt;
    opt.frames = 1000000;
    opt.screenshot = false;
    opt.env = std::move(env);
    opt.player = std::move(script);
    opt.prepare = [=](const fs::path& dir) {
        use_small_window(dir, width, height);
        if (more) more(dir);
    };
    return opt;
}

::testing::AssertionResult ran_cleanly(const GameRun& run, bool with_screenshot)
{
    if (run.exit_code != 0) return ::testing::AssertionFailure() << "status " << run.exit_code << "\n" << run.log;
    if (with_screenshot && run.screenshot.empty()) return ::testing::AssertionFailure() << "no screenshot\n" << run.log;
    for (const char* bad : {"OpenGL ERROR", "Failed to compile"})
        if (count_of(run.log, bad)) return ::testing::AssertionFailure() << bad << "\n" << run.log;
    if (!run.sanitizer_report().empty()) return ::testing::AssertionFailure() << run.sanitizer_report() << "\n" << run.log;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult refused(const GameRun& run, int status, const std::vector<std::string>& messages)
{
    if (run.exit_code != status)
        return ::testing::AssertionFailure() << "status " << run.exit_code << ", not " << status << "\n" << run.log;
    for (const std::string& m : messages)
        if (run.log.find(m) == std::string::npos) return ::testing::AssertionFailure() << "no \"" << m << "\"\n" << run.log;
    if (!run.sanitizer_report().empty()) return ::testing::AssertionFailure() << run.sanitizer_report() << "\n" << run.log;
    return ::testing::AssertionSuccess();
}

std::string GameRun::sanitizer_report() const
{
    for (const char* mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                             "SUMMARY: AddressSanitizer", "SUMMARY: UndefinedBehaviorSanitizer"}) {
        size_t at = log.find(mark);
        if (at == std::string::npos) continue;
        size_t begin = log.rfind('\n', at);
        begin = begin == std::string::npos ? 0 : begin + 1;
        return log.substr(begin, log.find('\n', at) - begin);
    }
    return "";
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
    for (size_t pos = log.find(needle); pos != std::string::npos; pos = log.find(needle, pos + needle.size())) ++count;
    return count;
}

fs::path own_game_file(const fs::path& run_dir, const fs::path& relative)
{
    fs::path at = run_dir;
    for (const fs::path& part : relative.parent_path()) {
        at /= part;
        if (!fs::is_symlink(at)) continue;
        const fs::path target = fs::read_symlink(at);
        fs::remove(at);
        fs::create_directory(at);
        for (const fs::directory_entry& e : fs::directory_iterator(target))
            fs::create_symlink(e.path(), at / e.path().filename());
    }
    const fs::path file = run_dir / relative;
    std::error_code ec;
    fs::remove_all(file, ec);
    return file;
}

void remove_key(const fs::path& file, const std::string& key)
{
    std::istringstream in(read_file(file));
    std::string out;
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, key.size() + 1, key + "=") != 0) out += line + "\n";
    std::ofstream(file, std::ios::binary) << out;
}

void set_key(const fs::path& file, const std::string& key, const std::string& value)
{
    remove_key(file, key);
    std::ofstream(file, std::ios::binary | std::ios::app) << key << "=" << value << "\n";
}

void use_small_window(const fs::path& dir, int width, int height)
{
    set_key(dir / "config/gfx.p", "screen_width", std::to_string(width));
    set_key(dir / "config/gfx.p", "screen_height", std::to_string(height));
}

void use_test_height_map(const fs::path& dir, int side, int level)
{
    std::vector<uint16_t> samples;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) samples.push_back(static_cast<uint16_t>(std::min(level + (x + y) * 8, 65535)));
    std::ofstream(dir / "test_map.hm", std::ios::binary) << hostile::hm_file(side, side, samples);
    std::ofstream(dir / "config" / "map" / "map1.p", std::ios::binary) << "filename=.\\test_map.hm\n";
}
