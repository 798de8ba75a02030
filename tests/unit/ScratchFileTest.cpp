// Scratch files are written whole or not at all, beside their final name, never through
// whatever stands there, and what a run cut short left behind goes at the next start.
#include "Common/Platform.h"
#include "Physics/Stream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

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
// pipe's reader are never touched, and nothing is left beside the file.
TEST(ScratchFile, ReplacesWhatStandsAtItsNameWithoutWritingThroughIt)
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
        int files = 0;
        for (const auto& e : fs::directory_iterator(dir.path)) files += e.is_directory() ? 0 : 1;
        EXPECT_EQ(files, 1) << "no temporary file is left beside the tile";
    }
}

TEST(ScratchFile, AWriterThatIsNotCommittedLeavesNothing)
{
    TempDir dir;
    write_tile(dir.file("tmp_1.bin"), 7, false);
    EXPECT_TRUE(fs::is_empty(dir.path));
}

// A temporary file of a process that has gone is removed; another copy's, still writing,
// and files of other names are kept.
TEST(ScratchFile, StaleTemporariesOfEndedRunsGoOthersStay)
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

} // namespace
