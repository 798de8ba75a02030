// The animation of an instance: clock, cycles, blends and posing. Nothing here needs a GL
// context; the vertex buffer and drawing live in MD2_InstanceDraw.cpp.
#include "Gfx/MD2_Instance.h"

#include "Gfx/MD2_Model.h"
#include "Gfx/Md2Pose.h"

void Md2Instance::Reset(Md2Model* model)
{
    for (int i = 0; i < 3; ++i) {
        m_BBoxMin[i] = m_BBoxMax[i] = 0;
        m_FrameScale[i] = 1;
        m_FrameTranslate[i] = 0;
        m_Scale[i] = 0;
        m_StdRot[i] = 0;
        m_StdTransl[i] = 0;
    }
    m_Time = 0;
    m_PrevTime = 0;
    m_BlendTime = 0.1f;
    m_BlendLeft = -1.0f;
    m_Model = model;
    m_Texture = 0;
    m_Cycle = 0;
    m_PrevCycle = 0;
    m_Visible = true;
}

bool Md2Instance::SetCycle(unsigned int i)
{
    if (i >= NumCycles()) return false;
    m_Cycle = uint8_t(i);
    m_Time = 0;
    return true;
}

bool Md2Instance::BlendToCycle(unsigned int i, float blend_time, bool restart)
{
    if (i >= NumCycles() || !(m_BlendLeft < 0)) return false;
    m_PrevTime = m_Time;
    if (restart) m_Time = 0;
    m_PrevCycle = m_Cycle;
    m_Cycle = uint8_t(i);
    m_BlendTime = blend_time;
    // A blend of no length is a plain switch; it must not leave a blend that never ends.
    m_BlendLeft = blend_time > 0 ? blend_time : -1.0f;
    return true;
}

bool Md2Instance::SetTexture(unsigned int name)
{
    m_Texture = name;
    return name != 0;
}

unsigned int Md2Instance::NumCycles() const
{
    return m_Model ? m_Model->m_NumAnimCycles : 0;
}

const Md2AnimCycle* Md2Instance::Cycle(unsigned int i) const
{
    return i < NumCycles() ? &m_Model->m_AnimCycles[i] : nullptr;
}

void Md2Instance::Advance(float dt)
{
    if (!m_Model || m_Model->m_NumAnimCycles == 0) return;
    const float d = md2_frame_duration(m_Model->m_Fps);
    const float step = m_AnimSpeed * dt;
    m_Time = md2_wrap_time(m_Time + step, m_Model->m_AnimCycles[m_Cycle].frame_count * d);
    if (m_BlendLeft > 0) {
        m_BlendLeft -= step;
        m_PrevTime = md2_wrap_time(m_PrevTime + step, m_Model->m_AnimCycles[m_PrevCycle].frame_count * d);
        // The blend is over once nothing is left of it; leave no zero behind that would
        // refuse every later blend.
        if (!(m_BlendLeft > 0)) m_BlendLeft = -1.0f;
    }
}

void Md2Instance::Pose()
{
    if (!m_Model || m_Model->m_NumAnimCycles == 0) return;
    const Md2Model& model = *m_Model;
    const float d = md2_frame_duration(model.m_Fps);
    const int n = model.m_NumVertices;
    Md2VertexRecord* frame = md2_frame_scratch;
    md2_pose_cycle(model, m_Cycle, m_Time, d, frame, m_FrameScale, m_FrameTranslate);

    if (m_BlendLeft > 0 && m_BlendTime > 0) {
        const float w = m_BlendLeft / m_BlendTime;
        static float kept[kMd2MaxFrameVertices][3];
        for (int v = 0; v < n; ++v)
            for (int i = 0; i < 3; ++i) kept[v][i] = (1 - w) * frame[v].position[i];
        float prev_scale[3], prev_translate[3];
        md2_pose_cycle(model, m_PrevCycle, m_PrevTime, d, frame, prev_scale, prev_translate);
        for (int i = 0; i < 3; ++i) {
            m_FrameScale[i] = m_FrameScale[i] * (1 - w) + prev_scale[i] * w;
            m_FrameTranslate[i] = m_FrameTranslate[i] * (1 - w) + prev_translate[i] * w;
        }
        for (int v = 0; v < n; ++v)
            for (int i = 0; i < 3; ++i) frame[v].position[i] = frame[v].position[i] * w + kept[v][i];
    }

    for (int i = 0; i < 3; ++i) {
        m_BBoxMin[i] = m_FrameTranslate[i];
        m_BBoxMax[i] = m_FrameScale[i] * 255.0f + m_FrameTranslate[i];
    }
    md2_add_normals(model.m_TriVertices.data(), model.m_NumTris, frame);
    md2_gather_render_vertices(model, frame, md2_render_scratch);
}
