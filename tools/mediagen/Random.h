// Deterministic random numbers for the data generator. Every generator seeds its own Rng
// with a fixed constant, so the game data come out byte for byte the same on every run and
// on every machine (no time, no global state, no libc rand()).
#pragma once

#include <cstdint>

// SplitMix64: tiny, fast and of good quality for procedural content.
class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}

    uint64_t next_u64()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t next_u32() { return uint32_t(next_u64() >> 32); }
    // Uniform in [0, 1).
    double uniform() { return double(next_u64() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [lo, hi).
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [0, n); n > 0.
    uint32_t below(uint32_t n) { return uint32_t((uint64_t(next_u32()) * n) >> 32); }

private:
    uint64_t state;
};

// Stateless hashes of lattice coordinates, the basis of the noise functions: the same
// coordinates and seed always give the same value, in any order and from any thread.
inline uint32_t hash_u32(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

inline uint32_t hash2(int32_t x, int32_t y, uint32_t seed)
{
    return hash_u32(uint32_t(x) * 0x8DA6B343u ^ hash_u32(uint32_t(y) * 0xD8163841u ^ seed));
}

inline uint32_t hash3(int32_t x, int32_t y, int32_t z, uint32_t seed)
{
    return hash_u32(uint32_t(x) * 0x8DA6B343u ^
                    hash_u32(uint32_t(y) * 0xD8163841u ^ hash_u32(uint32_t(z) * 0xCB1AB31Fu ^ seed)));
}

// Hash to [0, 1).
inline float hash_unit(uint32_t h) { return float(h >> 8) * (1.0f / 16777216.0f); }
