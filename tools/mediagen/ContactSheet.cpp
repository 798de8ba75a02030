// The contact sheet: one picture of the generated game data for a quick look. It reads the
// files back from the game directory, so it shows what the game will load: every texture,
// the height map as a shaded relief with the level's fixed positions, and every model's first
// key frame, textured, placed by its instance file and drawn with back faces culled.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <stb_image.h>

#include "ContactSheet.h"
#include "Generators.h"
#include "ImageWrite.h"
#include "Md2Reader.h"
#include "Output.h"
#include "Raster.h"

namespace {

const int kWidth = 1536;
const Rgb kPaper = hex(0x23262B);
const Rgb kInk = hex(0xE8E8E8);
const Rgb kDim = hex(0x9098A0);

bool load_image(const std::string& path, Image* img)
{
    int w, h, n;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 3);
    if (!data)
        return false;
    *img = Image(w, h, 3);
    std::copy(data, data + size_t(w) * h * 3, img->pixels.begin());
    stbi_image_free(data);
    return true;
}

// key=value pairs of a parameter file; '#' in the first column starts a comment.
std::map<std::string, std::string> read_params(const std::string& path)
{
    std::map<std::string, std::string> kv;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        size_t eq = line.find('=');
        if (eq != std::string::npos && !kv.count(line.substr(0, eq)))
            kv[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return kv;
}

float param(const std::map<std::string, std::string>& kv, const char* key, float fallback)
{
    auto it = kv.find(key);
    return it == kv.end() ? fallback : std::strtof(it->second.c_str(), nullptr);
}

// The placement an instance file gives: translate, rotate about x, y, z, scale.
Xf instance_transform(const std::string& p_path)
{
    auto kv = read_params(p_path);
    Xf t = Xf::translate({param(kv, "standard_transl_x", 0), param(kv, "standard_transl_y", 0),
                          param(kv, "standard_transl_z", 0)});
    return t * Xf::rot_x(param(kv, "standard_rot_x", 0)) * Xf::rot_y(param(kv, "standard_rot_y", 0)) *
           Xf::rot_z(param(kv, "standard_rot_z", 0)) *
           Xf::scale(param(kv, "scale_x", 1), param(kv, "scale_y", 1), param(kv, "scale_z", 1));
}

struct Part {
    const char* md2;
    const char* skin;
    const char* params;
};

struct Panel {
    Panel(const char* l, std::vector<Part> p, float rot = 0, V3 b = V3())
        : label(l), parts(std::move(p)), display_rot_y(rot), box(b)
    {
    }
    const char* label;
    std::vector<Part> parts;
    float display_rot_y; // turns the nose to the right of the picture
    V3 box;              // physics body to outline (graphics units, full size), or zero
};

// Draws the panel's models into `r`, fitted to its size, and returns their bounds (and,
// when `box` is given, the frame points of the physics box too). False when a file is
// missing or cannot be read.
bool rasterise_panel(Output& out, Raster& r, const OrthoView& view, const Panel& panel, int frame, float margin,
                     V3& lo, V3& hi)
{
    struct Placed {
        Md2Data md2;
        Image skin;
        Xf xf;
        int frame;
    };
    std::vector<Placed> placed;
    std::vector<V3> points;
    Xf display = Xf::rot_y(panel.display_rot_y);
    for (const Part& p : panel.parts) {
        Placed pl;
        std::string err;
        if (!read_md2(out.path(p.md2), &pl.md2, &err)) {
            out.fail(std::string("contact sheet: ") + p.md2 + ": " + err);
            return false;
        }
        if (!load_image(out.path(p.skin), &pl.skin)) {
            out.fail(std::string("contact sheet: cannot decode ") + p.skin);
            return false;
        }
        pl.xf = display * instance_transform(out.path(p.params));
        pl.frame = std::min<int>(frame, int(pl.md2.frames.size()) - 1);
        for (const V3& v : pl.md2.frames[pl.frame])
            points.push_back(pl.xf.apply(v));
        placed.push_back(std::move(pl));
    }
    lo = V3(1e30f, 1e30f, 1e30f);
    hi = V3(-1e30f, -1e30f, -1e30f);
    for (const V3& p : points) {
        lo = V3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = V3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    std::vector<V3> frame_points = points;
    V3 b = panel.box * 0.5f;
    if (b.x > 0)
        for (int i = 0; i < 8; ++i)
            frame_points.push_back(V3(i & 1 ? b.x : -b.x, i & 2 ? b.y : -b.y, i & 4 ? b.z : -b.z));
    r.fit(view, frame_points, margin);
    for (const Placed& pl : placed) {
        const std::vector<V3>& f = pl.md2.frames[pl.frame];
        for (size_t c = 0; c + 2 < pl.md2.corners.size(); c += 3) {
            V3 w[3];
            V2 uv[3];
            for (int k = 0; k < 3; ++k) {
                const Md2Data::Corner& cn = pl.md2.corners[c + k];
                w[k] = pl.xf.apply(f[cn.vertex]);
                uv[k] = {cn.s, cn.t};
            }
            r.triangle(view, w, uv, &pl.skin, kInk);
        }
    }
    return true;
}

void draw_panel(Output& out, Image& sheet, int x, int y, int size, const Panel& panel, float az = 35.0f,
                float el = 22.0f, int frame = 0)
{
    const OrthoView view(az, el);
    Raster r(size * 2, (size - 18) * 2, hex(0x3A4048));
    V3 lo, hi;
    if (!rasterise_panel(out, r, view, panel, frame, 0.06f, lo, hi)) return;
    V3 b = panel.box * 0.5f;
    if (b.x > 0) {
        const Rgb box_c = hex(0x60D0FF);
        for (int i = 0; i < 8; ++i)
            for (int bit = 1; bit < 8; bit <<= 1)
                if (!(i & bit)) {
                    int j = i | bit;
                    r.line(view, V3(i & 1 ? b.x : -b.x, i & 2 ? b.y : -b.y, i & 4 ? b.z : -b.z),
                           V3(j & 1 ? b.x : -b.x, j & 2 ? b.y : -b.y, j & 4 ? b.z : -b.z), box_c);
                }
        // the forward direction of the body
        r.line(view, V3(b.x, 0, 0), V3(b.x * 1.4f, 0, 0), hex(0xFF6040));
    }
    r.resolve_into(sheet, x, y);
    char text[160];
    std::snprintf(text, sizeof text, "%s  %.0fx%.0fx%.0f", panel.label, hi.x - lo.x, hi.y - lo.y, hi.z - lo.z);
    draw_text(sheet, x + 2, y + size - 16, text, kInk, 1);
}

// The height map as relief: light from the north-west, water tinted, fixed positions marked.
bool draw_height_map(Output& out, Image& sheet, int x0, int y0, int size)
{
    auto kv = read_params(out.path("config/map/map1.p"));
    std::string name = kv.count("filename") ? kv["filename"] : "";
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.rfind("./", 0) == 0)
        name = name.substr(2);
    std::vector<uint8_t> bytes;
    std::error_code ec;
    if (!name.empty() && std::filesystem::is_regular_file(out.path(name), ec)) {
        std::ifstream in(out.path(name), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (bytes.size() < 12) {
        draw_text(sheet, x0 + 8, y0 + 8, "no height map", kInk, 2);
        return false;
    }
    uint32_t mw = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | uint32_t(bytes[7]) << 24;
    uint32_t mh = bytes[8] | bytes[9] << 8 | bytes[10] << 16 | uint32_t(bytes[11]) << 24;
    if (mw < 16 || mh < 16 || bytes.size() < 12 + size_t(mw) * mh * 2) {
        draw_text(sheet, x0 + 8, y0 + 8, "bad height map", kInk, 2);
        return false;
    }
    // physics map: 8 x 8 block averages, one sample per physics unit
    const int pw = int(mw / 8), ph = int(mh / 8);
    std::vector<float> phys(size_t(pw) * ph, 0.0f);
    for (int z = 0; z < ph; ++z)
        for (int x = 0; x < pw; ++x) {
            float sum = 0;
            for (int j = 0; j < 8; ++j)
                for (int i = 0; i < 8; ++i) {
                    size_t at = 12 + 2 * (size_t(z * 8 + j) * mw + size_t(x * 8 + i));
                    sum += float(bytes[at] | bytes[at + 1] << 8);
                }
            phys[size_t(z) * pw + x] = sum / 64.0f / 65535.0f;
        }
    auto hgt = [&](int x, int z) {
        x = std::clamp(x, 0, pw - 1);
        z = std::clamp(z, 0, ph - 1);
        return phys[size_t(z) * pw + x];
    };
    const float water = 0.25f;
    const float px_per = float(size) / float(std::max(pw, ph));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fx = x / px_per, fz = y / px_per;
            int ix = int(fx), iz = int(fz);
            if (ix >= pw || iz >= ph)
                continue;
            float h = hgt(ix, iz);
            float dx = (hgt(ix + 1, iz) - hgt(ix - 1, iz)) * 40.0f, dz = (hgt(ix, iz + 1) - hgt(ix, iz - 1)) * 40.0f;
            V3 n = normalized(V3(-dx, 1.0f, -dz));
            float light = std::clamp(0.45f + 0.8f * dot(n, normalized(V3(-1.0f, 1.2f, -1.0f))) - 0.3f, 0.15f, 1.2f);
            Rgb ground = h < water + 0.02f ? hex(0xC8B88A) : (h < 0.55f ? hex(0x5E8A3A) : (h < 0.75f ? hex(0x7A7060) : hex(0xE8E8EC)));
            Rgb c = ground * light;
            if (h < water)
                c = mix(hex(0x3F7FB0), hex(0x0E2C48), std::min(1.0f, (water - h) * 6.0f)) * (0.8f + 0.2f * light);
            put_rgb(sheet, x0 + x, y0 + y, c);
        }
    auto mark = [&](float px, float pz, const Rgb& c, float radius) {
        draw_circle(sheet, x0 + px * px_per, y0 + pz * px_per, radius + 1.5f, hex(0x000000), true);
        draw_circle(sheet, x0 + px * px_per, y0 + pz * px_per, radius, c, true);
    };
    draw_circle(sheet, x0 + 256 * px_per, y0 + 256 * px_per, 128 * px_per, hex(0xFFFFFF), false);
    mark(256, 256, hex(0xFFFFFF), 2.5f);
    for (int i = 0; i < 5; ++i)
        mark(20.0f * i, 120.0f, hex(0xFF3030), 4.0f);
    mark(50, 50, hex(0x40FF40), 5.0f);
    mark(102, 294.5f, hex(0xFFE040), 4.0f);
    mark(136, 294.5f, hex(0xFFE040), 4.0f);
    mark(100, 100, hex(0xFF40FF), 5.0f);
    int ly = y0 + size + 6;
    char text[128];
    std::snprintf(text, sizeof text, "%s  %ux%u (physics map %dx%d)", name.c_str(), mw, mh, pw, ph);
    draw_text(sheet, x0, ly, text, kInk, 1);
    struct Key {
        Rgb c;
        const char* what;
    } keys[] = {{hex(0x40FF40), "player (50,50)"},       {hex(0xFF3030), "opponents (0..80,120)"},
                {hex(0xFFE040), "ducks"},                {hex(0xFF40FF), "ship (100,100)"},
                {hex(0xFFFFFF), "restart circle (256,256) r 128"}};
    int kx = x0;
    for (const Key& k : keys) {
        draw_circle(sheet, kx + 5, ly + 20, 4, k.c, true);
        draw_text(sheet, kx + 12, ly + 16, k.what, kDim, 1);
        kx += 16 + text_width(k.what);
    }
    return true;
}

// Orders names with their digit runs compared as numbers (hm_2 before hm_10).
bool natural_less(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit((unsigned char)a[i]) && std::isdigit((unsigned char)b[j])) {
            size_t i2 = i, j2 = j;
            while (i2 < a.size() && std::isdigit((unsigned char)a[i2]))
                ++i2;
            while (j2 < b.size() && std::isdigit((unsigned char)b[j2]))
                ++j2;
            long na = std::stol(a.substr(i, i2 - i)), nb = std::stol(b.substr(j, j2 - j));
            if (na != nb)
                return na < nb;
            i = i2;
            j = j2;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::vector<std::string> texture_files(const Output& out)
{
    std::vector<std::string> files;
    std::error_code ec;
    const std::filesystem::path root = out.path("media");
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        std::string rel = std::filesystem::relative(it->path(), out.path(".")).generic_string();
        // The desktop's icons are the player's panel once more, not textures of the game.
        if ((ext == ".jpg" || ext == ".png" || ext == ".bmp" || ext == ".tga") && rel != "media/contact_sheet.png" &&
            rel.rfind("media/icons/", 0) != 0)
            files.push_back(rel);
    }
    std::sort(files.begin(), files.end(), natural_less);
    return files;
}

// A thumbnail's place on the sheet: the 16 water slices are shown small.
struct Thumb {
    std::string rel;
    int x = 0, y = 0, size = 0;
};

const int kLabelH = 24;

std::vector<Thumb> layout_thumbs(const std::vector<std::string>& files, int x0, int y0, int* bottom)
{
    std::vector<Thumb> thumbs;
    int x = x0, y = y0, row_h = 0;
    for (const std::string& rel : files) {
        Thumb t;
        t.rel = rel;
        t.size = rel.find("/waveanim/") != std::string::npos ? 60 : 128;
        if (x + t.size > kWidth - 8) {
            x = x0;
            y += row_h + kLabelH + 8;
            row_h = 0;
        }
        t.x = x;
        t.y = y;
        x += t.size + 8;
        row_h = std::max(row_h, t.size);
        thumbs.push_back(t);
    }
    *bottom = y + row_h + kLabelH;
    return thumbs;
}

// `text` cut to fit `width` pixels.
std::string fit(std::string text, int width)
{
    while (text.size() > 3 && text_width(text.c_str()) > width)
        text = text.substr(0, text.size() - 3) + "..";
    return text;
}

const std::vector<Panel>& panels()
{
    static const std::vector<Panel> list = {
        {"player",
         {{"media/objects/hover/hover.md2", "media/objects/hover/hover.jpg", "media/objects/hover/hover_player.p"},
          {"media/objects/hover/rotor1.md2", "media/objects/hover/hover.jpg", "media/objects/hover/rotor_player.p"},
          {"media/objects/hover/rotor2.md2", "media/objects/hover/hover.jpg", "media/objects/hover/rotor_player.p"},
          {"media/objects/teddy/teddy.md2", "media/objects/teddy/teddy.jpg", "media/objects/teddy/teddy_player.p"}},
         0,
         {96, 32, 64}},
        {"opponent",
         {{"media/objects/hover/hover.md2", "media/objects/hover/hover.jpg", "media/objects/hover/hover.p"},
          {"media/objects/hover/rotor1.md2", "media/objects/hover/hover.jpg", "media/objects/hover/rotor.p"},
          {"media/objects/hover/rotor2.md2", "media/objects/hover/hover.jpg", "media/objects/hover/rotor.p"},
          {"media/objects/teddy/teddy.md2", "media/objects/evil/evil.jpg", "media/objects/evil/evil.p"},
          {"media/objects/cam/cam.md2", "media/objects/cam/cam.jpg", "media/objects/cam/cam.p"}},
         -90,
         {96, 32, 64}},
        {"hover",
         {{"media/objects/hover/hover.md2", "media/objects/hover/hover.jpg", "media/objects/hover/hover_player.p"}}},
        {"rotor1+2",
         {{"media/objects/hover/rotor1.md2", "media/objects/hover/hover.jpg", "media/objects/hover/rotor_player.p"},
          {"media/objects/hover/rotor2.md2", "media/objects/hover/hover.jpg", "media/objects/hover/rotor_player.p"}}},
        {"teddy",
         {{"media/objects/teddy/teddy.md2", "media/objects/teddy/teddy.jpg", "media/objects/teddy/teddy_player.p"}}},
        {"teddy (evil)", {{"media/objects/teddy/teddy.md2", "media/objects/evil/evil.jpg", "media/objects/evil/evil.p"}}, -90},
        {"cam", {{"media/objects/cam/cam.md2", "media/objects/cam/cam.jpg", "media/objects/cam/cam.p"}}, -90},
        {"duck", {{"media/objects/duck/duck.md2", "media/objects/duck/duck.jpg", "media/objects/duck/duck.p"}}},
        {"ship", {{"media/objects/ship/ship_anim.md2", "media/objects/ship/ship.jpg", "media/objects/ship/ship.p"}}, -90},
        {"crystal",
         {{"media/objects/crystal/crystal.md2", "media/objects/crystal/crystal.jpg", "media/objects/crystal/crystal.p"}}},
        {"bridge", {{"media/objects/bridge/bridge.md2", "media/objects/bridge/bridge.jpg", "media/objects/bridge/bridge.p"}}},
        {"tree", {{"media/objects/trees/tree.md2", "media/objects/trees/tree.jpg", "media/objects/trees/tree.p"}}},
        {"pilz", {{"media/objects/pilz/pilz.md2", "media/objects/pilz/pilz.jpg", "media/objects/pilz/pilz.p"}}},
        {"lazy boy",
         {{"media/objects/tree_lazy_boy/tree_lazy_boy.md2", "media/objects/tree_lazy_boy/tree_lazy_boy.jpg",
           "media/objects/tree_lazy_boy/tree_lazy_boy.p"}}},
    };
    return list;
}

} // namespace

bool render_model_view(Output& out, const std::string& label, int size, float az, float el, int frame,
                       const std::string& rel)
{
    for (const Panel& p : panels())
        if (label == p.label) {
            Image img(size, size, 3);
            draw_panel(out, img, 0, 0, size, p, az, el, frame);
            return write_png(out, rel, img);
        }
    return false;
}

namespace {

// The icon's backdrop: a disc of sky over moor, its rim smoothed over one pixel.
void draw_icon_backdrop(Image& icon)
{
    const float c = icon.w * 0.5f, radius = icon.w * 0.48f;
    const Rgb sky = hex(0x9CC4E4), moor = hex(0x587A44), rim = hex(0x2E3A2A);
    for (int y = 0; y < icon.h; ++y)
        for (int x = 0; x < icon.w; ++x) {
            const float dx = x + 0.5f - c, dy = y + 0.5f - c, d = std::sqrt(dx * dx + dy * dy);
            const float cover = clamp01(radius - d + 0.5f);
            if (cover <= 0) continue;
            // The horizon a little below the middle, where the hover sits on the moor.
            Rgb col = y < icon.h * 0.58f ? sky : moor;
            if (d > radius - std::max(1.0f, icon.w / 40.0f)) col = rim;
            uint8_t* p = icon.at(x, y);
            const float v[3] = {col.r, col.g, col.b};
            for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t(clamp01(v[ch]) * 255.0f + 0.5f);
            p[3] = uint8_t(cover * 255.0f + 0.5f);
        }
}

} // namespace

bool render_model_icon(Output& out, const std::string& label, int size, const std::string& rel)
{
    for (const Panel& p : panels())
        if (label == p.label) {
            Image icon(size, size, 4);
            draw_icon_backdrop(icon);
            const OrthoView view(40.0f, 18.0f);
            Raster r(size * 2, size * 2, hex(0));
            Panel model = p;
            model.box = V3(); // the physics box is for the sheet's eyes only
            V3 lo, hi;
            if (!rasterise_panel(out, r, view, model, 0, 0.1f, lo, hi)) return false;
            r.resolve_over(icon);
            return write_png(out, rel, icon);
        }
    return false;
}

bool generate_contact_sheet(Output& out)
{
    const int failures_before = out.failures;

    // layout: title, model panels, then the height map beside the texture thumbnails
    const int panel = 256, cols = kWidth / panel;
    const int model_rows = int((panels().size() + cols - 1) / cols);
    const int top = 40, models_h = model_rows * panel + 10;
    const int map_size = 512;
    const int lower_y = top + models_h + 30;
    int thumbs_bottom = 0;
    const std::vector<Thumb> thumbs = layout_thumbs(texture_files(out), map_size + 24, lower_y, &thumbs_bottom);
    const int height = std::max(lower_y + map_size + 50, thumbs_bottom + 10);
    Image sheet(kWidth, height, 3);
    fill_rect(sheet, 0, 0, sheet.w, sheet.h, kPaper);
    draw_text(sheet, 10, 8, "MOORHOLD - generated game data", kInk, 3);

    for (size_t i = 0; i < panels().size(); ++i)
        draw_panel(out, sheet, int(i % cols) * panel, top + int(i / cols) * panel, panel, panels()[i]);

    draw_text(sheet, 10, lower_y - 22, "height map", kInk, 2);
    draw_height_map(out, sheet, 10, lower_y, map_size);
    draw_text(sheet, map_size + 24, lower_y - 22, "textures", kInk, 2);
    for (const Thumb& t : thumbs) {
        Image img;
        if (!load_image(out.path(t.rel), &img)) {
            out.fail("contact sheet: cannot decode " + t.rel);
            continue;
        }
        // wide images (the sky strip) are squeezed into the square
        for (int y = 0; y < t.size; ++y)
            for (int x = 0; x < t.size; ++x) {
                int sx = std::min(img.w - 1, x * img.w / t.size), sy = std::min(img.h - 1, y * img.h / t.size);
                put_rgb(sheet, t.x + x, t.y + y, get_rgb(img, sx, sy));
            }
        std::string name = std::filesystem::path(t.rel).filename().string();
        char size[32];
        std::snprintf(size, sizeof size, "%dx%d", img.w, img.h);
        draw_text(sheet, t.x, t.y + t.size + 3, fit(name, t.size).c_str(), kDim, 1);
        draw_text(sheet, t.x, t.y + t.size + 13, size, kDim, 1);
    }
    write_png(out, "media/contact_sheet.png", sheet);
    return out.failures == failures_before;
}
