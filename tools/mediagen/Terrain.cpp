#include "Terrain.h"

#include "Image.h"
#include "Noise.h"
#include "Output.h"
#include "Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace terrain {
namespace {

// ---- the map's layout, in physics units (x east, z south, (0, 0) the north-west corner) ----
//
// The island of the level: a rolling moor (heights 23 to 35) falling to narrow beaches on the
// north and west edges and to a wide sea in the east and south. A sea inlet runs south from
// the north coast into the duck lake in the west, and a river leaves the lake for the south
// sea. A rock plateau (about 47) with a dry gorge rises in the north-east, a rocky tor (up to
// about 75) stands in the centre, a fjord cuts into the south coast and an island lies off
// the east coast across a strait. Peat pools dot the moor.
//
// Fixed points of the level that the layout serves:
//   player start (50, 50) and the opponents' row (0..80, 120): meadow at 24 to 27;
//   ducks at (102, 294.5) and (136, 294.5): open water of the duck lake (ground near 15);
//   eskel ship at (100, 55, 100): meadow below it;
//   the restart circle (centre (256, 256), radius 128): rolling moor around the tor;
//   five bridges over the inlet, the gorge, the strait, the fjord and the river (below).

struct Vec2 {
    float x, z;
};

const Vec2 kInlet[] = {{174, -20}, {172, 40}, {175, 100}, {168, 160}, {156, 220}, {140, 272}};
const float kInletHalfWidth = 11.0f;
const Vec2 kRiver[] = {{118, 318}, {121, 360}, {121, 420}, {116, 475}, {112, 530}};
const float kRiverHalfWidth = 10.0f;
const Vec2 kFjord[] = {{256, 540}, {256, 375}, {252, 338}};
const Vec2 kStrait[] = {{443, 130}, {443, 270}};
const float kStraitHalfWidth = 10.0f;

const Vec2 kDuckLake = {118, 298};
const Vec2 kDuckLakeRadii = {50, 30};

const Vec2 kPlateau = {365, 72};      // centre of the north-east plateau
const Vec2 kPlateauHalf = {56, 48};
const float kPlateauTop = 47.0f;
const float kGorgeX = 365.0f;         // the gorge runs north-south through the plateau
const float kGorgeFloor = 27.0f;
const float kGorgeFloorHalf = 5.0f;
const float kGorgeTopHalf = 13.0f;

const Vec2 kTor = {256, 256};

struct Island {
    Vec2 c;
    float r;
};
const Island kIslands[] = {{{483, 200}, 27}, {{470, 362}, 18}, {{332, 490}, 13},
                           {{60, 486}, 16},  {{492, 48}, 11}};

// The five gaps the bridges span; the bank heights follow from the ground around them.
const BridgeSite kGaps[] = {
    {"config/objects/bridge.p", "over the sea inlet north of the duck lake", 160.0f, 188.0f, 70.0f, 0.0f, false},
    {"config/objects/bridge3.p", "over the gorge of the north-east plateau", 352.0f, 378.0f, 72.0f, 0.0f, true},
    {"config/objects/bridge4.p", "over the strait to the east island", 430.0f, 456.0f, 200.0f, 0.0f, false},
    {"config/objects/bridge5.p", "over the fjord of the south coast", 243.0f, 269.0f, 395.0f, 0.0f, false},
    {"config/objects/bridge6.p", "over the river south of the duck lake", 108.0f, 134.0f, 390.0f, 0.0f, false},
};

inline float sstep(float e0, float e1, float x) { return smoothstep(e0, e1, x); }

float segment_distance(Vec2 p, Vec2 a, Vec2 b)
{
    float abx = b.x - a.x, abz = b.z - a.z;
    float t = ((p.x - a.x) * abx + (p.z - a.z) * abz) / (abx * abx + abz * abz);
    t = std::clamp(t, 0.0f, 1.0f);
    float dx = p.x - (a.x + t * abx), dz = p.z - (a.z + t * abz);
    return std::sqrt(dx * dx + dz * dz);
}

template <size_t N>
float polyline_distance(Vec2 p, const Vec2 (&pts)[N])
{
    float d = 1e9f;
    for (size_t i = 0; i + 1 < N; ++i) d = std::min(d, segment_distance(p, pts[i], pts[i + 1]));
    return d;
}

// Signed distance to an axis-aligned box (negative inside).
float box_distance(Vec2 p, Vec2 c, Vec2 half)
{
    float dx = std::fabs(p.x - c.x) - half.x, dz = std::fabs(p.z - c.z) - half.z;
    float ox = std::max(dx, 0.0f), oz = std::max(dz, 0.0f);
    return std::sqrt(ox * ox + oz * oz) + std::min(std::max(dx, dz), 0.0f);
}

// Approximate signed distance to a rounded rectangle (a superellipse of exponent 4).
float superellipse_distance(Vec2 p, Vec2 c, Vec2 half)
{
    float u = (p.x - c.x) / half.x, v = (p.z - c.z) / half.z;
    float r = std::sqrt(std::sqrt(u * u * u * u + v * v * v * v));
    return (r - 1.0f) * std::min(half.x, half.z);
}

// Weight of a flattened pad: 1 inside the box, falling smoothly to 0 over `falloff`.
float pad_weight(Vec2 p, Vec2 c, Vec2 half, float falloff)
{
    return 1.0f - sstep(0.0f, falloff, box_distance(p, c, half));
}

// Soft terraces: flat treads and steep risers, for the rock of the tor and the plateau.
float terrace(float h, float step, float sharpness)
{
    float k = std::floor(h / step);
    float f = h / step - k;
    float s = sstep(0.5f - 0.5f / sharpness, 0.5f + 0.5f / sharpness, f);
    return (k + s) * step;
}

// Shapes the ground around a water body: `land` is how far inland the point lies (negative
// under water). Beaches start flat at the waterline and rise to the inland height over
// `width`; under water the bed shelves down to a floor of 6.
float shore_up(float h, float land, float width, float x, float z)
{
    const float shore = kWaterLevel + 0.6f;
    if (land >= 0.0f) {
        return land >= width ? h : mixf(shore, h, sstep(0.0f, width, land));
    }
    float bed = std::max(6.0f, shore + 0.28f * land);
    return std::min(h, bed + 1.5f * noise::fbm2(x / 30.0f, z / 30.0f, 3, 0.5f, 110u));
}

// How strongly the outlines may wander at p: not at all at the bridges and the start
// meadows, whose geometry the level relies on, fully elsewhere.
float warp_freedom(Vec2 p)
{
    float f = 1.0f;
    for (const BridgeSite& b : kGaps) {
        float d = box_distance(p, {0.5f * (b.x_west + b.x_east), b.z}, {0.5f * (b.x_east - b.x_west) + 14.0f, 10.0f});
        f = std::min(f, sstep(0.0f, 24.0f, d));
    }
    f = std::min(f, sstep(0.0f, 30.0f, box_distance(p, {50, 50}, {22, 22})));
    f = std::min(f, sstep(0.0f, 30.0f, box_distance(p, {44, 120}, {48, 12})));
    return f;
}

// The ground without the bridge abutments.
float natural_height(float x, float z)
{
    const Vec2 p{x, z};

    // Outlines (coast, lakes, rivers, plateau) are drawn in a warped copy of the plane, which
    // turns straight lines into bays, headlands and meanders.
    const float freedom = warp_freedom(p);
    const Vec2 w{x + freedom * 40.0f * noise::fbm2(x / 190.0f, z / 190.0f, 3, 0.4f, 201u),
                 z + freedom * 40.0f * noise::fbm2(x / 190.0f, z / 190.0f, 3, 0.4f, 202u)};

    // Rolling moor: long low swells with a gentle secondary roll.
    float h = 27.0f + 19.0f * noise::fbm2(x / 230.0f, z / 230.0f, 4, 0.42f, 101u) +
              5.0f * noise::fbm2(x / 70.0f, z / 70.0f, 3, 0.4f, 102u);

    // North-east plateau: a rock table with a gently undulating top and steep edges.
    float plateau_edge = superellipse_distance(w, kPlateau, kPlateauHalf) +
                         14.0f * noise::fbm2(x / 50.0f, z / 50.0f, 3, 0.5f, 103u);
    float plateau = 1.0f - sstep(-8.0f, 6.0f, plateau_edge);
    if (plateau > 0.0f) {
        float top = kPlateauTop + 2.0f * noise::fbm2(x / 40.0f, z / 40.0f, 3, 0.5f, 104u) +
                    1.5f * noise::ridged2(x / 18.0f, z / 18.0f, 3, 0.5f, 113u);
        h = mixf(h, top, plateau);
    }

    // The central tor: a domed hill of rock terraces.
    float dt = std::hypot(w.x - kTor.x, w.z - kTor.z);
    float tor = std::exp(-std::pow(dt / 52.0f, 2.2f));
    if (tor > 0.001f) {
        float crags = noise::ridged2(x / 26.0f, z / 26.0f, 4, 0.5f, 106u);
        float rock = 38.0f * tor + 14.0f * tor * crags;
        h += rock;
        // Broken terraces: the ledges wander in height and fade in and out around the hill.
        float tz = sstep(0.15f, 0.45f, tor) * sstep(-0.2f, 0.3f, noise::fbm2(x / 30.0f, z / 30.0f, 3, 0.5f, 115u));
        float shift = 7.0f * noise::fbm2(x / 22.0f, z / 22.0f, 3, 0.5f, 114u);
        h = mixf(h, terrace(h + shift, 7.0f, 1.8f) - shift, tz * 0.75f);
    }

    // How far inland a point lies (negative: under water), from every water body.
    float east_coast = 437.0f + 40.0f * noise::fbm2(0.5f, z / 170.0f, 3, 0.45f, 121u) * freedom;
    float south_coast = 440.0f + 40.0f * noise::fbm2(x / 170.0f, 0.5f, 3, 0.45f, 122u) * freedom;
    float west_coast = 4.0f + 40.0f * std::max(0.0f, noise::fbm2(0.5f, z / 150.0f, 3, 0.45f, 123u)) * freedom;
    float north_coast = 4.0f + 40.0f * std::max(0.0f, noise::fbm2(x / 150.0f, 0.5f, 3, 0.45f, 124u)) * freedom;
    float land = std::min({east_coast - w.x, south_coast - w.z, w.x - west_coast, w.z - north_coast});
    for (const Island& is : kIslands) {
        float d = std::hypot(w.x - is.c.x, w.z - is.c.z);
        land = std::max(land, (is.r - d) * 1.6f);
    }
    float lake_q = std::hypot((w.x - kDuckLake.x) / kDuckLakeRadii.x, (w.z - kDuckLake.z) / kDuckLakeRadii.z);
    land = std::min(land, (lake_q - 1.0f) * 45.0f);
    land = std::min(land, (polyline_distance(w, kInlet) - kInletHalfWidth) * 1.4f);
    land = std::min(land, (polyline_distance(w, kRiver) - kRiverHalfWidth) * 1.4f);
    land = std::min(land, (polyline_distance(w, kStrait) - kStraitHalfWidth) * 1.4f);
    {
        // The fjord narrows toward its head.
        float head = sstep(400.0f, 338.0f, w.z);
        float half = mixf(13.0f, 8.0f, head);
        land = std::min(land, (polyline_distance(w, kFjord) - half) * 3.0f);
    }
    // Coast: beaches that shelve gently into the water, rock cliffs where the cliff noise or
    // the plateau and tor say so.
    float cliff = std::max({sstep(0.15f, 0.32f, noise::fbm2(x / 110.0f, z / 110.0f, 3, 0.5f, 109u)),
                            plateau, sstep(0.2f, 0.5f, tor)});
    h = shore_up(h, land, mixf(40.0f, 7.0f, cliff), x, z);

    // Shallow peat pools in the open moor, with soft banks.
    float pool = noise::fbm2(x / 60.0f, z / 60.0f, 3, 0.5f, 108u);
    float pool_land = (0.27f - pool) * 45.0f + std::max(0.0f, h - 25.0f) * 4.0f;
    for (int i = 0; i < 6; ++i) {
        // No pools where a new game sets the vehicles down (the restart circle's six places).
        float a = float(i) * 2.0f * float(M_PI) / 6.0f;
        float d = std::hypot(x - (256.0f + 128.0f * std::cos(a)), z - (256.0f + 128.0f * std::sin(a)));
        pool_land += std::max(0.0f, 36.0f - d) * 1.5f;
    }
    if (land > 10.0f) h = shore_up(h, std::min(pool_land, land), 14.0f, x, z);

    // The gorge: a dry cut through the plateau with near-vertical walls, straight where the
    // bridge crosses it and wandering elsewhere.
    {
        float gx = kGorgeX + 10.0f * noise::fbm2(0.5f, z / 45.0f, 3, 0.5f, 111u) * sstep(14.0f, 40.0f, std::fabs(z - 72.0f));
        float dx = std::fabs(x - gx);
        float wall = sstep(kGorgeFloorHalf, kGorgeTopHalf - 1.0f, dx);
        float floor = kGorgeFloor + 1.0f * noise::fbm2(x / 8.0f, z / 8.0f, 2, 0.5f, 112u);
        h = std::min(h, mixf(floor, h, wall));
    }

    // Gentle ground where the level puts its vehicles: the player's start meadow and the
    // opponents' row keep their natural swell, only clamped to a drivable band.
    h = mixf(h, std::clamp(h, 23.0f, 28.0f), pad_weight(p, {50, 50}, {22, 22}, 22.0f));
    {
        float low = mixf(21.0f, 23.5f, sstep(0.0f, 10.0f, x));
        h = mixf(h, std::clamp(h, low, 28.0f), pad_weight(p, {44, 120}, {48, 12}, 16.0f));
    }
    return h;
}

} // namespace

