#include "Gfx/Md2Pose.h"

#include <cmath>
#include <limits>

Md2VertexRecord md2_frame_scratch[kMd2MaxFrameVertices];
Md2VertexRecord md2_render_scratch[kMd2MaxRenderVertices];

Md2KeyFrames md2_key_frames(int frame_count, float time, float frame_duration)
{
    Md2KeyFrames k;
    if (frame_count < 1) return k;
    k.next = frame_count > 1 ? 1 : 0;
    if (!(time > 0.0f) || !std::isfinite(frame_duration)) return k;
    float t = time;
    while (t > frame_duration && k.key < frame_count) {
        t -= frame_duration;
        ++k.key;
    }
    if (k.key >= frame_count) {
        // Rounding in the subtractions can carry a time at the cycle's length one step too
        // far: that is the last key frame reaching the first.
        k.key = frame_count - 1;
        k.fraction = 1.0f;
    } else {
        k.fraction = t / frame_duration;
        if (k.fraction > 1.0f) k.fraction = 1.0f;
    }
    k.next = k.key + 1 < frame_count ? k.key + 1 : 0;
    return k;
}

float md2_wrap_time(float time, float length)
{
    if (!std::isfinite(time)) return 0.0f;
    if (!(length > 0.0f) || !std::isfinite(length) || time <= length) return time;
    float wrapped = std::fmod(time, length);
    return wrapped > 0.0f ? wrapped : length;
}

float md2_frame_duration(int fps)
{
    return fps > 0 ? 1.0f / float(fps) : std::numeric_limits<float>::infinity();
}

void md2_pose_cycle(const Md2ModelData& model, int cycle, float time, float frame_duration,
                    Md2VertexRecord* out, float scale[3], float translate[3])
{
    const Md2AnimCycle& c = model.m_AnimCycles[cycle];
    const Md2KeyFrames k = md2_key_frames(c.frame_count, time, frame_duration);
    const float f = k.fraction;
    const uint8_t* a = model.FrameVertices(cycle, k.key);
    const uint8_t* b = model.FrameVertices(cycle, k.next);
    const int n = model.m_NumVertices;
    for (int v = 0; v < n; ++v) {
        Md2VertexRecord& r = out[v];
        for (int i = 0; i < 3; ++i) {
            float p = a[3 * v + i];
            r.position[i] = p + (float(b[3 * v + i]) - p) * f;
            r.normal[i] = 0.0f;
        }
    }
    for (int i = 0; i < 3; ++i) {
        float s0 = c.scale[3 * k.key + i], s1 = c.scale[3 * k.next + i];
        float t0 = c.translate[3 * k.key + i], t1 = c.translate[3 * k.next + i];
        scale[i] = s0 + (s1 - s0) * f;
        translate[i] = t0 + (t1 - t0) * f;
    }
}

void md2_add_normals(const uint16_t* tri_vertices, int num_tris, Md2VertexRecord* vertices)
{
    for (int i = 0; i < num_tris; ++i) {
        const uint16_t* t = tri_vertices + 3 * i;
        const float* pa = vertices[t[0]].position;
        const float* pb = vertices[t[1]].position;
        const float* pc = vertices[t[2]].position;
        float u[3] = {pb[0] - pa[0], pb[1] - pa[1], pb[2] - pa[2]};
        float w[3] = {pc[0] - pa[0], pc[1] - pa[1], pc[2] - pa[2]};
        float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (!(len > 0.0f) || !std::isfinite(len)) continue;
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) vertices[t[c]].normal[k] += n[k] / len;
    }
}

void md2_gather_render_vertices(const Md2ModelData& model, const Md2VertexRecord* frame, Md2VertexRecord* render)
{
    for (int r = 0; r < model.m_NumRenderVertices; ++r) render[r] = frame[model.m_RenderToVertex[r]];
}
