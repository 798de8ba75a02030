// The two background tracks, written out as lead sheets (melody and chords per bar) and
// arranged for a small band by simple rules: bass, chords, drums and counter-lines follow
// the chords of each bar.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "Sounds.h"

namespace {

struct Chord {
    int root = 0;               // pitch class, C = 0
    std::vector<int> intervals; // above the root
};

int pitch_class(const std::string& s, size_t* used)
{
    static const int base[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    int pc = base[s[0] - 'A'];
    size_t i = 1;
    if (i < s.size() && s[i] == '#')
        ++pc, ++i;
    else if (i < s.size() && s[i] == 'b')
        --pc, ++i;
    *used = i;
    return (pc + 12) % 12;
}

Chord parse_chord(const std::string& s)
{
    size_t used;
    Chord c;
    c.root = pitch_class(s, &used);
    std::string q = s.substr(used);
    if (q == "7")
        c.intervals = {0, 4, 7, 10};
    else if (q == "maj7")
        c.intervals = {0, 4, 7, 11};
    else if (q == "m7")
        c.intervals = {0, 3, 7, 10};
    else if (q == "6")
        c.intervals = {0, 4, 7, 9};
    else if (q == "m6")
        c.intervals = {0, 3, 7, 9};
    else if (q == "m")
        c.intervals = {0, 3, 7};
    else
        c.intervals = {0, 4, 7};
    return c;
}

// "C5" -> 72; "r" -> -1 (a rest).
int parse_pitch(const std::string& s)
{
    if (s == "r")
        return -1;
    size_t used;
    int pc = pitch_class(s, &used);
    int octave = std::stoi(s.substr(used));
    // B# and Cb cross the octave line the other way round
    int midi = 12 * (octave + 1) + pc;
    if (s[0] == 'C' && used > 1 && s[1] == 'b')
        midi += 12;
    if (s[0] == 'B' && used > 1 && s[1] == '#')
        midi -= 12;
    return midi;
}

struct Event {
    int pitch; // -1 for a rest
    double beat, beats;
};

// "C5:.5 F5:.5 A5:1 r:1" from `start` (in beats).
std::vector<Event> parse_line(const std::string& text, double start, double* end)
{
    std::vector<Event> out;
    std::istringstream in(text);
    std::string tok;
    double beat = start;
    while (in >> tok) {
        size_t colon = tok.find(':');
        double len = std::stod(tok.substr(colon + 1));
        out.push_back({parse_pitch(tok.substr(0, colon)), beat, len});
        beat += len;
    }
    *end = beat;
    return out;
}

// A bar holds one chord or two (two beats each).
std::vector<std::vector<Chord>> parse_chart(const std::string& text)
{
    std::vector<std::vector<Chord>> bars;
    std::istringstream in(text);
    std::string bar;
    while (std::getline(in, bar, '|')) {
        std::istringstream b(bar);
        std::string c;
        std::vector<Chord> chords;
        while (b >> c)
            chords.push_back(parse_chord(c));
        if (!chords.empty())
            bars.push_back(chords);
    }
    return bars;
}

const Chord& chord_at(const std::vector<std::vector<Chord>>& bars, double beat)
{
    int bar = std::clamp(int(beat / 4.0), 0, int(bars.size()) - 1);
    const std::vector<Chord>& c = bars[bar];
    return c.size() > 1 && std::fmod(beat, 4.0) >= 2.0 ? c[1] : c[0];
}

// The nearest chord tone strictly below `pitch` (a second voice under the melody).
int chord_tone_below(const Chord& c, int pitch)
{
    for (int p = pitch - 3; p > pitch - 12; --p)
        for (int iv : c.intervals)
            if ((p - c.root - iv) % 12 == 0)
                return p;
    return pitch - 5;
}

// Chord tones in [lo, hi], bottom up.
std::vector<int> voicing(const Chord& c, int lo, int hi)
{
    std::vector<int> notes;
    for (int p = lo; p <= hi; ++p)
        for (int iv : c.intervals)
            if ((p - c.root - iv) % 12 == 0)
                notes.push_back(p);
    return notes;
}

int root_in(const Chord& c, int lo)
{
    int p = lo;
    while ((p - c.root) % 12 != 0)
        ++p;
    return p;
}

// Beats to seconds, with an optional swing of the off-beat eighths.
struct Clock {
    double bpm;
    double swing = 0.5; // where the second eighth of a beat falls (0.5 = straight)
    double at(double beat) const
    {
        double whole = std::floor(beat), f = beat - whole;
        f = f < 0.5 ? f * swing / 0.5 : swing + (f - 0.5) * (1.0 - swing) / 0.5;
        return (whole + f) * 60.0 / bpm;
    }
    double span(double beat, double beats) const { return at(beat + beats) - at(beat); }
};

void check_length(const char* what, double got, double want)
{
    if (std::fabs(got - want) > 1e-6)
        std::fprintf(stderr, "mediagen: %s lasts %.2f beats instead of %.2f\n", what, got, want);
}

} // namespace

// ---------------------------------------------------------------------------------------
// "tijuana": a mariachi-flavoured romp in F for two trumpets, guitar, tuba, marimba and drums.

Mix compose_tijuana()
{
    const Clock clk{132.0};
    const std::string intro = "F | F | C7 | C7";
    const std::string a = "F | Bb | C7 | F | F | Bb | C7 | F";
    const std::string b = "Bb | Bb | F | F | G7 | G7 | C7 | C7";
    const std::string outro = "F | Bb | C7 | F";
    const std::string chart = intro + " | " + a + " | " + a + " | " + b + " | " + a + " | " + outro;
    const auto bars = parse_chart(chart);

    const std::string fanfare = "r:4 r:4 C6:1 A5:.5 C6:.5 r:1 C6:1 Bb5:.5 A5:.5 G5:.5 E5:.5 C5:2";
    const std::string tune_a = "C5:.5 F5:.5 A5:1 G5:.5 F5:.5 A5:1 Bb5:1.5 A5:.5 G5:1 F5:1 "
                               "E5:.5 G5:.5 C6:1 Bb5:.5 A5:.5 G5:1 A5:2 r:1 C5:1 "
                               "F5:.5 A5:.5 C6:1.5 A5:.5 C6:1 D6:1 C6:.5 Bb5:.5 A5:1 G5:1 "
                               "G5:.5 A5:.5 Bb5:.5 G5:.5 E5:1 C5:1 F5:3 r:1";
    const std::string tune_b = "D5:1 F5:1 Bb5:1.5 A5:.5 G5:1 F5:1 D5:2 C5:1 F5:1 A5:1.5 G5:.5 F5:1 C5:1 A4:2 "
                               "B4:.5 D5:.5 G5:1 F5:.5 D5:.5 B4:1 D5:1 F5:1 A5:1 G5:1 "
                               "E5:.5 G5:.5 Bb5:1 A5:.5 G5:.5 E5:1 G5:2 E5:1 C5:1";
    const std::string ending = "F5:.5 A5:.5 C6:1 A5:.5 C6:.5 D6:1 D6:1 Bb5:1 F5:1 D5:1 "
                               "E5:.5 G5:.5 Bb5:1 G5:.5 E5:.5 C5:1 F5:4";

    const int total_bars = int(bars.size());
    Mix m(clk.at(total_bars * 4.0) + 2.5);

    // the melody, section by section: (text, first beat, with second trumpet, marimba doubling)
    struct Part {
        const std::string* text;
        int bar;
        bool harmony;
        bool octave_up;
    } parts[] = {{&fanfare, 0, true, false}, {&tune_a, 4, false, false}, {&tune_a, 12, true, false},
                 {&tune_b, 20, false, true}, {&tune_a, 28, true, true},  {&ending, 36, true, false}};
    for (const Part& p : parts) {
        double end;
        std::vector<Event> line = parse_line(*p.text, p.bar * 4.0, &end);
        check_length("a tijuana melody", end - p.bar * 4.0, p.text == &fanfare || p.text == &ending ? 16.0 : 32.0);
        for (const Event& e : line) {
            if (e.pitch < 0)
                continue;
            double t = clk.at(e.beat), len = clk.span(e.beat, e.beats) * 0.92;
            float accent = std::fmod(e.beat, 1.0) == 0.0 ? 0.9f : 0.78f;
            brass(m, {t, len, double(e.pitch), accent, -0.2f});
            if (p.harmony)
                brass(m, {t + 0.008, len, double(chord_tone_below(chord_at(bars, e.beat), e.pitch)), accent * 0.8f, 0.3f});
            if (p.octave_up)
                marimba(m, {t, len, double(e.pitch + 12), 0.55f, 0.45f});
        }
    }

    for (int bar = 0; bar < total_bars; ++bar) {
        const double b0 = bar * 4.0;
        const Chord& c = bars[bar][0];
        const bool last_of_section = bar % 8 == 3 || bar == total_bars - 1;
        const bool final_bar = bar == total_bars - 1;
        // tuba: oom on the root, then the fifth below; a walk up into the next section
        int root = root_in(c, 41);
        if (final_bar) {
            tuba(m, {clk.at(b0), clk.span(b0, 3.5), double(root - 12), 0.9f, 0.0f});
        } else {
            tuba(m, {clk.at(b0), clk.span(b0, 0.9), double(root), 0.9f, 0.0f});
            tuba(m, {clk.at(b0 + 2), clk.span(b0 + 2, 0.9), double(root - 5), 0.8f, 0.0f});
            if (last_of_section) {
                tuba(m, {clk.at(b0 + 3), clk.span(b0 + 3, 0.45), double(root - 3), 0.7f, 0.0f});
                tuba(m, {clk.at(b0 + 3.5), clk.span(b0 + 3.5, 0.45), double(root - 1), 0.7f, 0.0f});
            }
        }
        // guitar: pah on two and four, strummed
        std::vector<int> chord = voicing(c, 55, 67);
        for (double beat : {1.0, 3.0}) {
            if (final_bar && beat > 1.0)
                break;
            for (size_t k = 0; k < chord.size(); ++k)
                pluck(m, {clk.at(b0 + beat) + 0.012 * k, final_bar ? 2.5 : clk.span(b0 + beat, 0.6), double(chord[k]),
                          0.55f, 0.35f});
        }
        // marimba arpeggios through the bridge
        if (bar >= 20 && bar < 28)
            for (int k = 0; k < 8; ++k) {
                std::vector<int> arp = voicing(chord_at(bars, b0 + k * 0.5), 65, 79);
                int idx = (k < 4 ? k : 7 - k) % int(arp.size());
                marimba(m, {clk.at(b0 + k * 0.5), clk.span(b0, 0.45), double(arp[idx]), 0.35f, 0.5f});
            }
        // drums
        if (final_bar) {
            kick(m, clk.at(b0), 1.0f);
            hihat(m, clk.at(b0), 0.9f, 0.2f, true);
            continue;
        }
        for (int beat = 0; beat < 4; ++beat) {
            if (beat % 2 == 0)
                kick(m, clk.at(b0 + beat), beat == 0 ? 1.0f : 0.8f);
            else if (!(last_of_section && beat == 3))
                snare(m, clk.at(b0 + beat), 0.75f, -0.1f);
        }
        for (int k = 0; k < 8; ++k)
            hihat(m, clk.at(b0 + k * 0.5), k % 2 == 0 ? 0.7f : 0.45f, 0.3f, bar % 8 == 0 && k == 0 && bar > 0);
        for (int k = 0; k < 16; ++k)
            shaker(m, clk.at(b0 + k * 0.25), k % 4 == 2 ? 0.6f : 0.35f, -0.45f);
        if (last_of_section) // tom fill down the kit
            for (int k = 0; k < 4; ++k)
                tom(m, clk.at(b0 + 3 + k * 0.25), 0.7f, 210.0 - 35.0 * k, -0.3f + 0.2f * k);
    }
    reverb(m, 0.22f, 0.78f);
    master(m, 0.89f, 0.0, 1.5);
    return m;
}

// ---------------------------------------------------------------------------------------
// "Peanuts": a cool, swinging jazz tune in F for electric piano, vibes, upright bass and
// brushes.

Mix compose_peanuts()
{
    Clock clk{120.0};
    clk.swing = 0.64;
    const std::string vamp = "Fmaj7 | Bb7 | Fmaj7 | Bb7";
    const std::string a = "Fmaj7 | Bb7 | Fmaj7 | Bb7 | Am7 D7 | Gm7 C7 | F6 | C7";
    const std::string b = "Bbmaj7 | Bbm6 | Am7 | D7 | Gm7 | C7 | F6 | Gm7 C7";
    const std::string outro = "Fmaj7 | Bb7 | Fmaj7 | Fmaj7";
    const auto bars = parse_chart(vamp + " | " + a + " | " + a + " | " + b + " | " + a + " | " + outro);

    const std::string tune_a = "A4:.5 C5:.5 E5:1 D5:.5 C5:.5 A4:1 Ab4:.5 Bb4:.5 D5:1 F5:1.5 r:.5 "
                               "E5:.5 F5:.5 A5:1 G5:.5 E5:.5 C5:1 D5:1.5 Ab4:.5 F4:2 "
                               "C5:.5 E5:.5 G5:1 F#5:.5 A5:.5 C6:1 Bb5:1 G5:.5 D5:.5 E5:1 Bb4:1 "
                               "A4:.5 C5:.5 D5:.5 F5:.5 A5:2 G5:.5 E5:.5 C5:.5 Bb4:.5 G4:2";
    const std::string tune_b = "D5:1 F5:1 A5:1.5 F5:.5 Db5:1 F5:1 G5:2 C5:.5 E5:.5 G5:1 E5:1 C5:1 "
                               "F#5:1.5 A5:.5 C6:1 A5:1 Bb5:.5 A5:.5 G5:.5 F5:.5 D5:2 "
                               "E5:.5 G5:.5 Bb5:1 A5:.5 G5:.5 E5:1 F5:1.5 D5:.5 C5:2 D5:.5 F5:.5 Bb5:1 G5:.5 E5:.5 C5:1";
    const std::string ending = "A4:.5 C5:.5 E5:1 D5:.5 C5:.5 A4:1 Ab4:.5 Bb4:.5 D5:1 F5:2 E5:.5 C5:.5 A4:1 G4:.5 A4:.5 C5:1 "
                               "F5:4";
    const int total_bars = int(bars.size());
    Mix m(clk.at(total_bars * 4.0) + 3.0);

    struct Part {
        const std::string* text;
        int bar;
        bool vibes_double;
        bool octaves;
    } parts[] = {{&tune_a, 4, false, false}, {&tune_a, 12, true, false}, {&tune_b, 20, false, false},
                 {&tune_a, 28, true, true},  {&ending, 36, false, false}};
    for (const Part& p : parts) {
        double end;
        std::vector<Event> line = parse_line(*p.text, p.bar * 4.0, &end);
        check_length("a peanuts melody", end - p.bar * 4.0, p.text == &ending ? 16.0 : 32.0);
        for (const Event& e : line) {
            if (e.pitch < 0)
                continue;
            double t = clk.at(e.beat), len = clk.span(e.beat, e.beats) * 0.95;
            float vel = std::fmod(e.beat, 1.0) == 0.0 ? 0.78f : 0.68f;
            epiano(m, {t, len, double(e.pitch), vel, 0.1f});
            if (p.octaves)
                epiano(m, {t, len, double(e.pitch - 12), vel * 0.7f, 0.0f});
            if (p.vibes_double)
                vibes(m, {t, len, double(e.pitch + 12), 0.6f, 0.5f});
        }
    }

    for (int bar = 0; bar < total_bars; ++bar) {
        const double b0 = bar * 4.0;
        const bool final_bar = bar == total_bars - 1;
        const std::vector<Chord>& cs = bars[bar];
        // left hand: Charleston comping (on one and the and of two) with chords over each half
        for (size_t h = 0; h < cs.size(); ++h) {
            std::vector<int> v = voicing(cs[h], 53, 65);
            std::vector<double> hits = cs.size() == 1 ? std::vector<double>{0.0, 1.5} : std::vector<double>{h * 2.0};
            if (final_bar)
                hits = {0.0};
            for (double hb : hits)
                for (size_t k = 0; k < v.size(); ++k)
                    epiano(m, {clk.at(b0 + hb) + 0.006 * k, final_bar ? 3.0 : clk.span(b0 + hb, hb == 0.0 ? 1.2 : 0.9),
                               double(v[k]), 0.42f, -0.35f});
        }
        // vibes pads through the bridge
        if (bar >= 20 && bar < 28) {
            std::vector<int> v = voicing(cs[0], 64, 76);
            for (size_t k = 1; k < v.size() && k < 3; ++k)
                vibes(m, {clk.at(b0), clk.span(b0, 3.5), double(v[k]), 0.4f, 0.5f});
        }
        // walking bass: root, chord tones, then a half step into the next bar's root
        int root = root_in(cs[0], 36);
        if (final_bar) {
            upright(m, {clk.at(b0), 3.0, double(root), 0.95f, 0.0f});
        } else {
            const Chord& next = bars[bar + 1][0];
            int next_root = root_in(next, 36);
            int fifth = root + 7, third = root + cs[0].intervals[1];
            int line[4] = {root, cs.size() > 1 ? third : fifth, cs.size() > 1 ? root_in(cs[1], 36) : third,
                           next_root + (next_root > root ? -1 : 1)};
            if (cs.size() > 1)
                line[3] = line[2] + cs[1].intervals[1];
            for (int k = 0; k < 4; ++k)
                upright(m, {clk.at(b0 + k), clk.span(b0 + k, 0.9), double(line[k]), k == 0 ? 0.95f : 0.8f, 0.0f});
        }
        // brushes and ride
        if (final_bar) {
            ride(m, clk.at(b0), 0.8f, 0.3f);
            kick(m, clk.at(b0), 0.5f);
            continue;
        }
        for (double beat : {0.0, 1.0, 1.5, 2.0, 3.0, 3.5})
            ride(m, clk.at(b0 + beat), std::fmod(beat, 1.0) == 0.0 ? 0.7f : 0.5f, 0.35f);
        for (int beat = 0; beat < 4; ++beat) {
            brush(m, clk.at(b0 + beat), clk.span(b0 + beat, 1.0), beat % 2 == 1 ? 0.9f : 0.6f, -0.3f);
            if (beat % 2 == 1)
                hihat(m, clk.at(b0 + beat), 0.35f, 0.1f, false);
        }
        if (bar % 4 == 0)
            kick(m, clk.at(b0), 0.35f);
    }
    reverb(m, 0.28f, 0.82f);
    master(m, 0.89f, 0.0, 2.0);
    return m;
}
