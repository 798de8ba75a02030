// fuzz_seeds GAME OUT: the starting corpus of every fuzzer, one directory per target, cut
// from the generated game directory, plus the crafted files that once got past the readers.
#include "HostileFiles.h"
#include "Md2Writer.h"
#include "Physics/NxCookedMesh.h"
#include "Terrain/HeightMap.h"
#include "TempDir.h"
#include "unit/PhysicsTestKit.h"

#include <SDL.h>
#include <SDL_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path out_dir;

void seed(const std::string& target, const std::string& name, const std::string& bytes)
{
    fs::create_directories(out_dir / target);
    std::ofstream(out_dir / target / name, std::ios::binary) << bytes;
}

// The top-left side x side samples of the game's map, as its reader gives them.
std::vector<uint16_t> map_corner(const fs::path& game, int side)
{
    HeightMap map;
    std::vector<uint16_t> out;
    const std::string path = (game / "media" / "map" / "map1.hm").string();
    if (map.readfile(path.c_str()) != 0 || map.map_w < side || map.map_h < side) return out;
    for (const uint16_t* row = map.map_data; out.size() < size_t(side * side); row += map.map_w)
        out.insert(out.end(), row, row + side);
    return out;
}

void height_map_seeds(const fs::path& game)
{
    const std::vector<uint16_t> corner = map_corner(game, 64);
    // The fuzzer's first byte picks the form: even "hm", odd raw (the "hm" file less its header).
    const std::string hm(1, '\0'), corner_hm = hostile::hm_file(64, 64, corner);
    seed("heightmap", "corner.hm", hm + corner_hm);
    seed("heightmap", "corner.raw", "\1" + corner_hm.substr(12));
    seed("heightmap", "wide.hm", hm + hostile::hm_file(128, 32, std::vector<uint16_t>(128 * 32, 777)));
    seed("heightmap", "claims-20000-square.hm", hm + hostile::hm_header_claiming_20000_square());
    seed("heightmap", "claims-16-by-2pow20.hm", hm + hostile::hm_header_claiming_16_by_2_pow_20());
    seed("heightmap", "cut-short.hm", hm + hostile::hm_file(64, 64, {1, 2, 3}));

    GridMesh patch(16, [&](float x, float z) { return corner.empty() ? 0.0f : corner[size_t(z * 64 + x)] * 0.01f; });
    NxTriangleMeshDesc desc = patch.desc();
    desc.heightFieldVerticalAxis = NX_Y;
    desc.heightFieldVerticalExtent = -100.0f;
    MemoryStream cooked;
    if (cook(desc, cooked)) seed("cooked_mesh", "tmp_0.bin", std::string(cooked.bytes.begin(), cooked.bytes.end()));
}

// A w x h cut of an image's top-left corner as 24-bit RGB, or empty.
std::vector<uint8_t> image_corner(const fs::path& file, int w, int h)
{
    SDL_Surface* s = IMG_Load(file.string().c_str());
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    std::vector<uint8_t> out;
    if (s && rgb && SDL_BlitSurface(s, nullptr, rgb, nullptr) == 0) // a software surface needs no lock
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = static_cast<const uint8_t*>(rgb->pixels) + size_t(y) * rgb->pitch;
            out.insert(out.end(), row, row + size_t(w) * 3);
        }
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(s);
    return out;
}

void append_to_string(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
}

