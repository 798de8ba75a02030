// The opponents' level: which file the level file's `difficulty` picks, the cycle of the key,
// and the refusal of a name the game does not know.
#include "Common/Difficulty.h"
#include "Common/ParameterFile.h"

#include "Console.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(DifficultyTest, TheLevelFilePicksTheOpponentsFileAndRefusesAnUnknownName)
{
    struct Case {
        const char* level_file;
        bool refused;
        const char* file; // the opponents' file picked
        const char* next; // the level the key goes to from it
    };
    const Case cases[] = {
        {"winning_points=300\ndifficulty=easy\n", false, ".\\config\\objects\\defaultHo_easy.p", "normal"},
        {"winning_points=300\ndifficulty=normal\n", false, ".\\config\\objects\\defaultHo.p", "hard"},
        {"difficulty=hard\n", false, ".\\config\\objects\\defaultHo_hard.p", "easy"},
        {"winning_points=300\n", false, ".\\config\\objects\\defaultHo.p", "hard"}, // absent: normal
        {"difficulty=Hard\n", true, nullptr, nullptr},
        {"difficulty=\n", true, nullptr, nullptr},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.write("level1.p", c.level_file);
        ParameterFile level(path);
        Difficulty d = Difficulty::Easy;
        bool refused = false;
        const Printed p = printed([&] {
            try { d = read_difficulty(level); } catch (const BadValueException&) { refused = true; }
        });
        ASSERT_EQ(refused, c.refused) << c.level_file;
        if (refused) {
            // The file, the key and the value named, then the program ends as for any bad value.
            const std::string value = std::string(c.level_file).substr(0, std::strlen(c.level_file) - 1);
            EXPECT_NE(p.err.find(value + " in " + path + ": the level is easy, normal or hard"), std::string::npos)
                << p.err;
            EXPECT_EQ(last_bad_value().key, "difficulty");
            EXPECT_EQ(last_bad_value().file, path);
            continue;
        }
        EXPECT_STREQ(opponent_file(d), c.file) << c.level_file;
        EXPECT_STREQ(difficulty_name(next_difficulty(d)), c.next) << c.level_file;
    }
}

} // namespace
