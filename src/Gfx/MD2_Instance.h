// One placed, animated copy of an MD2 model: its own clock, cycle and blend, its placement
// and texture, and its own GPU vertex buffer that each update refills with the posed vertices.
#pragma once

#include <cstdint>

class Camera;
class Md2Model;
struct Md2AnimCycle;
class ShaderProgram;

// How far from the eye camera (in x and z) an instance is still drawn while culling is on.
// Set by the level population and by the main loop every frame.
extern float md2_visibility_distance;
// md2_focal_pixels of the eye camera and the 3-D image, by which an instance judges how large
// it shows; set by the main loop every frame (0: always the full model).
extern float md2_eye_focal_pixels;
// While the shadow map is drawn, the light's camera (its frustum up to date) and the
// md2_focal_pixels of the map: instances judge their size in the map; otherwise null.
extern const Camera* md2_shadow_camera;
extern float md2_shadow_focal_pixels;

class Md2Instance {
public:
    Md2Instance() = default;
    Md2Instance(const Md2Instance&) = delete;
    Md2Instance& operator=(const Md2Instance&) = delete;

    // Resets the animation and placement fields and creates the vertex buffer.
    void Init(Md2Model* model);
    // Advances the clock by `dt` seconds and, when visible, poses and uploads the vertices.
    void Update(float dt);
    // Draws with `shader` (may be null: fixed-function), unless culled.
    void Draw(ShaderProgram* shader);

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
    // Whether the eye camera (or, in the shadow map, the light's) sees the instance small
    // enough for the model's coarse list.
    bool DrawnFar() const;

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
