// The three effects: "collect" (bling.wav), a bright two-note bell chime; "vanished"
// (walum.wav), a wobbling "whoom" that sinks away; and "yipiee" (yipiee.wav), a synthesised
// voice crying "yippee!" over a small cheering crowd and a rising sparkle.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Sounds.h"

namespace {

const double kTau = 6.283185307179586;

// Two-operator FM bell.
void bell(Mix& m, double t0, double hz, double len, float vel)
{
    size_t f0 = size_t(t0 * kSampleRate), n = size_t(len * kSampleRate);
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kSampleRate;
        double idx = 3.0 * std::exp(-t * 9.0) + 0.4;
        double x = std::sin(kTau * hz * t + idx * std::sin(kTau * hz * 3.5 * t));
        double g = vel * std::exp(-t * 5.5) * std::min(1.0, t / 0.002);
        m.add(f0 + i, float(x * g), 0.0f);
    }
}

// A resonant band-pass (two-pole) for the voice formants.
struct Resonator {
    double y1 = 0, y2 = 0;
    double run(double x, double hz, double bw)
    {
        double r = std::exp(-3.14159265 * bw / kSampleRate);
        double c = 2.0 * r * std::cos(kTau * hz / kSampleRate);
        double y = (1.0 - r) * x + c * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

struct VoiceKey {
    double t;              // seconds from the voice's start
    double pitch;          // Hz
    double f1, f2, f3;     // formants
    double amp;            // 0 for a closure (the "pp")
};

// A formant voice following its key points (linear interpolation between them).
void voice(Mix& m, double t0, const std::vector<VoiceKey>& keys, float gain, uint32_t seed)
{
    const double len = keys.back().t;
    size_t f0 = size_t(t0 * kSampleRate), n = size_t(len * kSampleRate);
    Resonator r1, r2, r3;
    double phase = 0;
    size_t k = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kSampleRate;
        while (k + 2 < keys.size() && t > keys[k + 1].t)
            ++k;
        const VoiceKey &a = keys[k], &b = keys[k + 1];
        double w = std::clamp((t - a.t) / std::max(1e-6, b.t - a.t), 0.0, 1.0);
        auto lerp = [w](double x, double y) { return x + (y - x) * w; };
        double vib = 1.0 + 0.025 * std::sin(kTau * 6.0 * t) * std::min(1.0, t / 0.4);
        double hz = lerp(a.pitch, b.pitch) * vib;
        phase += hz / kSampleRate;
        phase -= std::floor(phase);
        // glottal pulse: a falling ramp with a little breath
        double src = (1.0 - 2.0 * phase) * 0.8 + 0.08 * noise_at(i, seed);
        double x = r1.run(src, lerp(a.f1, b.f1), 90.0) * 1.0 + r2.run(src, lerp(a.f2, b.f2), 120.0) * 0.6 +
                   r3.run(src, lerp(a.f3, b.f3), 160.0) * 0.35;
        m.add(f0 + i, float(x * lerp(a.amp, b.amp) * gain), 0.0f);
    }
}

} // namespace

Mix make_bling()
{
    Mix m(0.9);
    bell(m, 0.0, 1318.5, 0.85, 0.55f);  // E6
    bell(m, 0.07, 1975.5, 0.8, 0.5f);   // B6
    bell(m, 0.14, 2637.0, 0.7, 0.25f);  // E7 sparkle
    master(m, 0.85f, 0.0, 0.15);
    return m;
}

Mix make_walum()
{
    const double len = 1.35;
    Mix m(len);
    double ph = 0, ph2 = 0;
    Resonator bp;
    for (size_t i = 0; i < m.frames(); ++i) {
        double t = double(i) / kSampleRate, k = t / len;
        double wob = 1.0 + 0.08 * std::sin(kTau * 6.5 * t);
        double hz = 720.0 * std::pow(70.0 / 720.0, k) * wob;
        ph += kTau * hz / kSampleRate;
        ph2 += kTau * hz * 1.5 / kSampleRate;
        double tone = std::sin(ph) + 0.35 * std::sin(ph2) + 0.15 * std::sin(3 * ph);
        double whoosh = bp.run(noise_at(i, 4242), 2600.0 * std::pow(0.1, k), 400.0);
        double env = std::min(1.0, t / 0.03) * std::pow(1.0 - k, 1.3);
        m.add(i, float((tone * 0.5 + whoosh * 6.0) * env), 0.0f);
    }
    master(m, 0.85f, 0.0, 0.1);
    return m;
}

Mix make_yipiee()
{
    Mix m(1.5);
    // the lead voice: "yi" gliding, the closure of "pp", then a long rising "ee!"
    std::vector<VoiceKey> lead = {
        {0.00, 330, 280, 2250, 2950, 0.0},  {0.03, 335, 280, 2250, 2950, 0.9}, {0.18, 390, 420, 1950, 2600, 1.0},
        {0.22, 395, 420, 1950, 2600, 0.0},  {0.30, 420, 300, 2250, 2900, 0.0}, {0.32, 430, 300, 2250, 2900, 1.0},
        {0.75, 620, 290, 2300, 3000, 1.15}, {1.05, 580, 290, 2300, 3000, 0.8}, {1.2, 540, 290, 2300, 3000, 0.0}};
    voice(m, 0.0, lead, 0.6f, 501);
    // the "p" burst
    for (size_t i = 0; i < size_t(0.015 * kSampleRate); ++i)
        m.add(size_t(0.305 * kSampleRate) + i, noise_at(i, 502) * 0.25f * float(1.0 - i / (0.015 * kSampleRate)), 0.0f);
    // a few more voices joining in with "yay!" and "ee!"
    const double others[][3] = {{0.08, 260, 0.35}, {0.15, 310, 0.3}, {0.22, 205, 0.32}, {0.3, 360, 0.25}, {0.12, 235, 0.28}};
    uint32_t seed = 510;
    for (const auto& o : others) {
        double p = o[1];
        std::vector<VoiceKey> yay = {{0.0, p, 700, 1700, 2600, 0.0},        {0.05, p, 700, 1700, 2600, 1.0},
                                     {0.35, p * 1.3, 450, 2100, 2800, 1.0}, {0.8, p * 1.35, 320, 2250, 2900, 0.7},
                                     {1.0, p * 1.2, 320, 2250, 2900, 0.0}};
        voice(m, o[0], yay, float(o[2]), seed++);
    }
    // crowd hubbub and claps
    Resonator hub;
    for (size_t i = 0; i < m.frames(); ++i) {
        double t = double(i) / kSampleRate;
        double env = std::min(1.0, t / 0.15) * std::max(0.0, 1.0 - t / 1.5);
        m.add(i, float(hub.run(noise_at(i, 520), 900.0, 800.0) * env * 0.9), 0.0f);
    }
    for (int c = 0; c < 9; ++c) {
        double t0 = 0.1 + c * 0.13 + 0.03 * std::sin(c * 2.1);
        for (size_t i = 0; i < size_t(0.03 * kSampleRate); ++i)
            m.add(size_t(t0 * kSampleRate) + i, noise_at(i, 530 + c) * 0.18f * float(std::exp(-double(i) / 200.0)), 0.0f);
    }
    // the sparkle: a quick rising arpeggio
    const double arp[] = {1046.5, 1318.5, 1568.0, 2093.0, 2637.0};
    for (int k = 0; k < 5; ++k)
        bell(m, 0.05 + 0.07 * k, arp[k], 0.6, 0.12f);
    master(m, 0.85f, 0.0, 0.2);
    return m;
}
