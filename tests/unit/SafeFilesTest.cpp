// Files are read only when they are files, and written whole or not at all: scratch files
// beside their final name, never through whatever stands there, and what a run cut short
// left behind goes at the next start.
#include "Common/Platform.h"
#include "Physics/Stream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void write_tile(const std::string& path, NxU32 value, bool commit = true)
{
    UserStream out(path.c_str(), false);
    out.storeDword(value);
    if (commit) out.commit();
}

// Whatever stands at the final name is replaced by the new file; a link's target and a
// pipe's reader are never touched, and nothing is left beside the file, nor by a writer that gives up.
TEST(SafeFiles, ReplacesWhatStandsAtItsNameWithoutWritingThroughIt)
{
    TempDir dir;
    const std::string elsewhere = dir.write("elsewhere/keep.txt", "precious");
    const struct {
        const char* what;
        std::function<void(const std::string&)> put;
    } cases[] = {
        {"nothing", [](const std::string&) {}},
        {"an older tile", [&](const std::string& p) { dir.write(fs::path(p).filename().string(), "old bytes"); }},
        {"a link to a file elsewhere", [&](const std::string& p) { fs::create_symlink(elsewhere, p); }},
        {"a dangling link", [&](const std::string& p) { fs::create_symlink(dir.file("gone"), p); }},
        {"a pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string tile = dir.file("tmp_0.bin");
        fs::remove(tile);
        c.put(tile);
        write_tile(tile, 0x0A0B0C0D);
        EXPECT_FALSE(fs::is_symlink(tile));
        EXPECT_TRUE(fs::is_regular_file(tile));
        EXPECT_EQ(read_file(tile), std::string("\x0D\x0C\x0B\x0A", 4));
        EXPECT_EQ(read_file(elsewhere), "precious");
        // A writer that is not committed leaves nothing either.
        write_tile(dir.file("tmp_1.bin"), 7, false);
        int files = 0;
        for (const auto& e : fs::directory_iterator(dir.path)) files += e.is_directory() ? 0 : 1;
        EXPECT_EQ(files, 1) << "no temporary file is left beside the tile";
    }
}

// A temporary file of a process that has gone is removed; another copy's, still writing,
// and files of other names are kept.
TEST(SafeFiles, StaleTemporariesOfEndedRunsGoOthersStay)
{
    TempDir dir;
    pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string stale = "tmp_0.bin." + std::to_string(gone) + ".a1B2c3";
    const std::string running = "tmp_1.bin." + std::to_string(getpid()) + ".Zz9Yy8";
    for (const std::string& name : {stale, running, std::string("tmp_2.bin"), std::string("tmp_3.bin.old"),
                                    std::string("other.1.abcdef")})
        dir.write(name, "x");
    EXPECT_EQ(remove_stale_temporaries(dir.path.string(), "tmp_"), 1);
    EXPECT_FALSE(fs::exists(dir.path / stale));
    for (const char* kept : {"tmp_2.bin", "tmp_3.bin.old", "other.1.abcdef"}) EXPECT_TRUE(fs::exists(dir.path / kept));
    EXPECT_TRUE(fs::exists(dir.path / running));
}

// A pipe nobody writes into, a device or a directory at a name the game reads is refused at
// once: the open never waits on it.
TEST(SafeFiles, WhatIsNoFileIsRefusedForReadingWithoutWaiting)
{
    TempDir dir;
    const std::string pipe = dir.file("camera_path.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(dir.path / "folder");
    for (const std::string& path : {pipe, std::string("/dev/zero"), dir.file("folder")}) {
        const auto start = std::chrono::steady_clock::now();
        FILE* f = open_file(path.c_str(), "rb");
        EXPECT_EQ(f, nullptr) << path;
        if (f) std::fclose(f);
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0) << path;
        EXPECT_TRUE(names_a_non_regular_file(path)) << path;
    }
    const std::string file = dir.write("gfx.p", "a=1\n");
    FILE* f = open_file(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fgetc(f), 'a') << "a file opened without waiting reads as any other";
    std::fclose(f);
    EXPECT_FALSE(names_a_non_regular_file(file));
    EXPECT_FALSE(names_a_non_regular_file(dir.file("nothing")));
}

} // namespace
