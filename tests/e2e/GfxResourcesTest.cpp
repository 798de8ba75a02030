// The graphics resources as a player meets them: every texture and render target made at
// start-up, the title image over the first frames, and the heads-up display after them.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kSceneTextures[] = {
    ".\\media\\sand_base1.jpg", ".\\media\\noise.jpg", ".\\media\\objects\\trees\\tree.jpg",
    ".\\media\\objects\\teddy\\teddy.jpg", ".\\media\\objects\\evil\\evil.jpg",
    ".\\media\\objects\\ship\\ship.jpg", ".\\media\\objects\\crystal\\crystal.jpg",
    ".\\media\\objects\\hover\\hover.jpg", ".\\media\\objects\\cam\\cam.jpg",
    ".\\media\\objects\\unit\\unit.jpg", ".\\media\\objects\\duck\\duck.jpg",
    ".\\media\\objects\\pilz\\pilz.jpg", ".\\media\\objects\\tree_lazy_boy\\tree_lazy_boy.jpg",
    ".\\media\\noise_nm.png", ".\\media\\objects\\bridge\\bridge.jpg", ".\\media\\nature072b.jpg",
    ".\\media\\Grass6.jpg"};

std::string native(std::string p)
{
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.rfind("./", 0) == 0) p = p.substr(2);
    return p;
}

// ---- stand-in media: written only where the generated data has no file yet ----

void write_picture(const fs::path& path, int w, int h, int seed)
{
    if (fs::exists(path)) return;
    fs::create_directories(path.parent_path());
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &px[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<unsigned char>((x * 255 / w + seed * 40) & 255);
            p[1] = static_cast<unsigned char>(y * 255 / h);
            p[2] = static_cast<unsigned char>((seed * 90) & 255);
        }
    std::string ext = path.extension().string();
    if (ext == ".png")
        stbi_write_png(path.string().c_str(), w, h, 3, px.data(), w * 3);
    else
        stbi_write_jpg(path.string().c_str(), w, h, 3, px.data(), 90);
}

// The title: four quadrants of clearly different colours, so that an image shown upside
// down, mirrored or not at all cannot pass for it.
void write_title(const fs::path& path)
{
    if (fs::exists(path)) return;
    const int w = 512, h = 256;
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &px[(static_cast<size_t>(y) * w + x) * 3];
            bool right = x >= w / 2, bottom = y >= h / 2;
            p[0] = right ? 230 : 20;
            p[1] = bottom ? 200 : 40;
            p[2] = static_cast<unsigned char>(right == bottom ? 60 : 220);
        }
    stbi_write_jpg(path.string().c_str(), w, h, 3, px.data(), 95);
}

void write_grey_bmp(const fs::path& path, int side, int seed)
{
    if (fs::exists(path)) return;
    fs::create_directories(path.parent_path());
    const uint32_t offset = 14 + 40 + 256 * 4, size = offset + static_cast<uint32_t>(side * side);
    std::string b;
    auto u16 = [&b](uint32_t v) { b += char(v & 255); b += char((v >> 8) & 255); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    b += "BM";
    u32(size); u32(0); u32(offset);
    u32(40); u32(static_cast<uint32_t>(side)); u32(static_cast<uint32_t>(side));
    u16(1); u16(8); u32(0); u32(static_cast<uint32_t>(side * side)); u32(2835); u32(2835); u32(256); u32(0);
    for (int i = 0; i < 256; ++i) { b += char(i); b += char(i); b += char(i); b += char(0); }
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) b += char((x * 4 + y * 2 + seed * 16) & 255);
    std::ofstream(path, std::ios::binary) << b;
}

