// The 16 slices of the animated water height field (media/waveanim/hm_<n>_von_16.bmp).
//
// Each slice is a 128 x 128 grey image. The field is a sum of travelling waves whose wave
// vectors are whole numbers of cycles across the tile and whose phases advance by whole
// cycles over the 16 slices, so it tiles in x and y and slice 16 runs smoothly into slice 1.
// Frequencies follow deep-water dispersion (temporal frequency ~ sqrt of the wave number)
// and the directions spread around one wind direction, which reads as a wind-driven swell.
#include "World.h"

#include "ImageWrite.h"
#include "Output.h"
#include "Random.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Wave {
    int kx, ky;    // cycles across the tile
    int cycles;    // temporal cycles over the whole animation
    float amp;
    float phase;
};

std::vector<Wave> make_waves()
{
    Rng rng(0x5EA5EA51u);
    std::vector<Wave> waves;
    const double wind = 0.6; // radians
    for (int i = 0; i < 48; ++i) {
        // Wave number from 2 to ~16 cycles per tile, more energy in the long waves.
        double k = 2.0 + 14.0 * std::pow(rng.uniform(), 1.6);
        double dir = wind + (rng.uniform() - 0.5) * 2.2 * (0.5 + 0.5 * rng.uniform());
        int kx = int(std::lround(k * std::cos(dir)));
        int ky = int(std::lround(k * std::sin(dir)));
        if (kx == 0 && ky == 0) kx = 2;
        double kk = std::sqrt(double(kx * kx + ky * ky));
        int cycles = std::max(1, int(std::lround(0.55 * std::sqrt(kk))));
        float amp = float(1.0 / std::pow(kk, 1.15) * (0.7 + 0.6 * rng.uniform()));
        waves.push_back({kx, ky, cycles, amp, float(rng.uniform() * 2.0 * M_PI)});
    }
    return waves;
}

} // namespace

std::vector<Image> make_wave_slices(int size, int count)
{
    const std::vector<Wave> waves = make_waves();
    std::vector<std::vector<float>> fields(size_t(count), std::vector<float>(size_t(size) * size));
    float lo = 1e9f, hi = -1e9f;
    for (int s = 0; s < count; ++s) {
        const double t = double(s) / count;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                double h = 0.0;
                for (const Wave& w : waves) {
                    double arg = 2.0 * M_PI * (double(w.kx * x + w.ky * y) / size - w.cycles * t) + w.phase;
                    // A touch of the trochoid: crests sharper than troughs.
                    double c = std::cos(arg);
                    h += w.amp * (c + 0.18 * std::cos(2.0 * arg - 0.4));
                }
                float v = float(h);
                fields[size_t(s)][size_t(y) * size + x] = v;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    // One scale for all slices, so the animation does not pump; a little headroom at both
    // ends so that the game's gradient encoding never sees clipped plateaus.
    const float scale = 240.0f / (hi - lo);
    std::vector<Image> slices;
    for (int s = 0; s < count; ++s) {
        Image img(size, size, 1);
        for (size_t i = 0; i < img.pixels.size(); ++i)
            img.pixels[i] = uint8_t(std::lround(8.0f + (fields[size_t(s)][i] - lo) * scale));
        slices.push_back(std::move(img));
    }
    return slices;
}

bool generate_wave_slices(Output& out)
{
    bool ok = true;
    std::vector<Image> slices = make_wave_slices(128, 16);
    for (size_t i = 0; i < slices.size(); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "media/waveanim/hm_%zu_von_16.bmp", i + 1);
        ok = write_bmp8(out, name, slices[i]) && ok;
    }
    return ok;
}
