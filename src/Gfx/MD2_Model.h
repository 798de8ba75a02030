// An MD2 model loaded once and shared by its instances: the converted key frames on the CPU,
// the texture coordinates and the index buffer on the GPU, and the instances it owns.
#pragma once

#include "Gfx/Md2ModelData.h"

#include <vector>

class Md2File;
class Md2Instance;
class ShaderProgram;
struct ModelView;

class Md2Model : public Md2ModelData {
public:
    Md2Model() = default;
    ~Md2Model(); // deletes the instances and every GPU buffer
    Md2Model(const Md2Model&) = delete;
    Md2Model& operator=(const Md2Model&) = delete;

    // Reads, checks, converts and uploads one file. False when the file cannot be opened,
    // is no MD2 file of version 8, is inconsistent in itself or exceeds the drawing limits.
    bool Load(const char* filename);
    // Reads, checks and converts (no GL). Prints the cycles found.
    bool LoadData(const char* filename);
    // Moves the texture coordinates and the indices into GPU buffers; the strips and fans
    // of the command form go up as one triangle list.
    void Upload();
    // The part of Upload that needs no GL: the index array becomes the triangle list that is
    // drawn up close (m_DrawIndexCount indices), followed by the coarse list of the model seen
    // from afar (m_FarIndexCount), made from the first key frame and the texture coordinates.
    void PrepareTriangles();

    Md2Instance* NewInstance();
    void UpdateInstances(float dt, unsigned int first, unsigned int step);
    void DrawInstances(ShaderProgram* shader, const ModelView& view);

    unsigned int m_TexCoords = 0;   // GPU buffer of s, t per render vertex
    unsigned int m_IndexBuffer = 0; // GPU buffer of 16-bit render-vertex indices, as triangles
    int m_DrawIndexCount = 0;       // indices of the full list, which comes first in it
    int m_FarIndexCount = 0;        // indices of the coarse list that follows them (Md2FarDetail.h)
    std::vector<Md2Instance*> m_Instances;

private:
    void AppendFarTriangles();
};

// The cycle report printed after a model's cycles are built.
void md2_print_cycles(const Md2ModelData& model);
