// An MD2 model file held whole in one buffer. Nothing in it is trusted: the header's counts
// and offsets, the frame size, the triangles' indices and the GL command list are all checked
// against the file's size and against each other before any record is handed out, so the
// accessors below never read outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Md2Header {
    int32_t ident;
    int32_t version;
    int32_t skin_width;
    int32_t skin_height;
    int32_t frame_size;
    int32_t num_skins;
    int32_t num_vertices;
    int32_t num_texcoords;
    int32_t num_tris;
    int32_t num_glcmds;
    int32_t num_frames;
    int32_t ofs_skins;
    int32_t ofs_texcoords;
    int32_t ofs_tris;
    int32_t ofs_frames;
    int32_t ofs_glcmds;
    int32_t ofs_end;
};

struct Md2TexCoord {
    int16_t s, t;
};

struct Md2Triangle {
    uint16_t vertex[3];
    uint16_t texcoord[3];
};

// One key frame as stored: positions are scale * byte + translate, in the file's z-up axes.
struct Md2FrameView {
    float scale[3];
    float translate[3];
    char name[16];            // always NUL-terminated: at most 15 characters of the stored name
    const uint8_t* vertices;  // num_vertices records of 4 bytes: x, y, z, light-normal index
};

// One vertex record of the GL command list.
struct Md2GlVertex {
    float s, t;
    int32_t vertex;
};

class Md2File {
public:
    static constexpr int kHeaderSize = 68;
    static constexpr int kSkinSize = 64;
    static constexpr int kFrameHeaderSize = 40;

    // Reads the whole file and checks it. False when it cannot be opened or read, or fails
    // the check; the buffer is then empty.
    bool Read(const char* path);
    // Takes a copy of `size` bytes and checks them, as Read does.
    bool Assign(const uint8_t* data, size_t size);
    void Release();

    const Md2Header& Header() const { return m_Header; }
    bool CommandForm() const { return m_Header.num_glcmds >= 2; }

    Md2FrameView Frame(int i) const;
    Md2Triangle Triangle(int i) const;
    Md2TexCoord TexCoord(int i) const;
    std::string Skin(int i) const;

    // The GL command list as 32-bit words: [GlCommandsBegin, GlCommandsEnd). The check has
    // walked it, so every count's records lie inside and name existing vertices.
    size_t GlCommandsBegin() const { return size_t(m_Header.ofs_glcmds); }
    size_t GlCommandsEnd() const { return size_t(m_Header.ofs_glcmds) + 4 * size_t(m_Header.num_glcmds); }
    int32_t GlWord(size_t byte_offset) const;
    Md2GlVertex GlVertex(size_t byte_offset) const;

    const std::vector<uint8_t>& Bytes() const { return m_Data; }

private:
    bool Check();
    bool CheckTriangles() const;
    bool CheckGlCommands() const;

    std::vector<uint8_t> m_Data;
    Md2Header m_Header{};
};

