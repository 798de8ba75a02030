// Frame figures for the frame benchmark (MOORHOLD_FRAME_TIMES=1): the wall time of every
// frame once the title and the driver's warm-up are past, and the heap allocations the
// main thread makes per frame once the game has settled. Allocations are counted only when
// the benchmark preloads its counting allocator; otherwise they are reported as unknown.
#pragma once

void frame_stats_enable(bool on);

// After each frame's swap: its number (from 0) and its wall time in seconds.
void frame_stats_frame(unsigned int frame, double seconds);

// "frame times over N frames: median ... p95 ..." and the allocation line, on standard output.
void frame_stats_report();
