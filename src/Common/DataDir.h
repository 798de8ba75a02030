// Where the game finds its data and where it writes its scratch files.
//
// The game reads every file relative to its working directory ('.\config\gfx.p'). Started
// from anywhere, it first finds its data directory and changes into it, so those paths
// hold: the folder MOORHOLD_DATA_DIR names, else the executable's own folder when it holds
// config/gfx.p (the build tree), else ../share/moorhold from it (installed). The cooked
// terrain tiles go into the data directory when it is writable, else into the user's cache.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The folders to look in, in order. A set MOORHOLD_DATA_DIR (`env_dir`) is the only one:
// whoever names a folder means that folder.
std::vector<std::string> data_dir_candidates(const std::string& executable_path, const char* env_dir);

// The first of `candidates` that `holds_settings` accepts, or "".
std::string first_data_dir(const std::vector<std::string>& candidates,
                           const std::function<bool(const std::string&)>& holds_settings);

// Finds the data directory and makes it the working directory: the folder MOORHOLD_DATA_DIR
// names (as it is), else the first candidate holding config/gfx.p. When there is none, says
// where it looked on standard error and returns false.
bool enter_data_dir();

// The folder for scratch files: "" (the working directory, that is the data directory) when
// that is writable; else "$XDG_CACHE_HOME/moorhold" when XDG_CACHE_HOME is an absolute path,
// else "<home>/.cache/moorhold"; "" with no home either.
std::string scratch_dir_for(bool data_dir_writable, const char* xdg_cache_home, const char* home);

// The scratch folder chosen at start-up ("" for the working directory).
extern std::string scratch_dir;

// Chooses the scratch folder, makes it (owner-only) and clears what a run cut short left
// there. False, with a message, when no folder can be written.
bool prepare_scratch_dir();

// `name` in the scratch folder.
std::string scratch_path(const std::string& name);
