// The hovers' ground rays, drawn as arrows when a hover's rays are switched on. The game
// records them during its update; the main image draws them over its models and ground.
#pragma once

#include <vector>

struct DebugRay {
    float from[3];
    float to[3];
    float colour[3];
};

// The rays as fixed-function lines in the bound image's view: each a shaft from `from` to
// `to` and a head of four barbs at `to`.
void draw_debug_rays(const std::vector<DebugRay>& rays);

// The ten line ends of one ray's arrow (the shaft, then the four barbs), x y z each.
void debug_ray_lines(const DebugRay& ray, float out[30]);
