// The parameter files' reading, and the files under them: read only when they are files,
// and written whole or not at all: scratch files beside their final name, never through
// whatever stands there, and what a run cut short left behind goes at the next start.
#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Physics/Stream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
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
    const struct { const char* what; std::function<void(const std::string&)> put; } cases[] = {
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

// The value read by f as text, or "throws".
template <class F> std::string read(F f)
{
    try {
        std::ostringstream out;
        out << f();
        return out.str();
    } catch (const BadValueException&) {
        return "throws";
    }
}

TEST(ParameterFileTest, ValuesAreTakenLiterally)
{
    const char* const no = "throws";
    struct Case { const char *what, *text, *key, *string, *as_int, *as_float; } cases[] = {
        {"an empty value is an empty string but not a number", "key=\nother=1\n", "key", "", no, no},
        {"nothing is trimmed", "key=  42\nwaveScale =1\n", "key", "  42", "42", "42"},
        {"a key with a blank", "key=  42\nwaveScale =1\n", "waveScale", no, no, no},
        {"...is found with it", "key=  42\nwaveScale =1\n", "waveScale ", "1", "1", "1"},
        {"an int stops where it cannot go on, a float must be a number alone", "f=2.5xyz\n", "f", "2.5xyz", "2", no},
        {"...blanks after it are no junk", "f=2.5 \t\n", "f", "2.5 \t", "2", "2.5"},
        {"NaN is no setting", "f=nan\n", "f", "nan", no, no},
        {"nor a float beyond a float", "f=1e39\n", "f", "1e39", "1", no},
        {"an int beyond 32 bits is refused, not wrapped", "i=4294967296\n", "i", "4294967296", no, "4.29497e+09"},
        {"...below them too", "i=-2147483649\n", "i", "-2147483649", no, "-2.14748e+09"},
        {"a value that is no number", "key=abc\n", "key", "abc", no, no},
        {"the first definition wins", "a=first\na=second\n", "a", "first", no, no},
        {"a hash in column one is a comment", "#key=5\n #key=6\n", "#key", no, no, no},
        {"...and hides the key", "#key=5\n #key=6\n", "key", no, no, no},
        {"...but not in column two", "#key=5\n #key=6\n", " #key", "6", "6", "6"},
        {"a leading equals sign is ignored", "=5\na=b=c\nnoequals\n", "", no, no, no},
        {"later ones belong to the value", "=5\na=b=c\nnoequals\n", "a", "b=c", no, no},
        {"a line without one has no key", "=5\na=b=c\nnoequals\n", "noequals", no, no, no},
        {"keys are case-sensitive", "Key=1\n", "key", no, no, no},
        {"a CR stays in strings", "s=text\r\nf=1.5\r\n", "s", "text\r", no, no},
        {"...but not in numbers", "s=text\r\nf=1.5\r\n", "f", "1.5\r", "1", "1.5"},
        {"the last line needs no newline", "a=1\nlast=99", "last", "99", "99", "99"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterFile p(dir.write("test.p", c.text));
        EXPECT_EQ(read([&] { return p.getString(c.key); }), c.string);
        EXPECT_EQ(read([&] { return p.getInt(c.key); }), c.as_int);
        EXPECT_EQ(read([&] { return p.getFloat(c.key); }), c.as_float);
    }
}

TEST(ParameterFileTest, FourNumbersLeaveUnreadElementsAloneAMissingKeyLeavesTheReaderUsableAndRangesAreKept)
{
    TempDir dir;
    ParameterFile p(dir.write("test.p", "key=1 2\nk=1 2 3 4 5\nbad=abc\n"));
    float out[4] = {-1, -1, -3, -4};
    p.get4f("key", out);
    EXPECT_FLOAT_EQ(out[1], 2);
    EXPECT_FLOAT_EQ(out[2], -3);
    int full[4] = {};
    p.get4i("k", full);
    EXPECT_EQ(full[3], 4);
    EXPECT_THROW(p.get4i("bad", full), BadValueException);
    // After a missing key the reader stays usable (its key and file are judged in the audio and graphics tests).
    EXPECT_THROW(p.getFloat("screen_width"), BadValueException);
    EXPECT_EQ(p.getInt("k"), 1);
    dir.write("test.p", "k=2\n");
    EXPECT_EQ(p.getInt("k"), 1) << "the text is fixed at construction";

    // A reader given its keys' ranges refuses numbers outside them, whichever accessor reads
    // them; a key the tables do not know is a slip of the program.
    static const KeyRange body[] = {{"mass", 0.001, 1000, "a body needs a mass"}, {"count", 1, 150, nullptr}};
    static const KeyRange colours[] = {{"cc", 0, 1, nullptr}};
    ParameterFile ranged(dir.write("ranged.p", "mass=-40\ncount=150\ncc=0.5 1.5\nheavy=40\nzero=0\n"), {body, colours});
    EXPECT_THROW(ranged.getFloat("mass"), BadValueException);
    EXPECT_EQ(last_bad_value().key, "mass");
    EXPECT_EQ(ranged.getInt("count"), 150) << "the range includes its ends";
    float cc[4] = {};
    EXPECT_THROW(ranged.get4f("cc", cc), BadValueException) << "each of several numbers";
    EXPECT_DEATH(ranged.getFloat("heavy"), "Assertion failed: key has a range");
    EXPECT_EQ(ranged.getString("zero"), "0") << "strings have no range";
}

// What cannot be read whole (a directory, a missing file) ends the program with status 1: judged
// where the game reads its files (BadInputTest); devices and pipes are refused by SafeFiles above.
TEST(TextFileTest, KeepsBytesExactlyAndAddsNul)
{
    TempDir dir;
    std::string bytes("a\r\nb\0c", 6);
    TextFile f(dir.write("raw.bin", bytes).c_str());
    ASSERT_EQ(f.length, 6u);
    EXPECT_EQ(std::string(f.text, f.length), bytes);
    EXPECT_EQ(f.text[6], '\0');
}

} // namespace
