// A small software synthesiser for the game's music and sound effects: a stereo mix buffer,
// instruments that add one note at a time, a reverb and the final level. Everything is
// computed from the note data alone, so the same score always gives the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kSampleRate = 44100;

// MIDI note number to frequency in Hz (69 = A4 = 440 Hz).
double note_hz(double midi);

struct Mix {
    std::vector<float> left, right;

    explicit Mix(double seconds);
    size_t frames() const { return left.size(); }
    // Adds a mono sample at frame i with equal-power panning (pan -1 left .. 1 right).
    void add(size_t i, float v, float pan)
    {
        if (i >= left.size())
            return;
        left[i] += v * (0.7071f - 0.7071f * pan * 0.8f);
        right[i] += v * (0.7071f + 0.7071f * pan * 0.8f);
    }
};

// One note of an instrument: start and length in seconds, pitch as a MIDI number, velocity 0..1.
struct Note {
    double start;
    double length;
    double pitch;
    float velocity;
    float pan;
};

// Melodic instruments.
void brass(Mix& m, const Note& n);       // bright trumpet: band-limited saw, filter swell, vibrato
void pluck(Mix& m, const Note& n);       // nylon-string guitar (plucked string)
void tuba(Mix& m, const Note& n);        // round brass bass
void epiano(Mix& m, const Note& n);      // electric piano (two-operator FM with a tine click)
void vibes(Mix& m, const Note& n);       // vibraphone with tremolo
void upright(Mix& m, const Note& n);     // plucked upright bass
void marimba(Mix& m, const Note& n);     // wooden mallet

// Drums: `velocity` scales the hit.
void kick(Mix& m, double t, float velocity);
void snare(Mix& m, double t, float velocity, float pan);
void hihat(Mix& m, double t, float velocity, float pan, bool open);
void ride(Mix& m, double t, float velocity, float pan);
void brush(Mix& m, double t, double length, float velocity, float pan);
void tom(Mix& m, double t, float velocity, double pitch_hz, float pan);
void shaker(Mix& m, double t, float velocity, float pan);

// A stereo room reverb mixed in with `wet`.
void reverb(Mix& m, float wet, float room);
// Soft limiting and scaling so that the loudest sample peaks at `peak`; fades in and out.
void master(Mix& m, float peak, double fade_in, double fade_out);

// Deterministic white noise in [-1, 1] for sample i of stream `seed`.
float noise_at(uint64_t i, uint32_t seed);
