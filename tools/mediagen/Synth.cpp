#include "Synth.h"

#include <algorithm>
#include <cmath>

#include "Random.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kTau = 2.0 * kPi;

size_t frame_of(double t) { return t <= 0 ? 0 : size_t(std::llround(t * kSampleRate)); }

// Band-limited sawtooth (polyBLEP).
struct Saw {
    double phase = 0;
    float next(double hz)
    {
        double dt = hz / kSampleRate;
        phase += dt;
        if (phase >= 1.0)
            phase -= 1.0;
        double t = phase, blep = 0;
        if (t < dt) {
            t /= dt;
            blep = t + t - t * t - 1.0;
        } else if (t > 1.0 - dt) {
            t = (t - 1.0) / dt;
            blep = t * t + t + t + 1.0;
        }
        return float(2.0 * phase - 1.0 - blep);
    }
};

// State-variable filter (trapezoidal integration, stable under modulation).
struct Svf {
    double ic1 = 0, ic2 = 0;
    double lp = 0, bp = 0, hp = 0;
    void run(double x, double cutoff, double q)
    {
        cutoff = std::clamp(cutoff, 20.0, kSampleRate * 0.45);
        double g = std::tan(kPi * cutoff / kSampleRate), k = 1.0 / q;
        double a1 = 1.0 / (1.0 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        double v3 = x - ic2, v1 = a1 * ic1 + a2 * v3, v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        lp = v2;
        bp = v1;
        hp = x - k * v1 - v2;
    }
};

// Attack-decay-sustain-release gain at time t into a note of length `len`.
double adsr(double t, double len, double a, double d, double s, double r)
{
    double g;
    if (t < a)
        g = t / a;
    else if (t < a + d)
        g = 1.0 - (1.0 - s) * (t - a) / d;
    else
        g = s;
    if (t > len)
        g *= std::max(0.0, 1.0 - (t - len) / r);
    return g;
}

uint32_t note_seed(const Note& n) { return hash_u32(uint32_t(n.start * 1000.0) * 131u + uint32_t(n.pitch * 16.0)); }

} // namespace

float noise_at(uint64_t i, uint32_t seed)
{
    return hash_unit(hash2(int32_t(uint32_t(i)), int32_t(uint32_t(i >> 32)), seed)) * 2.0f - 1.0f;
}

double note_hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

Mix::Mix(double seconds) : left(frame_of(seconds), 0.0f), right(frame_of(seconds), 0.0f) {}

void brass(Mix& m, const Note& n)
{
    const double rel = 0.07, total = n.length + rel;
    size_t f0 = frame_of(n.start), count = frame_of(total);
    Saw a, b;
    Svf lp;
    double base = note_hz(n.pitch);
    uint32_t seed = note_seed(n);
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double scoop = -0.35 * std::exp(-t * 40.0);
        double vib = 0.16 * std::min(1.0, std::max(0.0, (t - 0.2) / 0.3)) * std::sin(kTau * 5.6 * t);
        double hz = base * std::pow(2.0, (scoop + vib) / 12.0);
        double x = 0.7 * a.next(hz) + 0.3 * b.next(hz * 1.003);
        x += 0.08 * noise_at(i, seed) * std::exp(-t * 30.0); // breath at the attack
        double swell = 0.55 + 0.45 * std::exp(-t * 6.0) + 0.3 * std::min(1.0, t / 0.04);
        lp.run(x, base * (1.5 + 6.0 * swell * n.velocity), 0.8);
        double g = adsr(t, n.length, 0.025, 0.12, 0.78, rel) * n.velocity * 0.2;
        m.add(f0 + i, float(lp.lp * g), n.pan);
    }
}

void pluck(Mix& m, const Note& n)
{
    const double hz = note_hz(n.pitch);
    const int len = std::max(2, int(std::lround(kSampleRate / hz)));
    std::vector<float> line(len);
    uint32_t seed = note_seed(n);
    float prev = 0;
    for (int i = 0; i < len; ++i) { // a soft (low-passed) excitation for a nylon tone
        prev = 0.5f * prev + 0.5f * noise_at(uint64_t(i), seed);
        line[i] = prev;
    }
    const double rel = 0.08, total = std::min(n.length + rel, 2.5);
    size_t f0 = frame_of(n.start), count = frame_of(total);
    int pos = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        int next = (pos + 1) % len;
        float out = line[pos];
        line[pos] = 0.4985f * (line[pos] + line[next]);
        pos = next;
        double g = n.velocity * 0.35 * (t > n.length ? std::max(0.0, 1.0 - (t - n.length) / rel) : 1.0);
        m.add(f0 + i, float(out * g), n.pan);
    }
}

