// The few calls that differ between platforms: file paths, clocks and the debug assertion.
// Game code opens every file through open_file, so the backslash paths of the data files
// ('.\config\gfx.p') work unchanged on POSIX.
#pragma once

#include <cstdio>
#include <string>

// The path with every '\' turned into '/' (on POSIX; unchanged elsewhere).
std::string native_path(const char* path);

// fopen on the native form of `path`. Messages should still print `path` as given. A file
// opened for reading must be a regular file: a pipe, a device or a directory standing at
// the name is refused (null, errno set) at once, never waited on.
FILE* open_file(const char* path, const char* mode);

// True when something other than a regular file stands at `path` (a pipe, a device, a
// directory): what a library would block on or fail to read. False for a regular file and
// for nothing at all, which the library reports in its own words.
bool names_a_non_regular_file(const std::string& path);

// The size in bytes of the open file, or -1 when it is not a regular file (a directory, a
// device, a pipe) and so has no size that could be read whole.
long long regular_file_size(FILE* f);

// The working directory, for messages; "the working directory" when it cannot be had.
std::string current_directory();

// The running executable's own path, or "" where it cannot be had.
std::string executable_path();

// True when `path` names a regular file (following links).
bool is_regular_file(const std::string& path);

// The user's home folder: $HOME, else the account's; "" when there is none.
std::string home_directory();

// Changes the working directory; false (errno set) when it cannot.
bool change_directory(const std::string& dir);

// True when this process may create files in `dir`.
bool directory_writable(const std::string& dir);

// Makes `dir` with any missing parents, each new one open to its owner only. False (errno
// set) when it cannot be made.
bool make_private_directories(const std::string& dir);

// Files that are written whole or not at all. A writer creates a fresh temporary file beside
// the final name ("<final>.<process id>.XXXXXX", made exclusively, so never through a link
// or over another file) and renames it into place once it is complete: a link, a pipe or a
// file standing at the final name is replaced, not written through, and a reader never
// sees half a file. Null (errno set) when the temporary file cannot be made.
FILE* create_temporary_beside(const std::string& final_path, std::string& temporary_path);
// Puts the finished temporary file in place. False (errno set) when it cannot be renamed.
bool replace_file(const std::string& temporary_path, const std::string& final_path);
// Removes what runs that ended mid-write (a crash, a signal during start-up) left in `dir`:
// temporary files of names beginning with `prefix` whose process is gone. Files of a
// process still running (another copy of the game) are left alone. Returns how many went.
int remove_stale_temporaries(const std::string& dir, const std::string& prefix);

// The process's resident memory in kilobytes, or -1 where it cannot be read.
long resident_kb();

// Seconds on a monotonic clock with sub-microsecond resolution (the simulation clock).
double monotonic_seconds();

// Milliseconds since the program started, on the monotonic clock: the clock of the
// opponents, the ship and the crystal lifetimes. (The C library's clock() counts processor
// time of every thread, which runs fast while the GL driver renders on two threads and
// stands still while the game waits.)
long process_clock_ms();

// Tests: makes process_clock_ms return `ms` until called again; a negative value lets the
// clock run again.
void hold_process_clock(long ms);

// The pause: while stopped, process_clock_ms stands where it was, and once it runs again it
// goes on from there, the stopped time left out. A held clock (above) stays held either way.
void stop_process_clock(bool stopped);

// A clock that can be stopped: it reads the time of an outside clock (seconds) minus every
// span during which it stood. Stopping twice or running twice changes nothing.
class PausableClock {
public:
    double now(double outside) const;
    void stop(double outside);
    void run(double outside);
    bool stopped() const { return stopped_at >= 0.0; }

private:
    double stopped_total = 0.0;
    double stopped_at = -1.0;
};

// Sleeps the calling thread for `seconds` (nothing for zero or less).
void sleep_seconds(double seconds);

// The game timer of the frame loop: each reading returns the seconds elapsed since the
// previous reading; the first reading only sets the reference and returns 0.
class GameTimer {
public:
    double read();

private:
    double last = -1.0;
};

// Under the address sanitizer: keeps every shared library loaded so far in memory until the
// process ends. The GL driver is unloaded when SDL shuts down, before the leak check runs at
// exit; leaks inside it would then show no library name to be recognised by. Does nothing
// in ordinary builds.
void keep_loaded_libraries_for_leak_check();

// Ctrl-C, SIGTERM and SIGHUP (the terminal closed). SDL turns the first two into quit
// events, which nothing reads while the game loads; so once SDL is up the game takes all
// three itself. Until the frame loop first asks
// quit_signal_pending, a signal ends the program at once, as it would without SDL; from
// then on it is a quit request that the loop picks up within a frame and shuts down on.
void install_quit_signals();
bool quit_signal_pending();

// A failed debug assertion: prints the expression, the source and the line on standard
// error and ends the program with status 3, as an aborted assertion does.
[[noreturn]] void debug_assertion_failed(const char* text, const char* source, int line);

#define DEBUG_ASSERT(cond, text, source)                              \
    do {                                                              \
        if (!(cond)) debug_assertion_failed(text, source, __LINE__);  \
    } while (0)
