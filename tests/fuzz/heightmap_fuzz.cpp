// The height map in both forms (the first byte: even "hm", odd raw), then its tiles: a map
// within the size limits, tiles within their limit, each holding the physics map's samples.
#include "FuzzFile.h"
#include "Terrain/HeightMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const bool raw = data[0] & 1;
    const std::string path = fuzz_file(raw ? "map.raw" : "map.hm", data + 1, size - 1);
    HeightMap map;
    if (map.readfile(path.c_str()) != 0) {
        require(map.map_data == nullptr);
        return 0;
    }
    require(map.map_w > 0 && map.map_h > 0);
    require(uint32_t(map.map_w) <= HeightMap::kMaxSide && uint32_t(map.map_h) <= HeightMap::kMaxSide);
    require((size - 1) >= size_t(map.map_w) * map.map_h * 2 + (raw ? 0 : 12));
    map.create_tiles(map.map_w / 8, map.map_h / 8, map.map_w / 16);
    require(map.tile_cnt <= HeightMap::kMaxTiles);
    for (uint32_t t = 0; t < map.tile_cnt; ++t) {
        uint32_t x, y;
        tile_origin(t, map.phys_map_w, map.phys_ts, x, y);
        const uint32_t last = map.phys_ts - 1;
        require(map.tiles[t][0] == map.phys_at(x, y));
        require(map.tiles[t][last * map.phys_ts + last] == map.phys_at(x + last, y + last));
    }
    return 0;
}
