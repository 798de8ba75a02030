#include "Gfx/MD2_Model.h"

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
    std::vector<float>().swap(m_TexCoordArray);

    if (m_CommandForm) m_IndexArray = md2_triangle_list(m_IndexArray, m_Strips);
    m_DrawIndexCount = int(m_IndexArray.size());
    glGenBuffersARB(1, &m_IndexBuffer);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, m_IndexBuffer);
    glBufferDataARB(GL_ELEMENT_ARRAY_BUFFER_ARB, GLsizeiptrARB(m_IndexArray.size() * sizeof(uint16_t)),
                    m_IndexArray.data(), GL_STATIC_DRAW_ARB);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    std::vector<uint16_t>().swap(m_IndexArray);
}
