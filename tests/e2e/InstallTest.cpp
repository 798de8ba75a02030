// The game installed like a Linux game: into a prefix, run from anywhere with its data
// read-only, packed as a Debian package, with a desktop entry, metadata and a manual page
// that the desktop's own tools accept.
#include "e2e/GameRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <tuple>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs a shell command; its status (or -1) and everything it printed.
std::pair<int, std::string> shell(const std::string& command, const fs::path& output)
{
    int status = std::system((command + " > " + shell_quote(output.string()) + " 2>&1").c_str());
    return {status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(output)};
}

// The command ends with status 0 (its output in the message when it does not).
::testing::AssertionResult succeeds(const std::string& command, const fs::path& output)
{
    auto [status, printed] = shell(command, output);
    if (status == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status " << status << " of " << command << "\n" << printed;
}

// Every file under `dir`, relative to it.
std::vector<std::string> files_under(const fs::path& dir)
{
    std::vector<std::string> all;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); it != fs::recursive_directory_iterator(); ++it)
        if (!it->is_directory()) all.push_back(fs::relative(it->path(), dir).string());
    return all;
}

// One installation into a temporary DESTDIR, shared by the tests of this file.
class Installed : public ::testing::Test {
protected:
    struct Installation {
        TempDir root;
        int status = -1;
        std::string log;
    };
    static const Installation& installation()
    {
        static Installation it;
        if (it.status == -1)
            std::tie(it.status, it.log) = shell("DESTDIR=" + shell_quote((it.root.path / "dest").string()) +
                                                    " cmake --install " + shell_quote(MOORHOLD_BUILD_DIR) + " --prefix /usr",
                                                it.root.path / "install.log");
        return it;
    }
    void SetUp() override { ASSERT_EQ(installation().status, 0) << installation().log; }

    static fs::path prefix() { return installation().root.path / "dest" / "usr"; }

    // The installed game for `frames` frames from `cwd`, HOME and the cache in `home`, the
    // data directory read-only: a private read-only mount where the test may make one
    // (a root user writes through file modes), else the files' write bits taken away.
    std::string run_installed(const fs::path& cwd, const fs::path& home, int frames) const
    {
        const std::string data = (prefix() / "share" / "moorhold").string();
        std::string game = "cd " + shell_quote(cwd.string()) + " && HOME=" + shell_quote(home.string()) +
                           " XDG_CACHE_HOME=" + shell_quote((home / "cache").string()) +
                           " SDL_AUDIODRIVER=dummy MOORHOLD_FRAMES=" + std::to_string(frames) + " timeout 300 " +
                           shell_quote(MOORHOLD_XVFB_RUN) + " " + shell_quote((prefix() / "bin" / "moorhold").string());
        if (geteuid() != 0) return "chmod -R a-w " + shell_quote(data) + " && " + game;
        return "unshare -m sh -c " +
               shell_quote("mount --bind " + shell_quote(data) + " " + shell_quote(data) +
                           " && mount -o remount,bind,ro " + shell_quote(data) + " && " + game);
    }
};

// What an installation under /usr holds, and the Debian package with it.
const char* const kInstalledFiles[] = {
    "bin/moorhold", "share/moorhold/config/gfx.p", "share/moorhold/shader/pgmland_vs.c",
    "share/moorhold/media/font/out.fnt", "share/applications/moorhold.desktop",
    "share/icons/hicolor/48x48/apps/moorhold.png", "share/icons/hicolor/64x64/apps/moorhold.png",
    "share/icons/hicolor/128x128/apps/moorhold.png", "share/icons/hicolor/256x256/apps/moorhold.png",
    "share/man/man6/moorhold.6"};

TEST_F(Installed, LaysTheGameOutAsALinuxGame)
{
    for (const char* f : kInstalledFiles) EXPECT_TRUE(fs::is_regular_file(prefix() / f)) << f;
    EXPECT_FALSE(fs::exists(prefix() / "share/moorhold/media/contact_sheet.png"));
    std::vector<std::string> metainfo = files_under(prefix() / "share/metainfo");
    ASSERT_EQ(metainfo.size(), 1u);

    // The desktop's own tools accept the entry, the metadata (with its screenshot) and the page.
    const fs::path out = installation().root.path / "validate.log";
    const fs::path desktop = prefix() / "share/applications/moorhold.desktop";
    EXPECT_TRUE(succeeds("desktop-file-validate " + shell_quote(desktop.string()), out));
    const fs::path meta = prefix() / "share/metainfo" / metainfo[0];
    EXPECT_TRUE(succeeds("appstreamcli validate --no-net " + shell_quote(meta.string()), out));
    EXPECT_NE(read_file(meta).find("<screenshot type=\"default\">"), std::string::npos);
    auto [man, page] = shell("MANWIDTH=80 man -l " + shell_quote((prefix() / "share/man/man6/moorhold.6").string()), out);
    EXPECT_EQ(man, 0) << page;
    EXPECT_TRUE(appear_in_order(page, {"NAME", "moorhold", "SYNOPSIS", "--help", "FILES", "XDG_CACHE_HOME"})) << page;

    auto [version, version_log] = shell(shell_quote((prefix() / "bin/moorhold").string()) + " --version", out);
    EXPECT_EQ(version, 0) << version_log;
    EXPECT_TRUE(std::regex_search(version_log, std::regex(R"(moorhold \d+\.\d+\.\d+)"))) << version_log;
    auto [bad, usage] = shell(shell_quote((prefix() / "bin/moorhold").string()) + " --frobnicate", out);
    EXPECT_EQ(bad, 2) << usage;
    EXPECT_NE(usage.find("Usage: moorhold"), std::string::npos) << usage;
}