void texture_seeds(const fs::path& game)
{
    const char* sources[] = {"font_test.png", "noise.jpg", "noise_nm.png", "cubemap/cubemap_daytime_X4.jpg"};
    int k = 0;
    for (const char* source : sources) {
        const std::vector<uint8_t> px = image_corner(game / "media" / source, 24, 4);
        if (px.empty()) continue;
        const std::string stem = "cut" + std::to_string(k++);
        std::string png(1, '\1'), jpg(1, '\0'), tga(1, '\3');
        stbi_write_png_to_func(append_to_string, &png, 24, 4, 3, px.data(), 24 * 3);
        stbi_write_jpg_to_func(append_to_string, &jpg, 24, 4, 3, px.data(), 90);
        stbi_write_tga_to_func(append_to_string, &tga, 24, 4, 3, px.data());
        seed("texture", stem + ".png", png);
        seed("texture", stem + ".jpg", jpg);
        seed("texture", stem + ".tga", tga);
    }
    // SDL_image goes by content, so the crafted BMP is also tried under a JPEG's name.
    const std::string crafted = hostile::wave_slice_bmp_with_absurd_bit_count();
    seed("texture", "absurd-bit-count.bmp", "\2" + crafted);
    seed("texture", "absurd-bit-count-as.jpg", std::string(1, '\0') + crafted);
    // 10520 x 23552 run-length pixels in 30 bytes: SDL_image once read past its end for minutes.
    static const unsigned char huge_tga[30] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x18, 0x29, 0x00, 0x5c,
                                               24, 0, 0x97, 0x2a, 0x2a, 0x1c};
    seed("texture", "huge-run-length.tga", "\3" + std::string(reinterpret_cast<const char*>(huge_tga), 30));
}

void wave_seeds(const fs::path& game)
{
    for (int s : {1, 8}) {
        // The slices are grey: red stands for the height.
        const std::string name = "hm_" + std::to_string(s) + "_von_16.bmp";
        const std::vector<uint8_t> rgb = image_corner(game / "media" / "waveanim" / name, 16, 16);
        std::vector<uint8_t> px;
        for (size_t i = 0; i < rgb.size(); i += 3) px.push_back(rgb[i]);
        if (!px.empty()) seed("wave", "slice" + std::to_string(s) + ".bmp", hostile::grey_bmp(16, 16, px));
    }
    seed("wave", "absurd-bit-count.bmp", hostile::wave_slice_bmp_with_absurd_bit_count());
}

void md2_seeds(const fs::path& game)
{
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(game / "media" / "objects"))
        if (e.path().extension() == ".md2" && e.file_size() <= 32 * 1024)
            seed("md2", e.path().filename().string(), read_file(e.path()));
    auto write = [](const std::string& name, const Md2Writer& w) { seed("md2", name, w.bytes()); };
    write("tri1.md2", md2_octahedron("a", 1, false));
    write("tri3.md2", md2_octahedron("walk", 3, false));
    write("cmd2.md2", md2_octahedron("run", 2, true));
    Md2Writer mixed = md2_octahedron("stand", 2, true);
    mixed.add_frame("jump1", mixed.frames[0].vertices);
    mixed.add_frame("jump2", mixed.frames[1].vertices);
    mixed.glcmds.pop_back();
    mixed.add_gl_strip({{0, 0, 0}, {1, 0, 1}, {1, 1, 2}, {0, 1, 3}, {0.5f, 0.5f, 4}}, true);
    mixed.end_gl_commands();
    write("mixed.md2", mixed);
}

void text_seeds(const fs::path& game)
{
    for (const char* dir : {"config", "media"})
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(game / dir))
            if (e.path().extension() == ".p") {
                std::string name = fs::relative(e.path(), game).string();
                std::replace(name.begin(), name.end(), '/', '_');
                seed("param", name, read_file(e.path()));
            }
    seed("font", "out.fnt", read_file(game / "media" / "font" / "out.fnt"));
    seed("camera_path", "camera_path.txt", read_file(game / "media" / "camera_path.txt"));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds GAME_DIR OUT_DIR\n");
        return 2;
    }
    std::freopen("/dev/null", "w", stdout); // the game's map reader reports on standard output
    const fs::path game = argv[1];
    out_dir = argv[2];
    text_seeds(game);
    height_map_seeds(game);
    texture_seeds(game);
    wave_seeds(game);
    md2_seeds(game);
    for (const char* target : {"param", "font", "camera_path", "heightmap", "cooked_mesh", "texture", "wave", "md2"})
        if (!fs::exists(out_dir / target) || fs::is_empty(out_dir / target)) {
            std::fprintf(stderr, "fuzz_seeds: no seeds for %s (is %s the built game directory?)\n", target, argv[1]);
            return 1;
        }
    return 0;
}
