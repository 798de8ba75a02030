// Posing an MD2 model on the CPU: choosing the two key frames around a time, interpolating
// the compressed positions between them, summing face normals and gathering the render
// vertices. Positions stay in the compressed 0-255 space; drawing applies the interpolated
// frame scale and translate as a transformation.
#pragma once

#include "Gfx/Md2ModelData.h"

// What the vertex buffer of an instance holds per render vertex: 24 bytes.
struct Md2VertexRecord {
    float normal[3];
    float position[3];
};
static_assert(sizeof(Md2VertexRecord) == 24, "vertex buffer layout");

// Shared by every instance, used by one pose at a time.
extern Md2VertexRecord md2_frame_scratch[kMd2MaxFrameVertices];
extern Md2VertexRecord md2_render_scratch[kMd2MaxRenderVertices];

// The key frame at or before `time` in a looping cycle, the one after it (frame 0 after the
// last) and how far `time` has moved towards it: 0 at a key frame's own time, 1 on reaching
// the next. A time at the cycle's length poses the last frame blended fully into the first.
struct Md2KeyFrames {
    int key = 0;
    int next = 0;
    float fraction = 0;
};
Md2KeyFrames md2_key_frames(int frame_count, float time, float frame_duration);

// Keeps a cycle clock inside (0, length]: a time past the length is wrapped, a time equal to
// it is kept, so the last key frame blends fully into the first before the loop restarts.
// A clock that is not a finite number restarts at 0.
float md2_wrap_time(float time, float length);

// Seconds per key frame; 0 frames per second stands still (an infinite duration).
float md2_frame_duration(int fps);

// Writes the positions of `cycle` at `time` into out[0, m_NumVertices) with zero normals,
// and the interpolated scale and translate of the two key frames.
void md2_pose_cycle(const Md2ModelData& model, int cycle, float time, float frame_duration,
                    Md2VertexRecord* out, float scale[3], float translate[3]);

// Adds the unit normal of every triangle to its three corners. Triangles without area add
// nothing. The sums are left unnormalised (drawing normalises).
void md2_add_normals(const uint16_t* tri_vertices, int num_tris, Md2VertexRecord* vertices);

// Copies the frame vertex each render vertex shows into `render`.
void md2_gather_render_vertices(const Md2ModelData& model, const Md2VertexRecord* frame, Md2VertexRecord* render);
