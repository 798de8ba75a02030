// What the benchmarks share: a clock in milliseconds and a way to run the game's chatty
// set-up without its console output.
#pragma once

#include <chrono>
#include <cstdio>
#include <unistd.h>

inline double now_ms()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs `f` with standard output and standard error sent to /dev/null.
template <class F>
void quietly(F f)
{
    std::fflush(stdout);
    std::fflush(stderr);
    int saved_out = dup(1), saved_err = dup(2);
    FILE* null = std::fopen("/dev/null", "w");
    dup2(fileno(null), 1);
    dup2(fileno(null), 2);
    f();
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(saved_out, 1);
    dup2(saved_err, 2);
    close(saved_out);
    close(saved_err);
    std::fclose(null);
}
