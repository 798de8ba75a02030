#include "Gfx/MD2_Manager.h"

#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Model.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <new>

std::vector<ModelRef*> Md2Manager::m_Models;
uint8_t Md2Manager::m_UpdateGroups = 1;
float Md2Manager::m_FrameTimes[8] = {};
uint8_t Md2Manager::m_RingPos = 0;


Md2Instance* Md2Manager::CreateInstance(const char* filename, uint8_t fps)
{
    for (ModelRef* ref : m_Models)
        if (ref->name == filename) return ref->pModel->NewInstance();

    ModelRef* pmref = new (std::nothrow) ModelRef;
    DEBUG_ASSERT(pmref, "pmref", "src\\Gfx\\MD2_Manager");
    pmref->pModel = new (std::nothrow) Md2Model;
    DEBUG_ASSERT(pmref->pModel, "pmref->pModel", "src\\Gfx\\MD2_Manager");
    pmref->name = filename;
    if (!pmref->pModel->Load(filename)) {
        delete pmref->pModel;
        delete pmref;
        return nullptr;
    }
    pmref->pModel->m_Fps = fps;
    m_Models.push_back(pmref);
    return pmref->pModel->NewInstance();
}

void Md2Manager::UpdateAll(float dt)
{
    const unsigned count = m_UpdateGroups >= 1 && m_UpdateGroups <= 8 ? m_UpdateGroups : 1;
    if (m_RingPos >= count) m_RingPos = 0;
    m_FrameTimes[m_RingPos] = dt;
    float sum = 0;
    for (unsigned i = 0; i < count; ++i) sum += m_FrameTimes[i];
    for (size_t k = 0; k < m_Models.size(); ++k)
        m_Models[k]->pModel->UpdateInstances(sum, unsigned((m_RingPos + k) % count), count);
    m_RingPos = uint8_t((m_RingPos + 1) % count);
}

void Md2Manager::DrawAll(ShaderProgram* shader, const ModelView& view)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    glClientActiveTextureARB(GL_TEXTURE0_ARB);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (ModelRef* ref : m_Models) ref->pModel->DrawInstances(shader, view);
    glDisable(GL_NORMALIZE);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    Md2Instance::m_BoundTexture = 0;
}

void Md2Manager::FreeAll()
{
    for (ModelRef* ref : m_Models) {
        delete ref->pModel;
        delete ref;
    }
    m_Models.clear();
    Md2Instance::m_BoundTexture = 0;
}

Md2Instance* require_model_instance(const char* md2_file, uint8_t fps)
{
    Md2Instance* instance = Md2Manager::CreateInstance(md2_file, fps);
    if (!instance) {
        // Every object of the level needs its model; there is no sensible game without it.
        std::fprintf(stderr, "\n\tUnable to load model: %s\n", md2_file);
        std::exit(1);
    }
    return instance;
}

namespace {

const KeyRange kInstanceKeys[] = {
    {"scale_x", 0.001, 1e4, "a model scaled to nothing vanishes"},
    {"scale_y", 0.001, 1e4, "a model scaled to nothing vanishes"},
    {"scale_z", 0.001, 1e4, "a model scaled to nothing vanishes"},
    {"standard_rot_x", -3600, 3600, "degrees"},
    {"standard_rot_y", -3600, 3600, "degrees"},
    {"standard_rot_z", -3600, 3600, "degrees"},
    {"standard_transl_x", -1e5, 1e5, nullptr},
    {"standard_transl_y", -1e5, 1e5, nullptr},
    {"standard_transl_z", -1e5, 1e5, nullptr},
    {"anim_speed", 0, 1000, "key frames a second"},
};

} // namespace

const KeyRanges instance_key_ranges = kInstanceKeys;

InstanceFile::InstanceFile(const char* path) : ParameterFile(path, {instance_key_ranges}) { read_every_key(); }

InstanceFile::InstanceFile(const char* path, KeyRanges more) : ParameterFile(path, {instance_key_ranges, more})
{
    read_every_key();
}

void InstanceFile::read_every_key() const
{
    for (const KeyRange& r : kInstanceKeys) getFloat(r.key);
}

Md2Instance* create_object_instance(const char* md2_file, unsigned int texture, const ParameterFile& params)
{
    Md2Instance* instance = require_model_instance(md2_file, 5);
    instance->SetTexture(texture);
    instance->m_Scale[2] = params.getFloat("scale_z");
    instance->m_Scale[1] = params.getFloat("scale_y");
    instance->m_Scale[0] = params.getFloat("scale_x");
    instance->m_StdRot[2] = params.getFloat("standard_rot_z");
    instance->m_StdRot[1] = params.getFloat("standard_rot_y");
    instance->m_StdRot[0] = params.getFloat("standard_rot_x");
    instance->m_StdTransl[2] = params.getFloat("standard_transl_z");
    instance->m_StdTransl[1] = params.getFloat("standard_transl_y");
    instance->m_StdTransl[0] = params.getFloat("standard_transl_x");
    instance->m_Lit = true;
    instance->m_AnimSpeed = params.getFloat("anim_speed");
    return instance;
}
