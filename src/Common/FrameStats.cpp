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

// Allocations per frame of one counter of the preloaded allocator.
struct AllocationTally {
    unsigned long (*count)() = nullptr; // null when the counter is not there
    unsigned long last = 0, total = 0, most = 0, frames_with = 0;

    void bind(const char* symbol)
    {
#ifndef _WIN32
        count = reinterpret_cast<unsigned long (*)()>(dlsym(RTLD_DEFAULT, symbol));
#endif
        if (count) last = count();
    }

    void frame(bool counted)
    {
        if (!count) return;
        const unsigned long now = count();
        if (counted) {
            total += now - last;
            most = std::max(most, now - last);
            if (now != last) ++frames_with;
        }
        last = now;
    }
};

bool enabled = false;
long first_scene_frame_ms = -1; // process clock when it was swapped
std::vector<double> times;
unsigned long counted_frames = 0;
AllocationTally all_allocations, game_allocations;

} // namespace

void frame_stats_enable(bool on)
{
    enabled = on;
    if (!on) return;
    times.reserve(1 << 16);
    all_allocations.bind("moorhold_malloc_calls");
    game_allocations.bind("moorhold_game_malloc_calls");
}

void frame_stats_frame(unsigned int frame, double seconds)
{
    if (!enabled) return;
    if (frame >= kFirstTimedFrame) times.push_back(seconds);
    if (frame == kFirstSceneFrame) first_scene_frame_ms = process_clock_ms();
    const bool counted = frame >= kFirstCountedFrame;
    if (counted) ++counted_frames;
    all_allocations.frame(counted);
    game_allocations.frame(counted);
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
    if (all_allocations.count)
        std::printf("heap allocations of the main thread from frame %u: %lu in %lu frames, at most %lu in one\n",
                    kFirstCountedFrame, all_allocations.total, counted_frames, all_allocations.most);
    if (game_allocations.count)
        std::printf("heap allocations of the game's own code from frame %u: %lu in %lu frames, in %lu of them, "
                    "at most %lu in one (the rest are the GL driver's and the system libraries')\n",
                    kFirstCountedFrame, game_allocations.total, counted_frames, game_allocations.frames_with,
                    game_allocations.most);
    if (!all_allocations.count)
        std::printf("heap allocations: not counted (no counting allocator loaded)\n");
}
