// The CPU side of an MD2 model: what a checked file turns into before anything goes to the
// GPU. Key frames stay compressed (a byte per coordinate, with a per-frame scale and
// translate) and are grouped into animation cycles by frame name; the file's z-up axes become
// the game's y-up axes by storing every triple as (x, z, y).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Md2File;

// The drawing limits: the posing scratch arrays hold this many frame vertices and render
// vertices. A model beyond either is refused at loading.
constexpr int kMd2MaxFrameVertices = 2048;
constexpr int kMd2MaxRenderVertices = 3072;

// One strip or fan of the index buffer: bit 0 set for a fan, bits 1-15 the index count.
typedef uint16_t Md2StripInfo;

inline Md2StripInfo md2_strip_info(int vertex_count, bool fan)
{
    return Md2StripInfo(2 * vertex_count + (fan ? 1 : 0));
}

// The strips and fans of the command form as one list of triangles, three indices each, in
// the winding GL gives them (every second triangle of a strip has its first two corners
// swapped). Triangles with two equal corners draw nothing and are left out. One draw call
// then shows a whole model: a tree of 100 strips cost 100 calls, and the driver's set-up per
// call, not the triangles, was what the scenery cost.
std::vector<uint16_t> md2_triangle_list(const std::vector<uint16_t>& indices, const std::vector<Md2StripInfo>& strips);

// A render vertex of the triangle form: a position and a texture coordinate of the file.
struct Md2VertexArrayIndex {
    uint16_t vertex;
    uint16_t texcoord;
    bool operator==(const Md2VertexArrayIndex& o) const { return vertex == o.vertex && texcoord == o.texcoord; }
};

// A render vertex of the command form. Texture coordinates closer than 0.0001 count as one,
// so that a seam written with slightly different floats still shares its vertex.
struct Md2VertexArrayIndex2 {
    uint16_t vertex;
    float s, t;
    bool operator==(const Md2VertexArrayIndex2& o) const
    {
        return vertex == o.vertex && s > o.s - 0.0001f && o.s + 0.0001f > s && t > o.t - 0.0001f &&
               o.t + 0.0001f > t;
    }
};

struct Md2AnimCycle {
    char name[15] = {};       // up to 14 characters
    uint8_t frame_count = 0;  // 1 to 255
    std::vector<uint8_t> vertices; // frame_count * vertices per frame * (x, z, y)
    std::vector<float> scale;      // frame_count * (x, z, y)
    std::vector<float> translate;  // frame_count * (x, z, y)
};

// Cuts the numeric ending off a frame name to get its cycle's name: two characters when the
// second-to-last is '0', otherwise one ("run01" -> "run", "jump2" -> "jump", "stand" ->
// "stan"). A one-character name becomes empty, an empty one stays empty.
std::string md2_cycle_name(const char* frame_name);

class Md2ModelData {
public:
    // Converts a checked file. False for a model beyond the drawing limits (more frame or
    // render vertices than the scratch arrays hold, more triangles or indices than 16 bits
    // count, more than 255 cycles or more than 255 frames in one cycle, no frame at all); the
    // model is then left empty.
    bool Convert(const Md2File& file);
    void Clear();

    // The number of indices the index buffer holds.
    int IndexCount() const { return m_CommandForm ? m_NumIndices : 3 * m_NumTris; }
    // Vertices per frame of this model's cycles, as bytes (x, z, y).
    const uint8_t* FrameVertices(int cycle, int frame) const
    {
        return m_AnimCycles[cycle].vertices.data() + size_t(frame) * m_NumVertices * 3;
    }

    uint8_t m_NumAnimCycles = 0;
    uint8_t m_Fps = 5;
    uint16_t m_NumTris = 0;
    uint16_t m_NumVertices = 0;
    uint16_t m_NumRenderVertices = 0;
    bool m_CommandForm = false;
    std::vector<float> m_TexCoordArray;        // s, t per render vertex, until uploaded
    std::vector<uint16_t> m_RenderToVertex;    // frame vertex of each render vertex
    std::vector<uint16_t> m_IndexArray;        // render-vertex indices, until uploaded
    std::vector<Md2StripInfo> m_Strips;        // empty in the triangle form
    uint16_t m_NumStrips = 0;
    uint16_t m_NumIndices = 0;
    std::vector<uint16_t> m_TriVertices;       // 3 frame-vertex indices per file triangle
    std::vector<Md2AnimCycle> m_AnimCycles;
    std::vector<std::string> m_Skins;

private:
    bool BuildTriangleForm(const Md2File& file);
    bool BuildCommandForm(const Md2File& file);
    void BuildTriVertices(const Md2File& file);
    bool BuildCycles(const Md2File& file);
};
