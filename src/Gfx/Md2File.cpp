#include "Gfx/Md2File.h"

#include "Common/Platform.h"

#include <cstdio>
#include <cstring>

namespace {

template <typename T>
T load(const uint8_t* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A block of `count` records of `record_size` bytes at `offset` lies wholly inside the file.
// An empty block is never read, so its offset does not matter.
bool block_inside(int64_t offset, int64_t count, int64_t record_size, size_t file_size)
{
    if (count == 0) return true;
    if (offset < 0 || count < 0 || record_size < 0) return false;
    return offset + count * record_size <= int64_t(file_size);
}

} // namespace

bool Md2File::Read(const char* path)
{
    Release();
    FILE* f = open_file(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        m_Data.resize(size_t(size));
        ok = size == 0 || std::fread(m_Data.data(), 1, m_Data.size(), f) == m_Data.size();
    }
    std::fclose(f);
    if (!ok || !Check()) {
        Release();
        return false;
    }
    return true;
}

bool Md2File::Assign(const uint8_t* data, size_t size)
{
    m_Data.assign(data, data + size);
    if (!Check()) {
        Release();
        return false;
    }
    return true;
}

void Md2File::Release()
{
    std::vector<uint8_t>().swap(m_Data);
    m_Header = Md2Header{};
}

bool Md2File::Check()
{
    if (m_Data.size() < size_t(kHeaderSize)) return false;
    if (std::memcmp(m_Data.data(), "IDP2", 4) != 0) return false;
    int32_t fields[17];
    for (int i = 0; i < 17; ++i) fields[i] = load<int32_t>(m_Data.data() + 4 * i);
    static_assert(sizeof(Md2Header) == sizeof fields, "header layout");
    std::memcpy(&m_Header, fields, sizeof fields);
    const Md2Header& h = m_Header;
    if (h.version != 8) return false;

    if (h.num_skins < 0 || h.num_vertices < 0 || h.num_texcoords < 0 || h.num_tris < 0 ||
        h.num_glcmds < 0 || h.num_frames < 0)
        return false;

    const size_t size = m_Data.size();
    if (!block_inside(h.ofs_skins, h.num_skins, kSkinSize, size)) return false;
    if (!block_inside(h.ofs_tris, h.num_tris, 12, size)) return false;
    if (h.num_frames > 0) {
        // Each frame must hold its header and one 4-byte record per vertex.
        if (int64_t(h.frame_size) < kFrameHeaderSize + 4 * int64_t(h.num_vertices)) return false;
        if (!block_inside(h.ofs_frames, h.num_frames, h.frame_size, size)) return false;
    }
    if (CommandForm()) {
        if (!block_inside(h.ofs_glcmds, h.num_glcmds, 4, size)) return false;
        if (!CheckGlCommands()) return false;
    } else {
        // The triangle form divides texel coordinates by the skin's size.
        if (!block_inside(h.ofs_texcoords, h.num_texcoords, 4, size)) return false;
        if (h.num_texcoords > 0 && (h.skin_width <= 0 || h.skin_height <= 0)) return false;
    }
    return CheckTriangles();
}

bool Md2File::CheckTriangles() const
{
    const bool uses_texcoords = !CommandForm();
    for (int i = 0; i < m_Header.num_tris; ++i) {
        Md2Triangle t = Triangle(i);
        for (int c = 0; c < 3; ++c) {
            if (t.vertex[c] >= m_Header.num_vertices) return false;
            if (uses_texcoords && t.texcoord[c] >= m_Header.num_texcoords) return false;
        }
    }
    return true;
}

bool Md2File::CheckGlCommands() const
{
    size_t pos = GlCommandsBegin();
    const size_t end = GlCommandsEnd();
    while (pos + 4 <= end) {
        int64_t count = GlWord(pos);
        pos += 4;
        if (count == 0) return true;
        int64_t n = count < 0 ? -count : count;
        if (n > int64_t(end - pos) / 12) return false;
        for (int64_t k = 0; k < n; ++k, pos += 12) {
            int32_t v = GlVertex(pos).vertex;
            if (v < 0 || v >= m_Header.num_vertices) return false;
        }
    }
    // The list may also end with the block itself, without a closing zero.
    return pos == end;
}

Md2FrameView Md2File::Frame(int i) const
{
    const uint8_t* p = m_Data.data() + m_Header.ofs_frames + size_t(i) * size_t(m_Header.frame_size);
    Md2FrameView f;
    for (int c = 0; c < 3; ++c) {
        f.scale[c] = load<float>(p + 4 * c);
        f.translate[c] = load<float>(p + 12 + 4 * c);
    }
    std::memcpy(f.name, p + 24, 15);
    f.name[15] = '\0';
    f.vertices = p + kFrameHeaderSize;
    return f;
}

Md2Triangle Md2File::Triangle(int i) const
{
    const uint8_t* p = m_Data.data() + m_Header.ofs_tris + size_t(i) * 12;
    Md2Triangle t;
    for (int c = 0; c < 3; ++c) {
        t.vertex[c] = load<uint16_t>(p + 2 * c);
        t.texcoord[c] = load<uint16_t>(p + 6 + 2 * c);
    }
    return t;
}

Md2TexCoord Md2File::TexCoord(int i) const
{
    const uint8_t* p = m_Data.data() + m_Header.ofs_texcoords + size_t(i) * 4;
    return {load<int16_t>(p), load<int16_t>(p + 2)};
}

std::string Md2File::Skin(int i) const
{
    const char* p = reinterpret_cast<const char*>(m_Data.data()) + m_Header.ofs_skins + size_t(i) * kSkinSize;
    return std::string(p, strnlen(p, kSkinSize));
}

int32_t Md2File::GlWord(size_t byte_offset) const
{
    return load<int32_t>(m_Data.data() + byte_offset);
}

Md2GlVertex Md2File::GlVertex(size_t byte_offset) const
{
    const uint8_t* p = m_Data.data() + byte_offset;
    return {load<float>(p), load<float>(p + 4), load<int32_t>(p + 8)};
}