// The font image named by the font description: every glyph rectangle opaque white.
void write_font_image(const fs::path& dir)
{
    std::ifstream in(dir / "media" / "font" / "out.fnt", std::ios::binary);
    std::string line, font_tex;
    std::vector<std::array<int, 4>> rects;
    while (std::getline(in, line)) {
        if (line.rfind("font_tex=", 0) == 0) {
            font_tex = line.substr(9);
        } else if (line.size() > 2 && line[1] == '=' && line[0] != '#' && line[0] != '=') {
            std::array<int, 4> r{};
            std::istringstream v(line.substr(2));
            if (v >> r[0] >> r[1] >> r[2] >> r[3]) rects.push_back(r);
        }
    }
    ASSERT_FALSE(font_tex.empty());
    fs::path image = dir / native(font_tex);
    if (fs::exists(image)) return;
    int w = 1, h = 1;
    for (const auto& r : rects) {
        w = std::max(w, r[0] + r[2]);
        h = std::max(h, r[1] + r[3]);
    }
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4, 0);
    for (const auto& r : rects)
        for (int y = r[1]; y < r[1] + r[3]; ++y)
            for (int x = r[0] + 2; x < r[0] + r[2] - 2; ++x) {
                unsigned char* p = &px[(static_cast<size_t>(y) * w + x) * 4];
                p[0] = p[1] = p[2] = p[3] = 255;
            }
    fs::create_directories(image.parent_path());
    stbi_write_png(image.string().c_str(), w, h, 4, px.data(), w * 4);
}

// Turns the run directory's linked media/ into a directory of its own (each generated file
// linked back) and fills in whatever the generator does not make yet.
void prepare_media(const fs::path& dir)
{
    const fs::path media = dir / "media";
    const fs::path source = fs::read_symlink(media);
    fs::remove(media);
    fs::create_directories(media);
    for (const auto& e : fs::recursive_directory_iterator(source)) {
        fs::path target = media / fs::relative(e.path(), source);
        if (e.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::create_directories(target.parent_path());
            fs::create_symlink(e.path(), target);
        }
    }
    write_title(media / "title.jpg");
    write_picture(media / "font_test.png", 64, 64, 1);
    write_picture(media / "cubemap" / "cubemap_daytime_X4.jpg", 6 * 64, 64, 2);
    int seed = 3;
    for (const char* t : kSceneTextures) write_picture(dir / native(t), 64, 64, seed++);
    for (int s = 1; s <= 16; ++s)
        write_grey_bmp(media / "waveanim" / ("hm_" + std::to_string(s) + "_von_16.bmp"), 64, s);
    write_font_image(dir);
    if (!fs::exists(dir / native(".\\media\\map\\map1.hm"))) use_test_height_map(dir);
}

RunOptions options(long frames)
{
    RunOptions opt;
    opt.frames = frames;
    opt.prepare = prepare_media;
    return opt;
}

TEST(GfxResources, EveryTextureAndRenderTargetIsMadeAtStartUp)
{
    GameRun run = run_game(options(20));
    ASSERT_EQ(run.exit_code, 0) << run.log;

    std::vector<std::string> order = {
        "\tLoading font_test.png",
        "successfully loaded 2D texture .\\media\\font_test.png",
        "fontManager constructor",
        "as font texture",
        "fontManager constructor end",
        "successfully loaded 2D texture .\\media\\title.jpg",
        "\t title_tex w,h on screen !!!!!! ",
        "\n\tGFX - hmap exists\n\n",
        "\n\tsuccessfully loaded 16bit 2D texture \n\n",
        "\n\t outside: 16 bit tex id = ",
        "\n\tloading cubemap from .\\media\\cubemap\\cubemap_daytime_X4.jpg\n",
        "_texW=",
    };
    for (const char* t : kSceneTextures) order.push_back(std::string("successfully loaded 2D texture ") + t + "\n");
    for (const char* s : {"is_BMP = 1", "successfully loaded 3D texture with 8bpp samples",
                          "float render targets use GL_RGBA32F_ARB", "building index for tris, w=",
                          "\n\tDOF FBOs\n", "\n\tDOF FBO (small)\n", "\tDOF FBOs end\n\n",
                          "building index for tris, w=", "FBO already exists", "creating Shadow Map FBO",
                          "creating new Depth FBO", "starting main loop", "fontManager destructor end",
                          "SDLGL destructor finished!", "Menu destructor"})
        order.push_back(s);
    EXPECT_TRUE(appear_in_order(run.log, order)) << run.log;

    EXPECT_EQ(count_of(run.log, "successfully loaded 2D texture "), 20) << run.log; // 17 + title, font, menu
    EXPECT_EQ(count_of(run.log, "failed to load"), 0) << run.log;
    EXPECT_EQ(count_of(run.log, "FBO incomplete"), 0) << run.log;
    EXPECT_EQ(count_of(run.log, "could not create the requested FBO"), 0) << run.log;
    EXPECT_EQ(count_of(run.log, "OpenGL ERROR"), 0) << run.log;
    EXPECT_EQ(count_of(run.log, "aj karamba"), 2) << run.log; // '#' and '=' cannot be defined
}

