#include "Terrain/HeightMap.h"

#include "Common/Platform.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

HeightMap hmap;

namespace {

bool ends_with(const char* name, const char* ending)
{
    size_t n = std::strlen(name), e = std::strlen(ending);
    return n >= e && std::memcmp(name + n - e, ending, e) == 0;
}

// The last `count` characters of `name`, or all of it when it is shorter.
const char* tail(const char* name, size_t count)
{
    size_t n = std::strlen(name);
    return n >= count ? name + n - count : name;
}

// Little-endian 32-bit value from four bytes.
uint32_t le32(const unsigned char* b)
{
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void put_le32(unsigned char* b, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Reads `count` little-endian samples; false when the file holds fewer.
bool read_samples(FILE* f, uint16_t* out, size_t count)
{
    std::vector<unsigned char> bytes(count * 2, 0);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) return false;
    for (size_t i = 0; i < count; ++i) out[i] = uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return true;
}

bool write_samples(FILE* f, const uint16_t* data, size_t count)
{
    std::vector<unsigned char> bytes(count * 2);
    for (size_t i = 0; i < count; ++i) {
        bytes[2 * i] = static_cast<unsigned char>(data[i]);
        bytes[2 * i + 1] = static_cast<unsigned char>(data[i] >> 8);
    }
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

} // namespace

HeightMap::~HeightMap() { release(); }

void HeightMap::release()
{
    delete[] map_data;
    map_data = nullptr;
    if (tiles) {
        for (uint32_t t = 0; t < tile_cnt; ++t) delete[] tiles[t];
        delete[] tiles;
        tiles = nullptr;
    }
    delete[] phys_map;
    phys_map = nullptr;
    map_w = map_h = 0;
    phys_map_w = phys_map_h = phys_ts = tile_cnt = 0;
}

uint32_t HeightMap::game_tile_count(uint32_t w, uint32_t h)
{
    const uint32_t pw = w / 8, ph = h / 8, ts = w / 16;
    return ts == 0 ? 0 : (ph / ts) * (pw / ts);
}

bool HeightMap::size_acceptable(const char* name, uint64_t w, uint64_t h)
{
    if (w > kMaxSide || h > kMaxSide) {
        std::fprintf(stderr, "the height map %s is too large: %llu x %llu samples (at most %u on a side)\n", name,
                     static_cast<unsigned long long>(w), static_cast<unsigned long long>(h), kMaxSide);
        return false;
    }
    const uint32_t tiles = game_tile_count(static_cast<uint32_t>(w), static_cast<uint32_t>(h));
    if (tiles > kMaxTiles) {
        std::fprintf(stderr, "the height map %s cannot be cut into tiles: %llu x %llu samples give %u tiles (at most %u)\n",
                     name, static_cast<unsigned long long>(w), static_cast<unsigned long long>(h), tiles, kMaxTiles);
        return false;
    }
    return true;
}

int HeightMap::allocate_map(uint64_t w, uint64_t h)
{
    // A loaded map replaces the previous one whole, tiles and physics map included.
    release();
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return -1;
    map_data = new (std::nothrow) uint16_t[w * h];
    if (!map_data) return -1;
    map_w = static_cast<int32_t>(w);
    map_h = static_cast<int32_t>(h);
    return 0;
}

int HeightMap::readfile(const char* name)
{
    std::printf("in map-readfile: %s\n", name);
    std::printf("in map-readfile + slen-4 : %s\n", tail(name, 4));
    std::printf("in map-readfile + slen-3 : %s\n", tail(name, 3));
    if (ends_with(name, "raw")) return read_raw(name);
    if (ends_with(name, "hm")) return read_hm(name);
    std::printf("---%s---\n", name);
    return -1;
}

bool HeightMap::read_body(FILE* f, const char* name)
{
    std::printf("here!\n");
    const bool whole = read_samples(f, map_data, static_cast<size_t>(map_w) * map_h);
    std::fclose(f);
    if (!whole) {
        // The file shrank between its size being taken and its samples being read.
        std::fprintf(stderr, "the height map %s could not be read whole\n", name);
        release();
        return false;
    }
    std::printf("successfully read file %s\n", name);
    return true;
}

namespace {

// Opens a map for reading; says so when what stands at its name is no file (a directory, a
// pipe, a device), which is refused without waiting on it.
FILE* open_map(const char* name)
{
    FILE* f = open_file(name, "rb");
    if (!f && names_a_non_regular_file(native_path(name)))
        std::fprintf(stderr, "the height map %s is not a file that can be read\n", name);
    return f;
}

} // namespace

int HeightMap::read_raw(const char* name)
{
    FILE* f = open_map(name);
    if (!f) return -1;
    const long long bytes = regular_file_size(f);
    if (bytes < 0) {
        std::fprintf(stderr, "the height map %s is not a file that can be read\n", name);
        std::fclose(f);
        return -1;
    }
    uint64_t side = static_cast<uint64_t>(std::sqrt(static_cast<double>(bytes / 2)));
    if (!size_acceptable(name, side, side) || allocate_map(side, side) != 0) {
        std::fclose(f);
        return -1;
    }
    if (!read_body(f, name)) return -1;
    std::printf("map width = %d, map height = %d, size = %f MB\n", map_w, map_h,
                static_cast<double>(map_w) * map_h * 2 / 1048576);
    return 0;
}

int HeightMap::read_hm(const char* name)
{
    FILE* f = open_map(name);
    if (!f) return -1;
    unsigned char header[12];
    if (std::fread(header, 12, 1, f) != 1) {
        std::fclose(f);
        return -1;
    }
    // The header is checked against the file before anything is allocated: a dozen bytes
    // must not be able to ask for gigabytes, nor a short file pass for a flat landscape.
    const uint64_t w = le32(header + 4), h = le32(header + 8);
    const long long bytes = regular_file_size(f);
    const unsigned long long held = bytes > 12 ? static_cast<unsigned long long>(bytes - 12) : 0;
    if (w == 0 || h == 0 || !size_acceptable(name, w, h)) {
        if (w == 0 || h == 0) std::fprintf(stderr, "the height map %s holds no samples (%llu x %llu)\n", name,
                                           static_cast<unsigned long long>(w), static_cast<unsigned long long>(h));
        std::fclose(f);
        return -1;
    }
    if (held < w * h * 2) {
        std::fprintf(stderr,
                     "the height map %s is cut short: its header promises %llu x %llu samples (%llu bytes), the file "
                     "holds %llu bytes of samples\n",
                     name, static_cast<unsigned long long>(w), static_cast<unsigned long long>(h),
                     static_cast<unsigned long long>(w * h * 2), held);
        std::fclose(f);
        return -1;
    }
    if (allocate_map(w, h) != 0) {
        std::fclose(f);
        return -1;
    }
    if (!read_body(f, name)) return -1;
    std::printf("map width = %d, map height = %d, size = %d MB\n", map_w, map_h, size_in_mb());
    return 0;
}

int HeightMap::write_hm(const char* name)
{
    FILE* f = open_file(name, "wb");
    if (!f) return -1;
    unsigned char header[12] = {0xFA, 0x00};
    put_le32(header + 4, static_cast<uint32_t>(map_w));
    put_le32(header + 8, static_cast<uint32_t>(map_h));
    std::printf("starting file write - header\n");
    size_t items = std::fwrite(header, 12, 1, f);
    std::printf("after header write\n");
    if (items != 1) {
        std::printf("here! %d vs %d\n", static_cast<int>(items * 12), 12);
        std::fclose(f);
        return -1;
    }
    return write_data_and_close(f, name);
}

int HeightMap::write_raw(const char* name)
{
    std::string fname = name;
    if (!ends_with(name, ".raw")) {
        std::printf("patch filename to .raw extension");
        std::printf("fname was: %s\n", name);
        // Replaces a three-character ending such as ".hm"; a name too short for one gets
        // the ending appended instead.
        if (fname.size() >= 3)
            fname = fname.substr(0, fname.size() - 3) + ".raw";
        else
            fname += ".raw";
        std::printf("fname is: %s\n", fname.c_str());
    }
    FILE* f = open_file(fname.c_str(), "wb");
    if (!f) return -1;
    // The raw form has no header; the progress lines stay the same as for the "hm" form.
    std::printf("starting file write - header\n");
    std::printf("after header write\n");
    return write_data_and_close(f, fname.c_str());
}

int HeightMap::write_data_and_close(FILE* f, const char* name)
{
    std::printf("starting file write - data\n");
    bool ok = write_samples(f, map_data, static_cast<size_t>(map_w) * map_h);
    std::printf("map width = %d, map height = %d, size = %d MB\n", map_w, map_h, size_in_mb());
    std::printf("finished file write - data\n");
    // A full disk must not pass for a written map.
    if (std::fclose(f) != 0 || !ok) return -1;
    std::printf("successfully written file %s\n", name);
    return 0;
}

int HeightMap::size_in_mb() const
{
    return static_cast<int>((static_cast<uint32_t>(map_w) * static_cast<uint32_t>(map_h) * 2u) >> 20);
}

void HeightMap::smooth()
{
    const float kernel[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
    int sum = 0;
    for (float w : kernel) sum = static_cast<int>(static_cast<float>(sum) + w);
    for (int y = 0; y < map_h; ++y) {
        for (int x = 0; x < map_w; ++x) {
            int acc = 0, k = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx, ++k) {
                    int sx = x + dx < 0 ? 0 : (x + dx > map_w - 1 ? map_w - 1 : x + dx);
                    int sy = y + dy < 0 ? 0 : (y + dy > map_h - 1 ? map_h - 1 : y + dy);
                    double s = map_data[static_cast<size_t>(sy) * map_w + sx];
                    acc = static_cast<int>(s * static_cast<double>(kernel[k]) + acc);
                }
            }
            map_data[static_cast<size_t>(y) * map_w + x] = static_cast<uint16_t>(acc / sum);
        }
    }
}

void tile_origin(uint32_t t, uint32_t phys_map_w, uint32_t ts, uint32_t& ds_x, uint32_t& ds_y)
{
    uint32_t tiles_per_row = phys_map_w / ts;
    ds_x = (t % tiles_per_row) * ts;
    ds_y = ((t * ts) / phys_map_w) * ts;
}

void HeightMap::create_tiles(unsigned int pw, unsigned int ph, unsigned int ts)
{
    std::printf("create tiles for PHYSX baking!\n");
    // Without a map, or with a size that cannot be tiled, there is nothing to cut.
    if (!map_data || pw == 0 || ph == 0 || ts == 0) return;
    uint32_t tiles_per_row = pw / ts;
    phys_map_h = ph;
    phys_ts = ts;
    phys_map_w = pw;
    tile_cnt = (ph / ts) * tiles_per_row;
    if (tile_cnt > kMaxTiles) {
        std::fprintf(stderr, "refusing to cut %u tiles of %u samples (at most %u)\n", tile_cnt, ts, kMaxTiles);
        phys_map_w = phys_map_h = phys_ts = tile_cnt = 0;
        return;
    }
    phys_map = new uint16_t[static_cast<size_t>(pw) * ph];
    std::printf("here, tile cnt = %d phys_map_w=%d ts=%d\n", tile_cnt, pw, ts);
    tiles = new uint16_t*[tile_cnt];
    downsample(static_cast<uint32_t>(map_w) / pw);
    std::printf("here\n");
    for (uint32_t t = 0; t < tile_cnt; ++t) {
        tiles[t] = new uint16_t[static_cast<size_t>(ts) * ts];
        uint32_t ds_x, ds_y;
        tile_origin(t, pw, ts, ds_x, ds_y);
        std::printf("ds_x = %d, ds_y = %d\n", ds_x, ds_y);
        for (uint32_t r = 0; r < ts; ++r)
            std::memcpy(tiles[t] + static_cast<size_t>(r) * ts,
                        phys_map + static_cast<size_t>(ds_y + r) * pw + ds_x, ts * sizeof(uint16_t));
    }
}

void HeightMap::downsample(unsigned int factor)
{
    const size_t stride = static_cast<size_t>(map_w);
    std::vector<uint16_t> a(map_data, map_data + stride * map_h), b(stride * map_h, 0);
    std::vector<uint16_t>* src = &a;
    std::vector<uint16_t>* dst = &b;
    int cur_w = map_w, cur_h = map_h;
    for (unsigned int f = factor; f >= 2; f >>= 1) {
        for (int y = 0; y < cur_h; y += 2) {
            // An odd side has no partner for its last row or column: it pairs with itself.
            int y1 = y + 1 < cur_h ? y + 1 : y;
            for (int x = 0; x < cur_w; x += 2) {
                int x1 = x + 1 < cur_w ? x + 1 : x;
                const uint16_t* s = src->data();
                int sum = s[y * stride + x] + s[y * stride + x1] + s[y1 * stride + x] + s[y1 * stride + x1];
                (*dst)[(y / 2) * stride + x / 2] = static_cast<uint16_t>(sum >> 2);
            }
        }
        cur_w /= 2;
        cur_h /= 2;
        std::swap(src, dst);
    }
    // The result lies in the top-left cur_w x cur_h samples of src; a physics map larger
    // than that repeats its last valid row and column.
    const uint32_t last_row = cur_h > 1 ? cur_h - 1 : 0, last_col = cur_w > 1 ? cur_w - 1 : 0;
    for (uint32_t r = 0; r < phys_map_h; ++r) {
        uint32_t sr = r < last_row ? r : last_row;
        for (uint32_t c = 0; c < phys_map_w; ++c) {
            uint32_t sc = c < last_col ? c : last_col;
            phys_map[static_cast<size_t>(r) * phys_map_w + c] = (*src)[sr * stride + sc];
        }
    }
    if (static_cast<uint32_t>(cur_w) == phys_map_w)
        std::printf("downsample seems to have worked fine\n");
    else
        std::printf(" >>> start_w = %d vs. phys_map_w = %d\n", cur_w, phys_map_w);
}
