// Where the game finds its data and where it writes its cooked tiles, wherever it is started.
#include "Common/CommandLine.h"
#include "Common/DataDir.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(DataDir, TheNamedFolderAloneElseBesideTheExecutableThenTheInstalledShareAndScratchFilesWhereWritable)
{
    EXPECT_EQ(data_dir_candidates("/usr/bin/moorhold", "/opt/mine"), std::vector<std::string>{"/opt/mine"});
    EXPECT_EQ(data_dir_candidates("/usr/bin/moorhold", ""),
              (std::vector<std::string>{"/usr/bin", "/usr/bin/../share/moorhold"}));
    EXPECT_EQ(data_dir_candidates("/home/me/build/game/EZG", nullptr),
              (std::vector<std::string>{"/home/me/build/game", "/home/me/build/game/../share/moorhold"}));
    EXPECT_TRUE(data_dir_candidates("", nullptr).empty()) << "no executable path, nowhere to look";

    const std::set<std::string> with_settings = {"/usr/bin/../share/moorhold"};
    auto holds = [&](const std::string& d) { return with_settings.count(d) > 0; };
    EXPECT_EQ(first_data_dir(data_dir_candidates("/usr/bin/moorhold", nullptr), holds), "/usr/bin/../share/moorhold");
    EXPECT_EQ(first_data_dir(data_dir_candidates("/elsewhere/moorhold", nullptr), holds), "");
    // Scratch files stay in a writable data folder, else go to the user's cache.
    const struct {
        bool writable;
        const char *xdg, *home, *expected;
    } cases[] = {
        {true, "/c", "/h", ""},                          // the data folder itself
        {false, "/c", "/h", "/c/moorhold"},              // XDG_CACHE_HOME first
        {false, nullptr, "/h", "/h/.cache/moorhold"},    // its default under the home folder
        {false, "", "/h", "/h/.cache/moorhold"},         // set but empty: the default
        {false, "cache", "/h", "/h/.cache/moorhold"},    // relative: to be ignored
        {false, nullptr, "", ""},                        // nowhere at all
    };
    for (const auto& c : cases)
        EXPECT_EQ(scratch_dir_for(c.writable, c.xdg, c.home), c.expected) << (c.xdg ? c.xdg : "(unset)");
}

TEST(CommandLine, PlaysWithoutArgumentsAnswersHelpAndVersionAndRefusesTheRest)
{
    const struct {
        std::vector<const char*> args;
        CommandLineAction action;
        const char* refused;
    } cases[] = {
        {{"moorhold"}, CommandLineAction::play, ""},
        {{"moorhold", "--help"}, CommandLineAction::help, ""},
        {{"moorhold", "--version"}, CommandLineAction::version, ""},
        {{"moorhold", "-h"}, CommandLineAction::refuse, "-h"},
        {{"moorhold", "--help", "now"}, CommandLineAction::refuse, "now"},
        {{"moorhold", ""}, CommandLineAction::refuse, ""},
    };
    for (const auto& c : cases) {
        std::string refused;
        EXPECT_EQ(parse_command_line(int(c.args.size()), c.args.data(), &refused), c.action) << c.args.back();
        EXPECT_EQ(refused, c.refused) << c.args.back();
    }
    EXPECT_NE(usage_text("/usr/share/moorhold").find("(this copy: /usr/share/moorhold)"), std::string::npos);
}

} // namespace
