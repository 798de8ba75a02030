#include "Gfx/Md2ModelData.h"

#include "Gfx/Md2File.h"

#include <cstring>
#include <utility>

std::string md2_cycle_name(const char* frame_name)
{
    std::string name = frame_name;
    size_t n = name.size();
    if (n >= 2 && name[n - 2] == '0')
        name.resize(n - 2);
    else if (n >= 1)
        name.resize(n - 1);
    return name;
}

namespace {

// Render vertices found so far, searched in order of first appearance. Only entries of the
// same frame vertex can be equal, so each frame vertex keeps its own list; the first match
// is the same one a search of the whole list from the start would find.
template <typename Key>
class RenderVertexSet {
public:
    explicit RenderVertexSet(int frame_vertices) : by_vertex(size_t(frame_vertices)) {}

    // The render vertex equal to `key`, appended when there is none yet; -1 once the drawing
    // limit would be passed.
    int find_or_add(const Key& key)
    {
        std::vector<uint16_t>& bucket = by_vertex[key.vertex];
        for (uint16_t r : bucket)
            if (keys[r] == key) return r;
        if (keys.size() >= size_t(kMd2MaxRenderVertices)) return -1;
        bucket.push_back(uint16_t(keys.size()));
        keys.push_back(key);
        return int(keys.size()) - 1;
    }

    std::vector<Key> keys;

private:
    std::vector<std::vector<uint16_t>> by_vertex;
};

} // namespace

void Md2ModelData::Clear()
{
    *this = Md2ModelData();
}

bool Md2ModelData::Convert(const Md2File& file)
{
    Clear();
    const Md2Header& h = file.Header();
    if (h.num_frames < 1 || h.num_vertices > kMd2MaxFrameVertices || h.num_tris > 0xFFFF) return false;

    for (int i = 0; i < h.num_skins; ++i) m_Skins.push_back(file.Skin(i));
    m_NumVertices = uint16_t(h.num_vertices);
    m_CommandForm = file.CommandForm();
    bool ok = m_CommandForm ? BuildCommandForm(file) : BuildTriangleForm(file);
    if (ok) BuildTriVertices(file);
    ok = ok && BuildCycles(file);
    if (!ok) Clear();
    return ok;
}

std::vector<uint16_t> md2_triangle_list(const std::vector<uint16_t>& indices, const std::vector<Md2StripInfo>& strips)
{
    std::vector<uint16_t> out;
    size_t first = 0;
    for (Md2StripInfo e : strips) {
        const size_t count = e >> 1;
        const bool fan = (e & 1) != 0;
        if (first + count > indices.size()) break;
        const uint16_t* v = indices.data() + first;
        for (size_t k = 0; k + 2 < count; ++k) {
            uint16_t a = fan ? v[0] : v[k], b = v[k + 1], c = v[k + 2];
            if (!fan && (k & 1)) std::swap(a, b);
            if (a == b || b == c || a == c) continue;
            out.insert(out.end(), {a, b, c});
        }
        first += count;
    }
    return out;
}

bool Md2ModelData::BuildTriangleForm(const Md2File& file)
{
    const Md2Header& h = file.Header();
    std::vector<float> per_file(2 * size_t(h.num_texcoords));
    for (int i = 0; i < h.num_texcoords; ++i) {
        Md2TexCoord st = file.TexCoord(i);
        per_file[2 * i] = float(st.s) / float(h.skin_width);
        per_file[2 * i + 1] = float(st.t) / float(h.skin_height);
    }

    RenderVertexSet<Md2VertexArrayIndex> set(h.num_vertices);
    m_IndexArray.reserve(3 * size_t(h.num_tris));
    for (int i = 0; i < h.num_tris; ++i) {
        Md2Triangle t = file.Triangle(i);
        for (int c = 0; c < 3; ++c) {
            int r = set.find_or_add({t.vertex[c], t.texcoord[c]});
            if (r < 0) return false;
            m_IndexArray.push_back(uint16_t(r));
        }
    }
    m_NumTris = uint16_t(h.num_tris);
    m_NumRenderVertices = uint16_t(set.keys.size());
    for (const Md2VertexArrayIndex& k : set.keys) {
        m_RenderToVertex.push_back(k.vertex);
        m_TexCoordArray.push_back(per_file[2 * k.texcoord]);
        m_TexCoordArray.push_back(per_file[2 * k.texcoord + 1]);
    }
    return true;
}

