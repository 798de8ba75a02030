#include "Gfx/MD2_Model.h"

#include "Gfx/Md2FarDetail.h"
#include "Gfx/Md2File.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>

void md2_print_cycles(const Md2ModelData& model)
{
    for (int c = 0; c < model.m_NumAnimCycles; ++c) {
        const Md2AnimCycle& cycle = model.m_AnimCycles[c];
        std::printf("naechste Ausgabe von bool Md2Model::Load(const char* filename)\n");
        std::printf("meine_it_mitzaehlerei = %d\n", c);
        std::printf("%s <-> %d\n", cycle.name, cycle.frame_count);
        std::printf("strlen davon = %d <-> %d\n", int(std::strlen(cycle.name)), cycle.frame_count);
    }
    std::printf("finished iterator stuff\n");
}

bool Md2Model::LoadData(const char* filename)
{
    Md2File file;
    if (!file.Read(filename)) return false;
    uint8_t fps = m_Fps;
    bool ok = Convert(file);
    m_Fps = fps;
    file.Release();
    if (ok) md2_print_cycles(*this);
    return ok;
}

void Md2Model::PrepareTriangles()
{
    if (m_CommandForm) m_IndexArray = md2_triangle_list(m_IndexArray, m_Strips);
    m_DrawIndexCount = int(m_IndexArray.size());
    AppendFarTriangles();
}

void Md2Model::AppendFarTriangles()
{
    // The coarse list follows the full one in the same index buffer.
    m_FarIndexCount = 0;
    if (m_NumAnimCycles == 0) return;
    const uint8_t* frame = FrameVertices(0, 0);
    std::vector<uint8_t> positions(size_t(m_NumRenderVertices) * 3);
    for (size_t r = 0; r < m_NumRenderVertices; ++r)
        for (size_t axis = 0; axis < 3; ++axis) positions[3 * r + axis] = frame[size_t(m_RenderToVertex[r]) * 3 + axis];
    const std::vector<uint16_t> far = md2_far_triangles(m_IndexArray, positions, m_TexCoordArray);
    m_FarIndexCount = int(far.size());
    m_IndexArray.insert(m_IndexArray.end(), far.begin(), far.end());
}

bool Md2Model::Load(const char* filename)
{
    if (!LoadData(filename)) return false;
    Upload();
    return true;
}

void Md2Model::Upload()
{
    glGenBuffersARB(1, &m_TexCoords);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_TexCoords);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(m_TexCoordArray.size() * sizeof(float)),
                    m_TexCoordArray.data(), GL_STATIC_DRAW_ARB);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);

    PrepareTriangles();
    std::vector<float>().swap(m_TexCoordArray);
    glGenBuffersARB(1, &m_IndexBuffer);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, m_IndexBuffer);
    glBufferDataARB(GL_ELEMENT_ARRAY_BUFFER_ARB, GLsizeiptrARB(m_IndexArray.size() * sizeof(uint16_t)),
                    m_IndexArray.data(), GL_STATIC_DRAW_ARB);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    std::vector<uint16_t>().swap(m_IndexArray);
}
