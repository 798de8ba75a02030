#include "Common/Difficulty.h"

#include "Common/ParameterFile.h"

DifficultyChoice difficulty_choice;

const char* difficulty_name(Difficulty d)
{
    switch (d) {
    case Difficulty::Easy: return "easy";
    case Difficulty::Hard: return "hard";
    default: return "normal";
    }
}

const char* opponent_file(Difficulty d)
{
    switch (d) {
    case Difficulty::Easy: return ".\\config\\objects\\defaultHo_easy.p";
    case Difficulty::Hard: return ".\\config\\objects\\defaultHo_hard.p";
    default: return ".\\config\\objects\\defaultHo.p";
    }
}

bool parse_difficulty(const std::string& name, Difficulty& out)
{
    for (Difficulty d : {Difficulty::Easy, Difficulty::Normal, Difficulty::Hard})
        if (name == difficulty_name(d)) {
            out = d;
            return true;
        }
    return false;
}

Difficulty next_difficulty(Difficulty d)
{
    switch (d) {
    case Difficulty::Easy: return Difficulty::Normal;
    case Difficulty::Normal: return Difficulty::Hard;
    default: return Difficulty::Easy;
    }
}

Difficulty read_difficulty(const ParameterFile& level)
{
    std::string name;
    try {
        name = level.getString("difficulty");
    } catch (const BadValueException&) {
        return Difficulty::Normal;
    }
    Difficulty d = Difficulty::Normal;
    if (!parse_difficulty(name, d)) refuse_value(level, "difficulty", "the level is easy, normal or hard");
    return d;
}