const std::vector<BridgeSite>& bridge_sites()
{
    // Each bridge lies at the mean height of the natural ground just behind its two banks
    // (never lower than 23, three units above the water), so the abutments blend in.
    static const std::vector<BridgeSite> sites = [] {
        std::vector<BridgeSite> v;
        for (BridgeSite b : kGaps) {
            float sum = 0.0f;
            int n = 0;
            for (float dz = -4.0f; dz <= 4.0f; dz += 2.0f)
                for (float back = 3.0f; back <= 9.0f; back += 3.0f) {
                    sum += natural_height(b.x_west - back, b.z + dz) + natural_height(b.x_east + back, b.z + dz);
                    n += 2;
                }
            b.bank = std::max(23.0f, std::round(2.0f * sum / float(n)) * 0.5f);
            v.push_back(b);
        }
        return v;
    }();
    return sites;
}

// The six places on the restart circle where a new game sets the vehicles down.
struct Spawn {
    Vec2 c;
    float h;
};

const std::vector<Spawn>& restart_spawns()
{
    static const std::vector<Spawn> spawns = [] {
        std::vector<Spawn> v;
        for (int i = 0; i < 6; ++i) {
            double a = double(i) * 2.0 * M_PI / 6.0;
            Vec2 c{float(256.0 + 128.0 * std::cos(a)), float(256.0 + 128.0 * std::sin(a))};
            v.push_back({c, std::clamp(natural_height(c.x, c.z), 22.5f, 30.0f)});
        }
        return v;
    }();
    return spawns;
}

