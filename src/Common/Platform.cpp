#include "Common/Platform.h"

#include <chrono>
#include <thread>
#include <cstdlib>
#include <ctime>

#include <csignal>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#endif

#ifndef _WIN32
#include <dlfcn.h>
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
    return std::fopen(native_path(path).c_str(), mode);
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
