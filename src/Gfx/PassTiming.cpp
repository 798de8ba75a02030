#include "Gfx/PassTiming.h"

#include "Common/Platform.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

bool enabled = false;
double started[static_cast<int>(Pass::Count)] = {};
std::clock_t started_cpu[static_cast<int>(Pass::Count)] = {};
std::vector<double> samples[static_cast<int>(Pass::Count)];
std::vector<double> cpu_samples[static_cast<int>(Pass::Count)];
std::vector<double> frames;
std::vector<double> cpu_frames;

const char* const kNames[] = {"sky", "grid", "rings", "water_grid", "shadow",
                              "main", "reflect_refract", "surface", "beams", "composite",
                              "main.models", "main.ground", "main.shade"};

} // namespace

void pass_timing_enable(bool on) { enabled = on; }

bool pass_timing_enabled() { return enabled; }

void pass_begin(Pass pass)
{
    if (!enabled) return;
    glFinish();
    started[static_cast<int>(pass)] = monotonic_seconds();
    started_cpu[static_cast<int>(pass)] = std::clock();
}

void pass_end(Pass pass)
{
    if (!enabled) return;
    glFinish();
    int i = static_cast<int>(pass);
    samples[i].push_back(monotonic_seconds() - started[i]);
    cpu_samples[i].push_back(double(std::clock() - started_cpu[i]) / CLOCKS_PER_SEC);
}

void pass_timing_frame(double seconds, double cpu_seconds)
{
    if (!enabled) return;
    frames.push_back(seconds);
    cpu_frames.push_back(cpu_seconds);
}

double median_of(std::vector<double> v)
{
    if (v.empty()) return 0.0;
    size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + mid, v.end());
    double upper = v[mid];
    if (v.size() % 2) return upper;
    double lower = *std::max_element(v.begin(), v.begin() + mid);
    return 0.5 * (lower + upper);
}

void pass_timing_report()
{
    if (!enabled) return;
    std::printf("pass timing over %zu frames (median ms): frame %.2f cpu %.2f", frames.size(),
                median_of(frames) * 1000.0, median_of(cpu_frames) * 1000.0);
    for (int i = 0; i < static_cast<int>(Pass::Count); ++i)
        std::printf(" %s %.2f", kNames[i], median_of(samples[i]) * 1000.0);
    std::printf("\npass processor time (median ms):");
    for (int i = 0; i < static_cast<int>(Pass::Count); ++i)
        std::printf(" %s %.2f", kNames[i], median_of(cpu_samples[i]) * 1000.0);
    std::printf("\n");
}