// Mean colour of a block of the screenshot against the same block of the title image,
// the image stretched over the window.
TEST(GfxResources, TitleFramesShowTheTitleImage)
{
    RunOptions opt = options(5);
    fs::path title;
    opt.prepare = [&title](const fs::path& dir) {
        prepare_media(dir);
        title = dir / "media" / "title.jpg";
    };
    GameRun run = run_game(opt);
    ASSERT_EQ(run.exit_code, 0) << run.log;
    ASSERT_FALSE(run.screenshot.empty()) << run.log;
    Image img = load_image_rgb(fs::canonical(title).string());
    ASSERT_FALSE(img.empty());

    const Image& shot = run.screenshot;
    const int bx = 16, by = 12;
    std::vector<double> a, b;
    double diff = 0;
    for (int j = 0; j < by; ++j)
        for (int i = 0; i < bx; ++i) {
            Rgb s = mean_colour(shot, i * shot.width / bx, j * shot.height / by, (i + 1) * shot.width / bx,
                                (j + 1) * shot.height / by);
            Rgb t = mean_colour(img, i * img.width / bx, j * img.height / by, (i + 1) * img.width / bx,
                                (j + 1) * img.height / by);
            for (auto [x, y] : {std::pair{s.r, t.r}, {s.g, t.g}, {s.b, t.b}}) {
                a.push_back(x);
                b.push_back(y);
                diff += std::fabs(x - y);
            }
        }
    double ma = 0, mb = 0;
    for (size_t k = 0; k < a.size(); ++k) {
        ma += a[k];
        mb += b[k];
    }
    ma /= a.size();
    mb /= b.size();
    double sab = 0, saa = 0, sbb = 0;
    for (size_t k = 0; k < a.size(); ++k) {
        sab += (a[k] - ma) * (b[k] - mb);
        saa += (a[k] - ma) * (a[k] - ma);
        sbb += (b[k] - mb) * (b[k] - mb);
    }
    double correlation = sab / std::sqrt(saa * sbb);
    EXPECT_GT(correlation, 0.95);
    EXPECT_LT(diff / a.size(), 12.0);
}

bool is_score_colour(const unsigned char* p)
{
    return std::abs(p[0] - 204) <= 6 && std::abs(p[1] - 153) <= 6 && p[2] <= 6;
}

TEST(GfxResources, LaterFramesShowThePlayersScoreBottomLeft)
{
    GameRun run = run_game(options(20));
    ASSERT_EQ(run.exit_code, 0) << run.log;
    ASSERT_FALSE(run.screenshot.empty()) << run.log;
    const Image& shot = run.screenshot;
    // "you: 0" at (0, 0) in (0.8, 0.6, 0): the lower left corner of the image.
    const int region_w = shot.width / 3, region_h = shot.height / 6;
    int inside = 0, outside = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            if (!is_score_colour(shot.pixel(x, y))) continue;
            if (x < region_w && y >= shot.height - region_h)
                ++inside;
            else
                ++outside;
        }
    EXPECT_GT(inside, 100) << run.dir;
    EXPECT_EQ(outside, 0);
}

} // namespace
