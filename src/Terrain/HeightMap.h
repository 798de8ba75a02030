// The landscape's one height field: full-resolution 16-bit samples, a physics map reduced
// by repeated 2 x 2 averaging, and the physics map cut into square tiles.
#pragma once

#include <cstdint>
#include <cstdio>

class HeightMap {
public:
    // The largest side a map file may claim: twice the game's own map, and still a few
    // hundred megabytes once the physics map's work buffers are counted.
    static constexpr uint32_t kMaxSide = 8192;
    // The most tiles a map may be cut into: each becomes a cooked scratch file and a
    // static actor. The game cuts a square map into 4.
    static constexpr uint32_t kMaxTiles = 256;

    // The tile count the game's start-up asks of a map of w x h samples: a physics map of
    // w / 8 x h / 8 cut into tiles of w / 16.
    static uint32_t game_tile_count(uint32_t w, uint32_t h);

    HeightMap() = default;
    ~HeightMap();
    HeightMap(const HeightMap&) = delete;
    HeightMap& operator=(const HeightMap&) = delete;

    // Each returns 0 on success and -1 on failure.
    int readfile(const char* name);  // the form is chosen by the name's ending
    int read_raw(const char* name);  // samples only, square
    int read_hm(const char* name);   // 12-byte header with width and height
    int write_hm(const char* name);
    int write_raw(const char* name); // the name's ending becomes ".raw"

    void smooth();
    // Cuts nothing (after a message) when the sizes would give more than kMaxTiles tiles.
    void create_tiles(unsigned int pw, unsigned int ph, unsigned int ts);
    void downsample(unsigned int factor);

    // The physics map: whether (x, z) lies on it, and its sample there.
    bool phys_inside(long x, long z) const
    {
        return x >= 0 && z >= 0 && x < static_cast<long>(phys_map_w) && z < static_cast<long>(phys_map_h);
    }
    uint16_t phys_at(long x, long z) const { return phys_map[z * phys_map_w + x]; }

    int32_t map_w = 0;
    int32_t map_h = 0;
    uint16_t* map_data = nullptr;
    uint32_t phys_map_w = 0;
    uint32_t phys_map_h = 0;
    uint32_t phys_ts = 0;
    uint32_t tile_cnt = 0;
    uint16_t** tiles = nullptr;
    uint16_t* phys_map = nullptr;

private:
    void release();
    int write_data_and_close(FILE* f, const char* name);
    int size_in_mb() const; // the sample data's size, as the progress lines report it
    int allocate_map(uint64_t w, uint64_t h);
    // The samples of the allocated map from `f`, which it closes. A file that ends early
    // leaves no map behind (false).
    bool read_body(std::FILE* f, const char* name);
    // Whether a map of w x h samples can be held and tiled; prints why not.
    static bool size_acceptable(const char* name, uint64_t w, uint64_t h);
};

// The physics-map position of tile t's first sample.
void tile_origin(uint32_t t, uint32_t phys_map_w, uint32_t ts, uint32_t& ds_x, uint32_t& ds_y);

extern HeightMap hmap;
