// How hard the opponents drive: three levels, each with its own opponent parameter file. The
// level file names the level of the first game; a key cycles the choice during the run, and a
// new choice takes effect when the next game starts.
#pragma once

#include <string>

class ParameterFile;

enum class Difficulty { Easy, Normal, Hard };

// "easy", "normal" or "hard".
const char* difficulty_name(Difficulty d);

// The opponents' parameter file of a level.
const char* opponent_file(Difficulty d);

// The level of a name as the level file writes it; false (out unchanged) for any other text.
bool parse_difficulty(const std::string& name, Difficulty& out);

// Easy, normal, hard, then easy again.
Difficulty next_difficulty(Difficulty d);

// The `difficulty` key of the level file. A missing key is normal: the key is the game's own,
// added beside the design's level file, whose copies without it must go on working. Any other
// name is refused like a bad value, naming the file, the key and the value.
Difficulty read_difficulty(const ParameterFile& level);

struct DifficultyChoice {
    Difficulty in_use = Difficulty::Normal; // the opponents of the game being played
    Difficulty chosen = Difficulty::Normal; // the opponents of the next game
};

extern DifficultyChoice difficulty_choice;
