// The MD2 reader, the conversion of what it accepts and the posing of every cycle: a converted
// model's indices stay inside its own arrays.
#include "FuzzFile.h"
#include "Gfx/Md2File.h"
#include "Gfx/Md2ModelData.h"
#include "Gfx/Md2Pose.h"

namespace {

void check_consistent(const Md2File& file, const Md2ModelData& m)
{
    require(m.m_NumVertices <= kMd2MaxFrameVertices && m.m_NumRenderVertices <= kMd2MaxRenderVertices);
    require(m.m_RenderToVertex.size() == m.m_NumRenderVertices);
    require(m.m_TexCoordArray.size() == 2u * m.m_NumRenderVertices);
    require(m.m_TriVertices.size() == 3u * m.m_NumTris);
    require(m.m_IndexArray.size() == size_t(m.IndexCount()));
    for (const std::vector<uint16_t>* list : {&m.m_RenderToVertex, &m.m_TriVertices})
        for (uint16_t v : *list) require(v < m.m_NumVertices);
    for (uint16_t r : m.m_IndexArray) require(r < m.m_NumRenderVertices);
    size_t strip_indices = 0;
    for (Md2StripInfo e : m.m_Strips) strip_indices += e >> 1;
    require(!m.m_CommandForm || strip_indices == m.m_NumIndices);
    require(m.m_NumAnimCycles >= 1 && m.m_AnimCycles.size() == m.m_NumAnimCycles);
    int frames = 0;
    for (const Md2AnimCycle& c : m.m_AnimCycles) {
        require(c.frame_count >= 1 && c.vertices.size() == size_t(c.frame_count) * m.m_NumVertices * 3);
        require(c.scale.size() == 3u * c.frame_count && c.translate.size() == 3u * c.frame_count);
        frames += c.frame_count;
    }
    require(frames == file.Header().num_frames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Md2File file;
    if (!file.Assign(data, size)) return 0;
    Md2ModelData model;
    if (!model.Convert(file)) return 0;
    check_consistent(file, model);

    const float d = md2_frame_duration(model.m_Fps);
    for (int c = 0; c < model.m_NumAnimCycles; ++c) {
        const float length = model.m_AnimCycles[c].frame_count * d;
        for (float t : {0.0f, 0.07f, 0.5f * length, length, md2_wrap_time(3.3f * length + 0.01f, length)}) {
            float scale[3], translate[3];
            md2_pose_cycle(model, c, t, d, md2_frame_scratch, scale, translate);
            md2_add_normals(model.m_TriVertices.data(), model.m_NumTris, md2_frame_scratch);
            md2_gather_render_vertices(model, md2_frame_scratch, md2_render_scratch);
        }
    }
    return 0;
}