bool Md2ModelData::BuildCommandForm(const Md2File& file)
{
    RenderVertexSet<Md2VertexArrayIndex2> set(file.Header().num_vertices);
    size_t pos = file.GlCommandsBegin();
    const size_t end = file.GlCommandsEnd();
    while (pos + 4 <= end) {
        int32_t count = file.GlWord(pos);
        pos += 4;
        if (count == 0) break;
        int64_t n = count < 0 ? -int64_t(count) : int64_t(count);
        // Counts and indices are kept in 16 bits.
        if (n > 0x7FFF || m_Strips.size() >= 0xFFFF || m_IndexArray.size() + size_t(n) > 0xFFFF) return false;
        m_Strips.push_back(md2_strip_info(int(n), count < 0));
        for (int64_t k = 0; k < n; ++k, pos += 12) {
            Md2GlVertex v = file.GlVertex(pos);
            int r = set.find_or_add({uint16_t(v.vertex), v.s, v.t});
            if (r < 0) return false;
            m_IndexArray.push_back(uint16_t(r));
        }
    }
    m_NumTris = uint16_t(file.Header().num_tris);
    m_NumRenderVertices = uint16_t(set.keys.size());
    m_NumIndices = uint16_t(m_IndexArray.size());
    m_NumStrips = uint16_t(m_Strips.size());
    for (const Md2VertexArrayIndex2& k : set.keys) {
        m_RenderToVertex.push_back(k.vertex);
        m_TexCoordArray.push_back(k.s);
        m_TexCoordArray.push_back(k.t);
    }
    return true;
}

void Md2ModelData::BuildTriVertices(const Md2File& file)
{
    m_TriVertices.reserve(3 * size_t(m_NumTris));
    for (int i = 0; i < m_NumTris; ++i) {
        Md2Triangle t = file.Triangle(i);
        m_TriVertices.insert(m_TriVertices.end(), t.vertex, t.vertex + 3);
    }
}

bool Md2ModelData::BuildCycles(const Md2File& file)
{
    const int frames = file.Header().num_frames;

    // First pass: group consecutive frames whose names begin with the current cycle's name.
    std::vector<int> counts;
    std::string current;
    for (int i = 0; i < frames; ++i) {
        Md2FrameView f = file.Frame(i);
        if (current.empty() || std::strncmp(f.name, current.c_str(), current.size()) != 0) {
            current = md2_cycle_name(f.name);
            counts.push_back(1);
        } else {
            ++counts.back();
        }
        if (counts.size() > 255 || counts.back() > 255) return false;
    }

    // Second pass: copy each cycle's key frames, swapping the file's y and z.
    m_NumAnimCycles = uint8_t(counts.size());
    m_AnimCycles.resize(counts.size());
    const size_t nv = m_NumVertices;
    int frame = 0;
    for (size_t c = 0; c < counts.size(); ++c) {
        Md2AnimCycle& cycle = m_AnimCycles[c];
        std::string name = md2_cycle_name(file.Frame(frame).name);
        std::memcpy(cycle.name, name.c_str(), name.size() + 1);
        cycle.frame_count = uint8_t(counts[c]);
        cycle.vertices.resize(size_t(counts[c]) * nv * 3);
        cycle.scale.resize(size_t(counts[c]) * 3);
        cycle.translate.resize(size_t(counts[c]) * 3);
        for (int k = 0; k < counts[c]; ++k, ++frame) {
            Md2FrameView f = file.Frame(frame);
            static const int swap[3] = {0, 2, 1};
            for (int a = 0; a < 3; ++a) {
                cycle.scale[3 * k + a] = f.scale[swap[a]];
                cycle.translate[3 * k + a] = f.translate[swap[a]];
            }
            uint8_t* out = cycle.vertices.data() + size_t(k) * nv * 3;
            for (size_t v = 0; v < nv; ++v)
                for (int a = 0; a < 3; ++a) out[3 * v + a] = f.vertices[4 * v + swap[a]];
        }
    }
    return true;
}
