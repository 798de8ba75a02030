#include "Md2Reader.h"

#include "Gfx/Md2File.h"
#include "Gfx/Md2ModelData.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Corner k of the triangle form: the triangle's position and its texture coordinate in
// texels, normalised by the skin.
Md2Data::Corner triangle_corner(const Md2File& file, const Md2Triangle& t, int k)
{
    const Md2Header& h = file.Header();
    const Md2TexCoord st = file.TexCoord(t.texcoord[k]);
    return {t.vertex[k], float(st.s) / float(h.skin_width), float(st.t) / float(h.skin_height)};
}

// The GL command list's strips and fans as triangles, in the winding GL draws them.
void command_corners(const Md2File& file, std::vector<Md2Data::Corner>& out)
{
    std::vector<Md2Data::Corner> records;
    std::vector<uint16_t> order;
    std::vector<Md2StripInfo> strips;
    size_t pos = file.GlCommandsBegin();
    const size_t end = file.GlCommandsEnd();
    while (pos + 4 <= end) {
        const int32_t count = file.GlWord(pos);
        pos += 4;
        if (count == 0) break;
        const int n = std::abs(count);
        strips.push_back(md2_strip_info(n, count < 0));
        for (int k = 0; k < n; ++k, pos += 12) {
            const Md2GlVertex v = file.GlVertex(pos);
            order.push_back(uint16_t(records.size()));
            records.push_back({v.vertex, v.s, v.t});
        }
    }
    for (uint16_t r : md2_triangle_list(order, strips)) out.push_back(records[r]);
}

} // namespace

bool parse_md2(const std::vector<uint8_t>& bytes, Md2Data* out, std::string* error)
{
    // The game's own reader checks the file, so the sheet shows what the game would load.
    Md2File file;
    if (!file.Assign(bytes.data(), bytes.size())) {
        if (error) *error = "not an MD2 file of version 8 that the game would load";
        return false;
    }
    const Md2Header& h = file.Header();
    out->skin_w = h.skin_width;
    out->skin_h = h.skin_height;
    out->num_vertices = h.num_vertices;
    out->frames.clear();
    out->frame_names.clear();
    for (int f = 0; f < h.num_frames; ++f) {
        const Md2FrameView frame = file.Frame(f);
        out->frame_names.push_back(frame.name);
        std::vector<V3> pos(size_t(h.num_vertices));
        for (int i = 0; i < h.num_vertices; ++i) {
            const uint8_t* v = frame.vertices + 4 * size_t(i);
            float p[3];
            for (int k = 0; k < 3; ++k) p[k] = float(v[k]) * frame.scale[k] + frame.translate[k];
            pos[size_t(i)] = V3(p[0], p[2], p[1]); // z up in the file, y up in the game
        }
        out->frames.push_back(std::move(pos));
    }

    out->corners.clear();
    out->gl_commands = file.CommandForm();
    if (out->gl_commands) {
        command_corners(file, out->corners);
    } else {
        for (int t = 0; t < h.num_tris; ++t) {
            const Md2Triangle tri = file.Triangle(t);
            for (int k = 0; k < 3; ++k) out->corners.push_back(triangle_corner(file, tri, k));
        }
    }
    return true;
}

bool read_md2(const std::string& path, Md2Data* out, std::string* error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return parse_md2(bytes, out, error);
}