float design_height(float x, float z)
{
    float h = natural_height(x, z);
    const Vec2 p{x, z};
    for (const Spawn& s : restart_spawns()) {
        float d = std::hypot(x - s.c.x, z - s.c.z);
        if (d < 22.0f) h = mixf(h, s.h, 1.0f - sstep(6.0f, 22.0f, d));
    }
    for (const BridgeSite& b : bridge_sites()) {
        // A rounded promontory on each side whose face drops into the gap over two units.
        const float reach = 12.0f, flat = 5.0f, falloff = 12.0f;
        float dw = segment_distance(p, {b.x_west - reach, b.z}, {b.x_west, b.z});
        float de = segment_distance(p, {b.x_east, b.z}, {b.x_east + reach, b.z});
        float west = (1.0f - sstep(flat, flat + falloff, dw)) * sstep(b.x_west + 2.0f, b.x_west, x);
        float east = (1.0f - sstep(flat, flat + falloff, de)) * sstep(b.x_east - 2.0f, b.x_east, x);
        h = mixf(h, b.bank, std::max(west, east));
    }
    return h;
}

std::vector<uint16_t> make_height_map()
{
    // The landform is evaluated on a grid of half a physics unit and interpolated (Catmull-Rom)
    // to the full map, where a fine grain of noise is added on top.
    const int G = kMapSize / 4; // 1024
    const float cell = float(kPhysSize) / float(G);
    std::vector<float> grid(size_t(G) * G);
    parallel_rows(G, [&](int j) {
        for (int i = 0; i < G; ++i) grid[size_t(j) * G + i] = design_height((float(i) + 0.5f) * cell, (float(j) + 0.5f) * cell);
    });

    auto g = [&](int i, int j) {
        i = std::clamp(i, 0, G - 1);
        j = std::clamp(j, 0, G - 1);
        return grid[size_t(j) * G + i];
    };
    auto cubic = [](float a, float b, float c, float d, float t) {
        return b + 0.5f * t * (c - a + t * (2.0f * a - 5.0f * b + 4.0f * c - d + t * (3.0f * (b - c) + d - a)));
    };

    std::vector<uint16_t> samples(size_t(kMapSize) * kMapSize);
    const float to_sample = 65535.0f / kHeightRange;
    parallel_rows(kMapSize, [&](int y) {
        float gy = (float(y) + 0.5f) / 4.0f - 0.5f;
        int j = int(std::floor(gy));
        float ty = gy - float(j);
        float z = (float(y) + 0.5f) / 8.0f;
        for (int xs = 0; xs < kMapSize; ++xs) {
            float gx = (float(xs) + 0.5f) / 4.0f - 0.5f;
            int i = int(std::floor(gx));
            float tx = gx - float(i);
            float r[4];
            for (int k = 0; k < 4; ++k)
                r[k] = cubic(g(i - 1, j - 1 + k), g(i, j - 1 + k), g(i + 1, j - 1 + k), g(i + 2, j - 1 + k), tx);
            float h = cubic(r[0], r[1], r[2], r[3], ty);
            float x = (float(xs) + 0.5f) / 8.0f;
            // Fine grain: tussocks and stones, stronger on high ground than on beaches.
            float grain = 0.35f * noise::fbm2(x / 3.0f, z / 3.0f, 3, 0.55f, 120u);
            grain *= sstep(kWaterLevel - 1.0f, kWaterLevel + 4.0f, h) * 0.7f + 0.3f;
            h += grain;
            float s = std::clamp(h * to_sample, 0.0f, 65535.0f);
            samples[size_t(y) * kMapSize + xs] = uint16_t(std::lround(s));
        }
    });
    return samples;
}

