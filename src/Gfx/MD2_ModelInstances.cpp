// The instances a model owns: made, posed and drawn model by model, deleted with it.
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Model.h"

#include <GL/glew.h>

Md2Model::~Md2Model()
{
    for (Md2Instance* instance : m_Instances) {
        instance->ReleaseBuffer();
        delete instance;
    }
    if (m_TexCoords) glDeleteBuffersARB(1, &m_TexCoords);
    if (m_IndexBuffer) glDeleteBuffersARB(1, &m_IndexBuffer);
}

Md2Instance* Md2Model::NewInstance()
{
    Md2Instance* instance = new Md2Instance;
    instance->Init(this);
    m_Instances.push_back(instance);
    return instance;
}

void Md2Model::UpdateInstances(float dt, unsigned int first, unsigned int step)
{
    if (step == 0) step = 1;
    for (size_t i = first; i < m_Instances.size(); i += step) m_Instances[i]->Update(dt);
}

void Md2Model::DrawInstances(ShaderProgram* shader, const ModelView& view)
{
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, m_TexCoords);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, m_IndexBuffer);
    for (Md2Instance* instance : m_Instances) instance->Draw(shader, view);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
}