void tuba(Mix& m, const Note& n)
{
    const double rel = 0.06, total = n.length + rel, hz = note_hz(n.pitch);
    size_t f0 = frame_of(n.start), count = frame_of(total);
    double ph = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        ph += kTau * hz / kSampleRate;
        double bright = 0.3 + 0.7 * std::exp(-t * 12.0);
        double x = std::sin(ph) + 0.55 * bright * std::sin(2 * ph) + 0.3 * bright * std::sin(3 * ph) +
                   0.12 * bright * std::sin(4 * ph);
        double g = adsr(t, n.length, 0.018, 0.15, 0.7, rel) * n.velocity * 0.32;
        m.add(f0 + i, float(x * g), n.pan);
    }
}

void epiano(Mix& m, const Note& n)
{
    const double rel = 0.25, total = n.length + rel, hz = note_hz(n.pitch);
    size_t f0 = frame_of(n.start), count = frame_of(total);
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double idx = (0.4 + 1.6 * n.velocity) * std::exp(-t * 2.5) + 0.25;
        double tine = 0.9 * n.velocity * std::exp(-t * 45.0);
        double x = std::sin(kTau * hz * t + idx * std::sin(kTau * hz * t) + tine * std::sin(kTau * hz * 14.0 * t));
        double decay = std::exp(-t * (0.9 + hz / 900.0));
        double g = decay * n.velocity * 0.17 * std::min(1.0, t / 0.003);
        if (t > n.length)
            g *= std::max(0.0, 1.0 - (t - n.length) / rel);
        m.add(f0 + i, float(x * g), n.pan);
    }
}

void vibes(Mix& m, const Note& n)
{
    const double rel = 0.4, total = n.length + rel, hz = note_hz(n.pitch);
    size_t f0 = frame_of(n.start), count = frame_of(total);
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double x = std::sin(kTau * hz * t) + 0.3 * std::exp(-t * 6.0) * std::sin(kTau * hz * 4.0 * t) +
                   0.12 * std::exp(-t * 25.0) * std::sin(kTau * hz * 9.9 * t);
        double trem = 1.0 - 0.35 * (0.5 + 0.5 * std::sin(kTau * 5.2 * t));
        double g = std::exp(-t * 1.6) * trem * n.velocity * 0.14 * std::min(1.0, t / 0.002);
        if (t > n.length)
            g *= std::max(0.0, 1.0 - (t - n.length) / rel);
        m.add(f0 + i, float(x * g), n.pan);
    }
}

void upright(Mix& m, const Note& n)
{
    const double rel = 0.05, total = n.length + rel, hz = note_hz(n.pitch);
    size_t f0 = frame_of(n.start), count = frame_of(total);
    uint32_t seed = note_seed(n);
    Svf thump;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double x = std::sin(kTau * hz * t) + 0.35 * std::exp(-t * 5.0) * std::sin(kTau * 2 * hz * t) +
                   0.12 * std::exp(-t * 9.0) * std::sin(kTau * 3 * hz * t);
        thump.run(noise_at(i, seed), 600.0, 0.7);
        x += 1.5 * thump.lp * std::exp(-t * 60.0);
        double g = std::exp(-t * 2.2) * n.velocity * 0.42 * std::min(1.0, t / 0.004);
        if (t > n.length)
            g *= std::max(0.0, 1.0 - (t - n.length) / rel);
        m.add(f0 + i, float(x * g), n.pan);
    }
}

void marimba(Mix& m, const Note& n)
{
    const double total = std::min(n.length + 0.3, 0.9), hz = note_hz(n.pitch);
    size_t f0 = frame_of(n.start), count = frame_of(total);
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double x = std::sin(kTau * hz * t) + 0.4 * std::exp(-t * 30.0) * std::sin(kTau * hz * 3.93 * t) +
                   0.15 * std::exp(-t * 60.0) * std::sin(kTau * hz * 9.2 * t);
        double g = std::exp(-t * 7.0) * n.velocity * 0.2 * std::min(1.0, t / 0.002);
        m.add(f0 + i, float(x * g), n.pan);
    }
}

void kick(Mix& m, double t0, float v)
{
    size_t f0 = frame_of(t0), count = frame_of(0.45);
    double ph = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        ph += kTau * (48.0 + 120.0 * std::exp(-t * 28.0)) / kSampleRate;
        double x = std::sin(ph) * std::exp(-t * 7.0) + 0.3 * std::exp(-t * 300.0) * noise_at(i, 77);
        m.add(f0 + i, float(x * v * 0.55), 0.0f);
    }
}

void snare(Mix& m, double t0, float v, float pan)
{
    size_t f0 = frame_of(t0), count = frame_of(0.28);
    Svf bp;
    uint32_t seed = uint32_t(t0 * 997.0) + 5;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        bp.run(noise_at(i, seed), 2400.0, 0.6);
        double x = (bp.bp * 1.6 + 0.4 * bp.hp) * std::exp(-t * 16.0) + 0.5 * std::sin(kTau * 190.0 * t) * std::exp(-t * 30.0);
        m.add(f0 + i, float(x * v * 0.3), pan);
    }
}