std::vector<uint8_t> encode_hm(const std::vector<uint16_t>& samples, uint32_t w, uint32_t h)
{
    std::vector<uint8_t> b(12 + size_t(w) * h * 2, 0);
    b[0] = 0xFA;
    b[1] = 0x00;
    for (int k = 0; k < 4; ++k) {
        b[size_t(4 + k)] = uint8_t(w >> (8 * k));
        b[size_t(8 + k)] = uint8_t(h >> (8 * k));
    }
    for (size_t i = 0; i < size_t(w) * h; ++i) {
        b[12 + 2 * i] = uint8_t(samples[i]);
        b[13 + 2 * i] = uint8_t(samples[i] >> 8);
    }
    return b;
}

bool generate_height_map(Output& out, std::vector<uint16_t>* samples_out)
{
    std::vector<uint16_t> samples = make_height_map();
    bool ok = out.write("media/map/map1.hm", encode_hm(samples, kMapSize, kMapSize));
    if (samples_out) *samples_out = std::move(samples);
    return ok;
}

std::string bridge_file(const BridgeSite& site)
{
    // End boxes rest on the banks just outside the gap, planks span it; the elements stand
    // `step` apart along +x from bridge_pos_X + step on. The game turns each end box a
    // quarter about the vertical, so its x half extent lies across the bridge (as wide as the
    // planks and more) and its z half extent along it, short enough to leave the first plank
    // clear (step - plank half = 1.08): an end box reaching into its neighbour pushes it away
    // against the joint between them.
    const float end_half_x = 3.2f, end_half_y = 0.6f, end_half_z = 1.0f;
    const float plank_half_x = 0.85f, plank_half_y = 0.15f, plank_half_z = 2.8f;
    const float first = site.x_west - 1.5f, last = site.x_east + 1.5f;
    const int elements = int(std::lround((last - first) / 2.0f)); // index of the last element
    const float step = (last - first) / float(elements);
    const float y = site.bank + end_half_y;

    char buf[2048];
    std::snprintf(buf, sizeof buf,
                  "# Bridge %s.\n"
                  "# The gap lies open from x=%.1f to x=%.1f along z=%.1f, with banks at height %.1f;\n"
                  "# the bridge starts at (%.2f, %.2f, %.1f) and is %.2f long (physics units).\n"
                  "bridge_elements=%d\n"
                  "dyn_boxSize_X=%.2f\n"
                  "dyn_boxSize_Y=%.2f\n"
                  "dyn_boxSize_Z=%.2f\n"
                  "sta_boxSize_X=%.2f\n"
                  "sta_boxSize_Y=%.2f\n"
                  "sta_boxSize_Z=%.2f\n"
                  "bridge_pos_X=%.4f\n"
                  "bridge_pos_Y=%.2f\n"
                  "bridge_pos_Z=%.2f\n"
                  "step_size=%.4f\n",
                  site.what, site.x_west, site.x_east, site.z, site.bank, first, y, site.z, last - first,
                  elements, plank_half_x, plank_half_y, plank_half_z, end_half_x, end_half_y, end_half_z,
                  first - step, y, site.z, step);
    return buf;
}

} // namespace terrain
