// The GPU side of an instance: its vertex buffer, the per-frame upload and drawing.
#include "Gfx/MD2_Instance.h"

#include "Common/Camera.h"
#include "Gfx/MD2_Model.h"
#include "Gfx/Md2FarDetail.h"
#include "Gfx/Md2Pose.h"
#include "Gfx/ShaderProgram.h"

#include <GL/glew.h>

#include <cmath>

unsigned int Md2Instance::m_BoundTexture = 0;

namespace {

// "flame" tells the instance program whether the model takes the scene's light. The model
// pass has the program bound while the instances draw.
void set_flame(ShaderProgram* shader, float value)
{
    if (shader) shader->set_uniform_1f("flame", value);
}

} // namespace

bool md2_instance_in_view(bool visible, const float* transform, const Camera* camera, bool culling,
                          float visibility_distance, float margin)
{
    if (!visible || !transform) return false;
    if (!culling || !camera) return true;
    const float x = transform[12], y = transform[13], z = transform[14];
    const double dx = camera->pos.x - x, dz = camera->pos.z - z;
    if (std::sqrt(dx * dx + dz * dz) > visibility_distance) return false;
    return camera->sphere_visible(x, y, z, margin);
}

bool md2_in_light_view(const Camera* light, const float* transform, float reach)
{
    if (!light || !transform) return true;
    return light->sphere_visible(transform[12], transform[13], transform[14], -reach);
}

float Md2Instance::Reach() const
{
    // The posed box lies within its diagonal of any point inside it; the model's standing
    // offset moves it from the placement.
    return 2.0f * Radius() + Vec3f(m_StdTransl[0], m_StdTransl[1], m_StdTransl[2]).length() + 1.0f;
}

float Md2Instance::Radius() const
{
    const Vec3f extent((m_BBoxMax[0] - m_BBoxMin[0]) * m_Scale[0], (m_BBoxMax[1] - m_BBoxMin[1]) * m_Scale[1],
                       (m_BBoxMax[2] - m_BBoxMin[2]) * m_Scale[2]);
    return 0.5f * extent.length();
}

bool Md2Instance::DrawnFar(const ModelView& view) const
{
    const Camera* seen_from = view.light ? view.light : view.camera;
    if (!seen_from || !m_Transform) return false;
    const Vec3d placement(m_Transform[12], m_Transform[13], m_Transform[14]);
    return md2_draw_far(Radius(), float((seen_from->pos - placement).length()), view.focal_pixels);
}

void Md2Instance::Init(Md2Model* model)
{
    Reset(model);
    glGenBuffersARB(1, &m_VertexBuffer);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_VertexBuffer);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(model->m_NumRenderVertices) * 24, nullptr, GL_STATIC_DRAW_ARB);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void Md2Instance::ReleaseBuffer()
{
    if (m_VertexBuffer) glDeleteBuffersARB(1, &m_VertexBuffer);
    m_VertexBuffer = 0;
}

void Md2Instance::Update(float dt)
{
    Advance(dt);
    if (!m_Visible) return;
    Pose();
    UploadPose();
}

void Md2Instance::UploadPose()
{
    if (!m_VertexBuffer || !m_Model) return;
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_VertexBuffer);
    glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, GLsizeiptrARB(m_Model->m_NumRenderVertices) * 24, md2_render_scratch);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void Md2Instance::Draw(ShaderProgram* shader, const ModelView& view)
{
    if (!m_Model ||
        !md2_instance_in_view(m_Visible, m_Transform, view.camera, view.culling, view.visibility_distance,
                              view.cull_margin) ||
        !md2_in_light_view(view.light, m_Transform, Reach()))
        return;

    if (m_Texture != m_BoundTexture) {
        glEnable(GL_TEXTURE_2D);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glBindTexture(GL_TEXTURE_2D, m_Texture);
        m_BoundTexture = m_Texture;
        if (m_Lit) {
            glEnable(GL_LIGHTING);
            set_flame(shader, 1.0f);
        } else {
            glDisable(GL_LIGHTING);
            set_flame(shader, 0.0f);
        }
    }

    glPushMatrix();
    glMultMatrixf(m_Transform);
    glTranslatef(m_StdTransl[0], m_StdTransl[1], m_StdTransl[2]);
    glRotatef(m_StdRot[0], 1, 0, 0);
    glRotatef(m_StdRot[1], 0, 1, 0);
    glRotatef(m_StdRot[2], 0, 0, 1);
    glScalef(m_Scale[0], m_Scale[1], m_Scale[2]);
    glPushMatrix();
    glTranslatef(m_FrameTranslate[0], m_FrameTranslate[1], m_FrameTranslate[2]);
    glScalef(m_FrameScale[0], m_FrameScale[1], m_FrameScale[2]);

    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_VertexBuffer);
    glNormalPointer(GL_FLOAT, 24, nullptr);
    glVertexPointer(3, GL_FLOAT, 24, reinterpret_cast<const void*>(12));

    if (m_Model->m_FarIndexCount > 0 && DrawnFar(view))
        glDrawElements(GL_TRIANGLES, m_Model->m_FarIndexCount, GL_UNSIGNED_SHORT,
                       reinterpret_cast<const void*>(size_t(m_Model->m_DrawIndexCount) * sizeof(uint16_t)));
    else
        glDrawElements(GL_TRIANGLES, m_Model->m_DrawIndexCount, GL_UNSIGNED_SHORT, nullptr);

    glPopMatrix();
    glPopMatrix();
}
