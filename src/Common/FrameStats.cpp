#include "Common/FrameStats.h"

#include "Common/Platform.h"
#include "Gfx/PassTiming.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

// Frames 0 to 12 show the title; twenty more let the driver settle its caches.
const unsigned int kFirstTimedFrame = 33;
// By then the level has dropped its first crystals and every pool has grown.
const unsigned int kFirstCountedFrame = 100;

// The first frame that shows the scene rather than the title.
const unsigned int kFirstSceneFrame = 13;

bool enabled = false;
long first_scene_frame_ms = -1; // process clock when it was swapped
std::vector<double> times;
unsigned long allocations_total = 0, allocations_max = 0, counted_frames = 0;
unsigned long last_count = 0;
unsigned long (*allocation_count)() = nullptr; // the preloaded counter, when there is one

} // namespace

void frame_stats_enable(bool on)
{
    enabled = on;
#ifndef _WIN32
    if (on) allocation_count = reinterpret_cast<unsigned long (*)()>(dlsym(RTLD_DEFAULT, "moorhold_malloc_calls"));
#endif
    if (allocation_count) last_count = allocation_count();
}

void frame_stats_frame(unsigned int frame, double seconds)
{
    if (!enabled) return;
    if (frame >= kFirstTimedFrame) times.push_back(seconds);
    if (frame == kFirstSceneFrame) first_scene_frame_ms = process_clock_ms();
    if (!allocation_count) return;
    unsigned long now = allocation_count();
    if (frame >= kFirstCountedFrame) {
        unsigned long n = now - last_count;
        allocations_total += n;
        allocations_max = std::max(allocations_max, n);
        ++counted_frames;
    }
    last_count = now;
}

void frame_stats_report()
{
    if (!enabled) return;
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    double p95 = sorted.empty() ? 0 : sorted[std::min(sorted.size() - 1, sorted.size() * 95 / 100)];
    std::printf("frame times over %zu frames: median %.2f ms p95 %.2f ms\n", sorted.size(),
                median_of(times) * 1000.0, p95 * 1000.0);
    if (first_scene_frame_ms >= 0)
        std::printf("first frame after the title: %.2f s after the start\n", first_scene_frame_ms / 1000.0);
    if (allocation_count)
        std::printf("heap allocations of the main thread from frame %u: %lu in %lu frames, at most %lu in one\n",
                    kFirstCountedFrame, allocations_total, counted_frames, allocations_max);
    else
        std::printf("heap allocations: not counted (no counting allocator loaded)\n");
}
