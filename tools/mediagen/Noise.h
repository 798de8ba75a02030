// Lattice noise for the data generator: gradient noise, value noise, cellular (Worley)
// noise and their fractal sums, in 2-D and 3-D.
//
// The 2-D functions take an optional period in lattice cells: with a period p > 0 the
// lattice wraps every p cells, so noise sampled over [0, p) tiles seamlessly. The fractal
// sums double the frequency per octave and double the period with it, which keeps every
// octave periodic over the same texture. All results depend only on the arguments.
#pragma once

#include <cstdint>

namespace noise {

// Gradient (Perlin-style) noise, roughly in [-1, 1], 0 on lattice points.
float gradient2(float x, float y, uint32_t seed, int period = 0);
float gradient3(float x, float y, float z, uint32_t seed);

// Value noise: smooth interpolation of random lattice values, in [0, 1].
float value2(float x, float y, uint32_t seed, int period = 0);

// Fractal sum of gradient noise, normalised to roughly [-1, 1].
// `period` is the period of the first octave in lattice cells (0: no wrap).
float fbm2(float x, float y, int octaves, float gain, uint32_t seed, int period = 0);
float fbm3(float x, float y, float z, int octaves, float gain, uint32_t seed);

// Ridged fractal sum (sharp crests), in [0, 1].
float ridged2(float x, float y, int octaves, float gain, uint32_t seed, int period = 0);

// Cellular noise: distances to the nearest and second nearest feature point (one point
// per lattice cell, jittered). Distances are in lattice units.
struct Cells {
    float f1;
    float f2;
    uint32_t id; // hash of the nearest point's cell, for per-cell colouring
};
Cells worley2(float x, float y, uint32_t seed, int period = 0);

} // namespace noise
