// The landscape: one 4096 x 4096 height field of unsigned 16-bit samples ("hm" file form),
// shaped in physics units. One physics unit is one sample of the physics map, which the
// game builds by averaging 8 x 8 blocks, so the full map spans 512 x 512 physics units.
// A sample h stands at physics height h * 80 / 65535; the water surface lies at 20
// (a quarter of the range, sample 16384).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Output;

namespace terrain {

constexpr int kMapSize = 4096;          // samples per side
constexpr int kPhysSize = 512;          // physics units per side
constexpr float kHeightRange = 80.0f;   // physics height of sample 65535
constexpr float kWaterLevel = 20.0f;    // physics height of the water surface

// A gap that one of the game's bridges spans: open between x_west and x_east (physics x),
// centred on the line z, with firm banks of height `bank` just outside both edges.
struct BridgeSite {
    const char* file;  // the bridge's parameter file, relative to the game directory
    const char* what;  // a few words for the file's comment
    float x_west;
    float x_east;
    float z;
    float bank;
    bool ravine;       // dry gorge instead of water
};

const std::vector<BridgeSite>& bridge_sites();

// The parameter file of a bridge over `site` (text, '\n' line ends).
std::string bridge_file(const BridgeSite& site);

// Designed height in physics units at physics position (x, z), before fine detail.
float design_height(float x, float z);

// The full map, row-major, sample (x, y) at y * kMapSize + x.
std::vector<uint16_t> make_height_map();

// The "hm" file form: 12-byte header (0xFA, 0, reserved, width, height), then the samples,
// all little-endian.
std::vector<uint8_t> encode_hm(const std::vector<uint16_t>& samples, uint32_t w, uint32_t h);

// Writes media/map/map1.hm. Also returns the samples for the texture generators.
bool generate_height_map(Output& out, std::vector<uint16_t>* samples_out = nullptr);

} // namespace terrain
