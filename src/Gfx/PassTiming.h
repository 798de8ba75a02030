// Per-pass timing for the benchmark: when switched on, each pass ends with glFinish and
// its wall time is kept; at shutdown the medians are printed. Off, it costs nothing.
#pragma once

#include <vector>

// The last three lie inside Main: its models, its ground positions and the ground's shading.
enum class Pass {
    Sky,
    Grid,
    Rings,
    WaterGrid,
    Shadow,
    Main,
    Mirror,
    Surface,
    Beams,
    Composite,
    MainModels,
    MainGround,
    MainShade,
    Count
};

void pass_timing_enable(bool on);
bool pass_timing_enabled();

void pass_begin(Pass pass);
void pass_end(Pass pass);
// The whole frame, start to swap, in wall time and in processor time of all the game's
// threads (the driver's included): the second stays meaningful on a busy machine.
void pass_timing_frame(double seconds, double cpu_seconds);

// "pass timing over N frames (median ms): frame ... cpu ... grid ..." on standard output.
void pass_timing_report();

// The median of a list of samples (0 for none).
double median_of(std::vector<double> samples);
