#include "Ai/Collectable.h"

#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Gfx/MD2_Instance.h"
#include "Objects/ObjectErrors.h"
#include "Objects/ObjectKeyRanges.h"

#include <algorithm>
#include <cstdio>

CollectableDefaults Collectable::defaults;

namespace {

const KeyRange kCrystalKeys[] = {
    {"density", 0.001, 1e6, "a crystal's body needs a mass"},
    {"lifeTime", 1, 3600, "seconds"},
};

void read_defaults(const char* path, CollectableDefaults& d)
{
    std::fprintf(stderr, "\n\t SET DEFAULTS COLLECTABLES\n");
    ParameterFile p(path, {body_box_key_ranges, sensor_key_ranges, body_damping_key_ranges, kCrystalKeys});
    require_box_shape<ObjectError>(p, "bodyShapeType");
    d.body_half_extents = NxVec3(p.getFloat("bodyShapeXLength"), p.getFloat("bodyShapeYLength"),
                                 p.getFloat("bodyShapeZLength"));
    d.linear_damping = p.getFloat("linearDamping");
    d.angular_damping = p.getFloat("angularDamping");
    d.density = p.getFloat("density");
    require_box_shape<ObjectError>(p, "sensorShapeType");
    d.sensor_half_extents = NxVec3(p.getFloat("sensorShapeXLength"), p.getFloat("sensorShapeYLength"),
                                   p.getFloat("sensorShapeZLength"));
    d.sensor_pose = NxVec3(p.getFloat("sensorLocalPoseX"), p.getFloat("sensorLocalPoseY"),
                           p.getFloat("sensorLocalPoseZ"));
    d.box_size = p.getFloat("bodyShapeXLength");
    d.life_time = p.getInt("lifeTime");
    d.read = true;
}

} // namespace

int chase_animation(int multiplier)
{
    return std::min(2 * ((multiplier + 1) / 2), 6);
}

Collectable::Collectable(const char* defaults_path, NxScene* scene_in, const NxVec3& position, int value_in,
                         std::vector<Md2Instance*>* pool_in)
    : MovingObject(kCollectableRingTrailCapacity), pool(pool_in), scene(scene_in)
{
    type = OBJECT_COLLECTABLE;
    load_defaults(defaults_path);
    box_size = defaults.box_size;
    life_time = defaults.life_time;
    instances.reserve(1); // its one model, attached at every drop
    place(position, value_in);
}

void Collectable::load_defaults(const char* path)
{
    if (!defaults.read) read_defaults(path, defaults);
}

void Collectable::place(const NxVec3& position, int value_in)
{
    value = value_in;
    multiplier = 1;
    kinetic_energy = 0;
    expiry_time = process_clock_ms() + static_cast<long>(defaults.life_time) * 1000;
    clear_rings(rings);

    NxBoxShapeDesc body_box;
    body_box.dimensions = defaults.body_half_extents;
    NxBoxShapeDesc sensor;
    sensor.dimensions = defaults.sensor_half_extents;
    sensor.localPose.t = defaults.sensor_pose;
    sensor.shapeFlags |= NX_TRIGGER_ENABLE;
    NxBodyDesc body;
    body.linearDamping = defaults.linear_damping;
    body.angularDamping = defaults.angular_damping;
    NxActorDesc desc;
    desc.shapes.pushBack(&body_box);
    desc.shapes.pushBack(&sensor);
    desc.body = &body;
    desc.density = defaults.density;
    desc.globalPose.t = position;
    desc.userData = static_cast<MovingObject*>(this);
    actor = scene ? scene->createActor(desc) : nullptr;
}

void Collectable::chase_notice()
{
    ++multiplier;
    if (instances.empty() || !instances[0]) return;
    Md2Instance* m = instances[0];
    int wanted = chase_animation(multiplier);
    if (wanted > static_cast<int>(m->m_Cycle) + 2) m->SetCycle(static_cast<unsigned>(wanted));
    m->BlendToCycle(static_cast<unsigned>(wanted), 5.0f, true);
}

void Collectable::return_models()
{
    for (Md2Instance* m : instances) {
        if (!m) continue;
        m->m_Visible = false;
        m->SetCycle(0);
    }
    if (pool && !instances.empty() && instances[0]) pool->push_back(instances[0]);
    instances.clear();
}