TEST_F(Installed, RunsFromAnyFolderWithItsDataReadOnlyAndItsTilesInTheCache)
{
    TempDir here;
    fs::create_directories(here.path / "cwd");
    fs::create_directories(here.path / "home");
    const std::vector<std::string> data_before = files_under(prefix() / "share/moorhold");
    auto [status, log] = shell(run_installed(here.path / "cwd", here.path / "home", 60), here.path / "log.txt");
    ASSERT_EQ(status, 0) << log;
    EXPECT_NE(log.find("starting main loop"), std::string::npos) << log;
    EXPECT_TRUE(fs::is_empty(here.path / "cwd"));
    EXPECT_EQ(files_under(prefix() / "share/moorhold"), data_before);
    const fs::path cache = here.path / "home" / "cache" / "moorhold";
    EXPECT_TRUE(fs::is_regular_file(cache / "tmp_0.bin")) << log;
    EXPECT_EQ(fs::status(cache).permissions() & fs::perms::all, fs::perms::owner_all);
}

// Two players' copies started at the same moment share one cache folder: each writes its
// tiles under names of its own and renames them into place.
TEST_F(Installed, TwoCopiesStartedAtOnceShareOneCache)
{
    TempDir here;
    fs::create_directories(here.path / "home");
    std::string both;
    for (const char* who : {"a", "b"}) {
        fs::create_directories(here.path / who);
        both += "(" + run_installed(here.path / who, here.path / "home", 40) + " > " +
                shell_quote((here.path / who / "log.txt").string()) + " 2>&1; echo $? > " +
                shell_quote((here.path / who).string()) + "/status) & ";
    }
    both += "wait";
    shell(both, here.path / "both.log");
    for (const char* who : {"a", "b"}) {
        SCOPED_TRACE(who);
        EXPECT_EQ(read_file(here.path / who / "status"), "0\n") << read_file(here.path / who / "log.txt");
    }
    std::vector<std::string> cache = files_under(here.path / "home" / "cache" / "moorhold");
    std::sort(cache.begin(), cache.end());
    EXPECT_EQ(cache, (std::vector<std::string>{"tmp_0.bin", "tmp_1.bin", "tmp_2.bin", "tmp_3.bin"}));
}

// The Debian package holds the game and names the libraries it needs. On a disposable
// machine (MOORHOLD_INSTALL_PACKAGE=1, as root) it is installed, run and removed again.
TEST(Package, CpackMakesADebianPackageThatNamesItsLibraries)
{
    TempDir here;
    const std::string build = MOORHOLD_BUILD_DIR;
    auto [status, log] = shell("cd " + shell_quote(build) + " && cpack -G DEB -B " + shell_quote(here.path.string()),
                               here.path / "cpack.log");
    ASSERT_EQ(status, 0) << log;
    std::vector<std::string> debs;
    for (const auto& e : fs::directory_iterator(here.path))
        if (std::regex_match(e.path().filename().string(), std::regex(R"(moorhold_\d+\.\d+\.\d+_amd64\.deb)")))
            debs.push_back(e.path().string());
    ASSERT_EQ(debs.size(), 1u) << log;
    const std::string deb = shell_quote(debs[0]);

    auto [listed, contents] = shell("dpkg-deb -c " + deb, here.path / "contents.txt");
    ASSERT_EQ(listed, 0) << contents;
    for (const char* f : kInstalledFiles) EXPECT_NE(contents.find(std::string("./usr/") + f), std::string::npos) << f;
    auto [fields, depends] = shell("dpkg-deb -f " + deb + " Depends", here.path / "depends.txt");
    ASSERT_EQ(fields, 0) << depends;
    for (const char* lib : {"libsdl1.2", "libsdl-mixer1.2", "libsdl-image1.2", "libglew", "libbullet"})
        EXPECT_NE(depends.find(lib), std::string::npos) << lib << " in: " << depends;

    const char* disposable = std::getenv("MOORHOLD_INSTALL_PACKAGE");
    if (geteuid() != 0 || !disposable || std::string(disposable) != "1") {
        std::printf("not installing the package: that needs root on a disposable machine (MOORHOLD_INSTALL_PACKAGE=1)\n");
        return;
    }
    auto [installed, apt_log] = shell("apt-get install -y -qq --no-install-recommends " + deb, here.path / "apt.log");
    ASSERT_EQ(installed, 0) << apt_log;
    auto [ran, version] = shell("cd / && moorhold --version", here.path / "version.txt");
    EXPECT_EQ(ran, 0) << version;
    EXPECT_NE(version.find("moorhold "), std::string::npos) << version;
    EXPECT_TRUE(succeeds("apt-get remove -y -qq moorhold", here.path / "remove.log"));
    EXPECT_FALSE(fs::exists("/usr/share/moorhold/config/gfx.p"));
}

} // namespace
