// One placed, animated copy of an MD2 model: its own clock, cycle and blend, its placement
// and texture, and its own GPU vertex buffer that each update refills with the posed vertices.
#pragma once

#include <cstdint>

class Camera;
class Md2Model;
struct Md2AnimCycle;
class ShaderProgram;

// How the placed models are drawn in one pass: the camera they are culled against and seen
// from, and, in the shadow map, the light whose view they must reach.
struct ModelView {
    const Camera* camera = nullptr; // none: nothing is culled and every model is drawn whole
    const Camera* light = nullptr;  // the shadow map's light: their size is judged from it
    bool culling = true;            // the frustum and distance culling, which a key switches
    float visibility_distance = 0;  // how far from the camera (in x and z) a model still draws
    float cull_margin = -1000.0f;   // the frustum test's margin
    float focal_pixels = 0;         // md2_focal_pixels of the image drawn into (0: always whole)
};

class Md2Instance {
public:
    Md2Instance() = default;
    Md2Instance(const Md2Instance&) = delete;
    Md2Instance& operator=(const Md2Instance&) = delete;

    // Resets the animation and placement fields and creates the vertex buffer.
    void Init(Md2Model* model);
    // Advances the clock by `dt` seconds and, when visible, poses and uploads the vertices.
    void Update(float dt);
    // Draws with `shader` (may be null: fixed-function), unless `view` culls it.
    void Draw(ShaderProgram* shader, const ModelView& view);

    bool SetCycle(unsigned int i);
    bool BlendToCycle(unsigned int i, float blend_time, bool restart);
    bool SetTexture(unsigned int name);
    unsigned int NumCycles() const;
    const Md2AnimCycle* Cycle(unsigned int i) const;

    // The parts of Init and Update that need no GL context.
    void Reset(Md2Model* model);
    void Advance(float dt);
    // Poses the current time (and the blend) into the scratch arrays: frame vertices with
    // their normals, then the render vertices; sets the frame scale and translate and the
    // bounding box.
    void Pose();
    void UploadPose();
    void ReleaseBuffer();
    // Half the diagonal of the posed bounding box, in world units.
    float Radius() const;
    // How far from its placement the posed model can reach, in world units, generously.
    float Reach() const;
    // Whether the view's camera (in the shadow map, its light) sees the instance small
    // enough for the model's coarse list.
    bool DrawnFar(const ModelView& view) const;

    // The texture the last drawn instance bound, so that a run of instances with one
    // texture binds it once; the manager forgets it after each pass (0).
    static unsigned int m_BoundTexture;

    float m_BBoxMin[3] = {0, 0, 0};
    float m_BBoxMax[3] = {0, 0, 0};
    float m_Time = 0;
    float m_PrevTime = 0;
    float m_BlendTime = 0.1f;
    float m_BlendLeft = -1.0f;
    float m_AnimSpeed = 1.0f;    // the creator sets it; 1 plays the model's own rate
    unsigned int m_VertexBuffer = 0;
    Md2Model* m_Model = nullptr;
    float m_FrameScale[3] = {1, 1, 1};
    float m_FrameTranslate[3] = {0, 0, 0};
    float m_Scale[3] = {0, 0, 0};
    const float* m_Transform = nullptr; // the owner's column-major world matrix; none: not drawn
    float m_StdRot[3] = {0, 0, 0};      // degrees
    float m_StdTransl[3] = {0, 0, 0};
    unsigned int m_Texture = 0;
    uint8_t m_Cycle = 0;
    uint8_t m_PrevCycle = 0;
    bool m_Visible = true;
    bool m_Lit = true;           // the creator sets it; lit suits every model of the game
};

// Whether an instance placed by `transform`, whose model reaches `reach` world units from
// its placement, can cast a shadow into the map of the light's camera `light`: what lies
// wholly outside the light's view puts nothing into the map. No light camera: true.
bool md2_in_light_view(const Camera* light, const float* transform, float reach);

// Whether an instance is drawn this frame: it must be visible and placed, and with culling on
// its origin (the translation of `transform`) must lie within `visibility_distance` of the
// camera in the x-z plane and pass the camera's frustum test with `margin`. Without a camera
// there is nothing to cull against.
bool md2_instance_in_view(bool visible, const float* transform, const Camera* camera, bool culling,
                          float visibility_distance, float margin);
