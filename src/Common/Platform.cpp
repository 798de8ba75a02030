#include "Common/Platform.h"

#include <cerrno>
#include <chrono>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <csignal>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#endif

#ifndef _WIN32
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#include <link.h>
#endif

std::string native_path(const char* path)
{
    std::string p = path ? path : "";
#ifndef _WIN32
    for (char& c : p)
        if (c == '\\') c = '/';
#endif
    return p;
}

FILE* open_file(const char* path, const char* mode)
{
    const std::string native = native_path(path);
#ifdef _WIN32
    return std::fopen(native.c_str(), mode);
#else
    if (!mode || mode[0] != 'r' || std::strchr(mode, '+')) return std::fopen(native.c_str(), mode);
    // Opened without waiting: a pipe with no writer would otherwise block the open for ever.
    int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st = {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* f = fdopen(fd, mode);
    if (!f) close(fd);
    return f;
#endif
}

bool names_a_non_regular_file(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) != S_IFREG;
}

long long regular_file_size(FILE* f)
{
    if (!f) return -1;
#ifdef _WIN32
    struct _stat64 st;
    if (_fstat64(_fileno(f), &st) != 0 || !(st.st_mode & _S_IFREG)) return -1;
#else
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
#endif
    return static_cast<long long>(st.st_size);
}

std::string current_directory()
{
    char buffer[4096];
#ifdef _WIN32
    if (_getcwd(buffer, sizeof buffer)) return buffer;
#else
    if (getcwd(buffer, sizeof buffer)) return buffer;
#endif
    return "the working directory";
}

std::string executable_path()
{
#ifdef _WIN32
    return "";
#else
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    buffer[n] = '\0';
    return buffer;
#endif
}

bool is_regular_file(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFREG;
}

std::string home_directory()
{
    const char* home = std::getenv("HOME");
    if (home && home[0]) return home;
#ifndef _WIN32
    if (const passwd* pw = getpwuid(getuid()))
        if (pw->pw_dir && pw->pw_dir[0]) return pw->pw_dir;
#endif
    return "";
}

bool change_directory(const std::string& dir)
{
#ifdef _WIN32
    return _chdir(dir.c_str()) == 0;
#else
    return chdir(dir.c_str()) == 0;
#endif
}

bool directory_writable(const std::string& dir)
{
#ifdef _WIN32
    return true;
#else
    return access(dir.c_str(), W_OK | X_OK) == 0;
#endif
}

bool make_private_directories(const std::string& dir)
{
#ifdef _WIN32
    return _mkdir(dir.c_str()) == 0 || errno == EEXIST;
#else
    if (dir.empty()) return false;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
        return false;
    }
    const size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !make_private_directories(dir.substr(0, slash))) return false;
    return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
#endif
}

FILE* create_temporary_beside(const std::string& final_path, std::string& temporary_path)
{
#ifdef _WIN32
    temporary_path = final_path + ".tmp";
    return std::fopen(temporary_path.c_str(), "wb");
#else
    std::string name = final_path + "." + std::to_string(static_cast<long>(getpid())) + ".XXXXXX";
    // mkstemp creates the file with O_CREAT | O_EXCL: nothing that already stands at the
    // name, a link least of all, is opened.
    int fd = mkstemp(name.data());
    if (fd < 0) return nullptr;
    FILE* f = fdopen(fd, "wb");
    if (!f) {
        int error = errno;
        close(fd);
        unlink(name.c_str());
        errno = error;
        return nullptr;
    }
    temporary_path = name;
    return f;
#endif
}

bool replace_file(const std::string& temporary_path, const std::string& final_path)
{
    return std::rename(temporary_path.c_str(), final_path.c_str()) == 0;
}

namespace {

// The process id in a temporary file's name "<prefix...>.<pid>.XXXXXX", or -1.
long temporary_owner(const std::string& name)
{
    const size_t last = name.find_last_of('.');
    if (last == std::string::npos || last == 0 || name.size() - last != 7) return -1;
    const size_t before = name.find_last_of('.', last - 1);
    if (before == std::string::npos || before + 1 == last) return -1;
    long pid = 0;
    for (size_t i = before + 1; i < last; ++i) {
        if (name[i] < '0' || name[i] > '9' || pid > 100000000) return -1;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

} // namespace

int remove_stale_temporaries(const std::string& dir, const std::string& prefix)
{
#ifdef _WIN32
    (void)dir;
    (void)prefix;
    return 0;
#else
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return 0;
    int removed = 0;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const long pid = temporary_owner(name);
        if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)) continue;
        const std::string path = dir.empty() ? name : dir + "/" + name;
        if (unlink(path.c_str()) == 0) ++removed;
    }
    closedir(d);
    return removed;
#endif
}

long resident_kb()
{
#ifdef _WIN32
    return -1;
#else
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    long pages = 0, resident = 0;
    const bool ok = std::fscanf(f, "%ld %ld", &pages, &resident) == 2;
    std::fclose(f);
    return ok ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
#endif
}

double monotonic_seconds()
{
    using clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

namespace {

// Taken during static initialisation, which is as close to the program's start as the
// game can get.
const double process_start_seconds = monotonic_seconds();
long held_process_clock = -1;
PausableClock process_clock;

} // namespace

long process_clock_ms()
{
    if (held_process_clock >= 0) return held_process_clock;
    return static_cast<long>(process_clock.now(monotonic_seconds() - process_start_seconds) * 1000.0);
}

void stop_process_clock(bool stopped)
{
    const double outside = monotonic_seconds() - process_start_seconds;
    if (stopped)
        process_clock.stop(outside);
    else
        process_clock.run(outside);
}

double PausableClock::now(double outside) const
{
    return (stopped() ? stopped_at : outside) - stopped_total;
}

void PausableClock::stop(double outside)
{
    if (!stopped()) stopped_at = outside;
}

void PausableClock::run(double outside)
{
    if (!stopped()) return;
    if (outside > stopped_at) stopped_total += outside - stopped_at;
    stopped_at = -1.0;
}

void sleep_seconds(double seconds)
{
    if (seconds > 0.0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void hold_process_clock(long ms)
{
    held_process_clock = ms < 0 ? -1 : ms;
}

double GameTimer::read()
{
    double now = monotonic_seconds();
    if (last < 0.0) {
        last = now;
        return 0.0;
    }
    double dt = now - last;
    last = now;
    return dt;
}

namespace {

volatile std::sig_atomic_t events_are_read = 0;
volatile std::sig_atomic_t quit_signal = 0;

extern "C" void on_quit_signal(int sig)
{
    if (!events_are_read) {
        // Nothing of the start-up is worth finishing: end as the signal asks, at once.
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    quit_signal = 1;
}

} // namespace

void install_quit_signals()
{
#ifdef _WIN32
    std::signal(SIGINT, on_quit_signal);
    std::signal(SIGTERM, on_quit_signal);
#else
    struct sigaction action = {};
    action.sa_handler = on_quit_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed terminal: the game ends as it does for the other two, in order once it plays.
    sigaction(SIGHUP, &action, nullptr);
#endif
}

bool quit_signal_pending()
{
    events_are_read = 1;
    return quit_signal != 0;
}

void debug_assertion_failed(const char* text, const char* source, int line)
{
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", text, source, line);
    std::fflush(stderr);
    std::exit(3);
}

void keep_loaded_libraries_for_leak_check()
{
#if defined(__SANITIZE_ADDRESS__) && !defined(_WIN32)
    dl_iterate_phdr(
        [](struct dl_phdr_info* info, size_t, void*) -> int {
            if (info->dlpi_name && info->dlpi_name[0])
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
#endif
}