void hihat(Mix& m, double t0, float v, float pan, bool open)
{
    size_t f0 = frame_of(t0), count = frame_of(open ? 0.45 : 0.09);
    Svf hp;
    uint32_t seed = uint32_t(t0 * 1009.0) + 11;
    double decay = open ? 9.0 : 55.0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        hp.run(noise_at(i, seed), 7500.0, 0.7);
        m.add(f0 + i, float(hp.hp * std::exp(-t * decay) * v * 0.16), pan);
    }
}

void ride(Mix& m, double t0, float v, float pan)
{
    size_t f0 = frame_of(t0), count = frame_of(1.1);
    Svf hp;
    uint32_t seed = uint32_t(t0 * 1013.0) + 17;
    static const double partials[] = {3170.0, 4120.0, 5340.0, 6830.0};
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        double bell = 0;
        for (double p : partials)
            bell += std::sin(kTau * p * t);
        hp.run(noise_at(i, seed), 6000.0, 0.7);
        double x = 0.5 * hp.hp * std::exp(-t * 5.0) + 0.08 * bell * std::exp(-t * 3.5);
        m.add(f0 + i, float(x * v * 0.13), pan);
    }
}

void brush(Mix& m, double t0, double len, float v, float pan)
{
    size_t f0 = frame_of(t0), count = frame_of(len);
    Svf bp;
    uint32_t seed = uint32_t(t0 * 1019.0) + 23;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate, k = t / len;
        bp.run(noise_at(i, seed), 3500.0 + 2000.0 * k, 0.5);
        double env = std::sin(kPi * k) * (0.6 + 0.4 * std::exp(-t * 20.0));
        m.add(f0 + i, float(bp.bp * env * v * 0.1), pan);
    }
}

void tom(Mix& m, double t0, float v, double hz, float pan)
{
    size_t f0 = frame_of(t0), count = frame_of(0.5);
    double ph = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        ph += kTau * hz * (1.0 + 0.6 * std::exp(-t * 25.0)) / kSampleRate;
        m.add(f0 + i, float(std::sin(ph) * std::exp(-t * 7.0) * v * 0.4), pan);
    }
}

void shaker(Mix& m, double t0, float v, float pan)
{
    size_t f0 = frame_of(t0), count = frame_of(0.07);
    Svf hp;
    uint32_t seed = uint32_t(t0 * 1031.0) + 29;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / kSampleRate;
        hp.run(noise_at(i, seed), 5000.0, 0.7);
        double env = std::min(1.0, t / 0.006) * std::exp(-t * 45.0);
        m.add(f0 + i, float(hp.bp * env * v * 0.2), pan);
    }
}

void reverb(Mix& m, float wet, float room)
{
    struct Comb {
        std::vector<float> buf;
        size_t pos = 0;
        float store = 0;
        float run(float x, float feedback, float damp)
        {
            float out = buf[pos];
            store = out * (1 - damp) + store * damp;
            buf[pos] = x + store * feedback;
            pos = (pos + 1) % buf.size();
            return out;
        }
    };
    struct Allpass {
        std::vector<float> buf;
        size_t pos = 0;
        float run(float x)
        {
            float b = buf[pos];
            float out = b - x;
            buf[pos] = x + b * 0.5f;
            pos = (pos + 1) % buf.size();
            return out;
        }
    };
    static const int comb_len[] = {1116, 1188, 1277, 1356, 1422, 1491};
    static const int ap_len[] = {556, 441, 341};
    for (int ch = 0; ch < 2; ++ch) {
        std::vector<Comb> combs;
        std::vector<Allpass> aps;
        for (int l : comb_len)
            combs.push_back({std::vector<float>(size_t(l + ch * 23), 0.0f)});
        for (int l : ap_len)
            aps.push_back({std::vector<float>(size_t(l + ch * 23), 0.0f)});
        std::vector<float>& out = ch == 0 ? m.left : m.right;
        for (size_t i = 0; i < m.frames(); ++i) {
            float in = (m.left[i] + m.right[i]) * 0.03f;
            float acc = 0;
            for (Comb& c : combs)
                acc += c.run(in, room, 0.3f);
            for (Allpass& a : aps)
                acc = a.run(acc);
            out[i] += acc * wet;
        }
    }
}

void master(Mix& m, float peak, double fade_in, double fade_out)
{
    float top = 1e-9f;
    for (size_t i = 0; i < m.frames(); ++i)
        top = std::max({top, std::fabs(m.left[i]), std::fabs(m.right[i])});
    const float drive = 1.4f, norm = std::tanh(drive);
    const double total = double(m.frames()) / kSampleRate;
    for (size_t i = 0; i < m.frames(); ++i) {
        double t = double(i) / kSampleRate;
        double fade = 1.0;
        if (fade_in > 0 && t < fade_in)
            fade = t / fade_in;
        if (fade_out > 0 && t > total - fade_out)
            fade = std::min(fade, std::max(0.0, (total - t) / fade_out));
        for (float* s : {&m.left[i], &m.right[i]})
            *s = float(std::tanh(drive * *s / top) / norm * peak * fade);
    }
}
