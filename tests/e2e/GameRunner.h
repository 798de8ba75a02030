// Runs the real game executable under a virtual X server and hands back what a player and
// a tester would see: the exit status, the console log and the last frame as an image.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // row 0 at the top
    bool empty() const { return rgb.empty(); }
    const unsigned char* pixel(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Decodes any image stb_image reads (PNG, JPEG, BMP, TGA) into RGB.
Image load_image_rgb(const std::string& path);

// Reads a window as xwd wrote it from the X server (the snapshot of play-input.sh); empty
// when the file is not a true-colour picture of 32-bit pixels.
Image load_xwd(const std::string& path);

using Env = std::vector<std::pair<std::string, std::string>>;
// Called with the run directory after it is assembled, to change its files.
using Prepare = std::function<void(const std::filesystem::path&)>;

struct RunOptions {
    long frames = 120;      // MOORHOLD_FRAMES; a negative number leaves it unset (a player's run)
    bool screenshot = true; // MOORHOLD_SCREENSHOT into the run directory
    Env env;                // further variables
    Prepare prepare;
    int timeout_seconds = 300;
    // Sent to the game itself (not to the X server's script) once its log holds `signal_after`.
    int signal = 0;
    std::string signal_after;
    // A player at the keyboard: a bash script run beside the game once its window shows, with
    // the functions of tests/e2e/play-input.sh; its keys reach the game through the X server.
    std::string player;
};

struct GameRun {
    int exit_code = -1;      // the game's status (255 for -1), or -1 when it did not end normally
    std::string log;         // standard output and standard error, interleaved in order
    std::filesystem::path dir;
    Image screenshot;        // empty when none was written
    double seconds_after_signal = -1; // from the signal to the game's end; -1 when none was sent
    // Removes the run directory with the last copy of the run unless MOORHOLD_KEEP_RUNS is set.
    std::shared_ptr<void> remover;

    // The first line of a sanitizer's report in the log, or "" when there is none.
    std::string sanitizer_report() const;
};

// Runs the game in a fresh directory: config/ copied so tests can change it, media/ and
// shader/ linked from the built game directory.
GameRun run_game(const RunOptions& options = RunOptions());

// The window as the player's script took it with `snapshot NAME` (empty when it did not).
Image snapshot_of(const GameRun& run, const std::string& name);

// The run most tests want: `frames` frames with these variables after `prepare`.
GameRun run_game(long frames, Env env = {}, Prepare prepare = nullptr, bool screenshot = false);

// A player's session in a window of `width` x `height` (then `more` changes the run
// directory) that only the player's `script` ends: no frame count, no screenshot.
RunOptions session(std::string script, Env env, int width, int height, Prepare more = nullptr);

// Status 0, no OpenGL or shader compiler error nor a sanitizer's report, and the screenshot
// when one was asked for.
::testing::AssertionResult ran_cleanly(const GameRun& run, bool with_screenshot = true);

// The game refused to go on: this status, every message in the log, no sanitizer's report.
::testing::AssertionResult refused(const GameRun& run, int status, const std::vector<std::string>& messages);

// `s` quoted for a POSIX shell.
std::string shell_quote(const std::string& s);

// The built game directory (MOORHOLD_GAME_DIR).
std::filesystem::path game_dir();

// True when every needle occurs in `log`, each after the previous one.
bool appear_in_order(const std::string& log, const std::vector<std::string>& needles);

// Number of times `needle` occurs in `log`.
int count_of(const std::string& log, const std::string& needle);

// Makes `relative` (under the linked media/ or shader/) the run's own: each directory on the
// way becomes a real directory of links, and whatever stood there is removed. Returns its path.
std::filesystem::path own_game_file(const std::filesystem::path& run_dir, const std::filesystem::path& relative);

// Removes the line defining `key` from a parameter file.
void remove_key(const std::filesystem::path& file, const std::string& key);

// Gives `key` of a parameter file the value `value` (its line moves to the end).
void set_key(const std::filesystem::path& file, const std::string& key, const std::string& value);

// A small window (the end-to-end runs of gameplay keep the suite quick with it).
void use_small_window(const std::filesystem::path& dir, int width = 400, int height = 300);

// Writes a small "hm" height map (side x side samples of a gentle slope around `level`)
// into the run directory and points config/map/map1.p at it.
void use_test_height_map(const std::filesystem::path& dir, int side = 256, int level = 20000);
