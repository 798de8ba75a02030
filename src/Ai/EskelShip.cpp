#include "Ai/EskelShip.h"

#include "Ai/AiManager.h"
#include "Ai/Collectable.h"
#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Common/Random.h"
#include "Common/SDLGL.h"
#include "Common/Globals.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/Texture.h"
#include "Objects/HoverPhysics.h"
#include "Objects/ObjectErrors.h"
#include "Objects/ObjectKeyRanges.h"
#include "Terrain/HeightMap.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kCrystalFile = ".\\config\\objects\\defaultCollectable.p";

// Every crystal of a drop is a body of the scene: a few per drop, at most one drop a second.
const KeyRange kShipKeys[] = {
    {"numBoxes", 1, 100, "crystals a drop, each a body of the scene"},
    {"shootForceX", -1e6, 1e6, nullptr},
    {"shootForceY", -1e6, 1e6, nullptr},
    {"shootForceZ", -1e6, 1e6, nullptr},
    {"ground_offset", -1000, 1000, nullptr},
    {"force_forward", 0, 1e7, nullptr},
    {"force_backward", 0, 1e7, nullptr},
    {"force_torque", 0, 1e7, nullptr},
    {"minDrop", 10, 36000, "tenths of a second between drops"},
    {"maxDrop", 10, 36000, "tenths of a second between drops"},
    {"xSpaceMin", -1e5, 1e5, nullptr},
    {"xSpaceMax", -1e5, 1e5, nullptr},
    {"zSpaceMin", -1e5, 1e5, nullptr},
    {"zSpaceMax", -1e5, 1e5, nullptr},
    {"pSize", 0.01, 1e5, nullptr},
    {"initLinVeloX", -1e4, 1e4, nullptr},
    {"initLinVeloY", -1e4, 1e4, nullptr},
    {"initLinVeloZ", -1e4, 1e4, nullptr},
};

Md2Instance* load_crystal_instance()
{
    InstanceFile p(".\\media\\objects\\crystal\\crystal.p");
    unsigned texture = sdlgl && sdlgl->textures.crystal_tex ? sdlgl->textures.crystal_tex->id : 0;
    return create_object_instance(".\\media\\objects\\crystal\\crystal.md2", texture, p);
}

float sample_or_zero(const HeightMap& map, float sample_height, float x, float z)
{
    long ix = static_cast<long>(x), iz = static_cast<long>(z);
    if (!map.phys_map || !map.phys_inside(ix, iz)) return 0;
    return map.phys_at(ix, iz) * sample_height;
}

} // namespace

Md2Instance* (*EskelShip::make_crystal_instance)() = load_crystal_instance;

float ship_ground_height(const HeightMap& map, float sample_height, float x, float z, float ex, float ez)
{
    const float points[6][2] = {{x, z},
                                {x + 0.75f * ex, z + 0.75f * ez},
                                {x - 0.75f * ex, z + 0.75f * ez},
                                {x + 0.75f * ex, z - 0.75f * ez},
                                {x - 0.75f * ex, z - 0.75f * ez},
                                {x, z - 1.5f * ez}};
    float h = 0;
    for (const auto& p : points) h = std::max(h, sample_or_zero(map, sample_height, p[0], p[1]));
    return h;
}

int crystals_in_play_at_most(int num_boxes, float min_drop, int life_time)
{
    if (num_boxes <= 0 || life_time <= 0) return 0;
    float gap = std::max(min_drop, 1.0f) / 10; // seconds
    return num_boxes * (static_cast<int>(std::ceil(life_time / gap)) + 1);
}

ShipLift ship_lift(float ground_offset, float ground, float y)
{
    float d = ground_offset + ground - y;
    ShipLift out;
    out.divisor = d > 0 ? std::fabs(d) + 1 : 1;
    out.lift = 10 * d;
    return out;
}

EskelShip::EskelShip(const char* path, NxScene* scene_in, const NxVec3& position, Md2Instance* instance)
    : scene(scene_in), map(&hmap)
{
    attach(instance);
    type = OBJECT_ESKEL_SHIP;
    NxVec3 init_velocity(0, 0, 0);
    {
        ParameterFile p(path, {body_box_key_ranges, body_mass_key_ranges, body_damping_key_ranges, steering_key_ranges,
                               kShipKeys});
        num_boxes = p.getInt("numBoxes");
        shoot_force[0] = p.getFloat("shootForceX");
        shoot_force[1] = p.getFloat("shootForceY");
        shoot_force[2] = p.getFloat("shootForceZ");
        thresholds = read_thresholds(p);
        ground_offset = p.getFloat("ground_offset");
        box_size = p.getFloat("bodyShapeXLength");
        force_forward = p.getFloat("force_forward");
        force_backward = p.getFloat("force_backward");
        force_torque = p.getFloat("force_torque");
        min_drop = p.getFloat("minDrop");
        max_drop = p.getFloat("maxDrop");
        x_space_min = p.getFloat("xSpaceMin");
        x_space_max = p.getFloat("xSpaceMax");
        z_space_min = p.getFloat("zSpaceMin");
        z_space_max = p.getFloat("zSpaceMax");
        p_size = p.getFloat("pSize");
        require_box_shape<HoverObjectError>(p, "bodyShapeType");
        half_extents = NxVec3(p.getFloat("bodyShapeXLength"), p.getFloat("bodyShapeYLength"),
                              p.getFloat("bodyShapeZLength"));
        linear_damping = p.getFloat("linearDamping");
        angular_damping = p.getFloat("angularDamping");
        mass = p.getFloat("mass");
        // The start velocity is optional; given, it must be a velocity.
        bool given = true;
        for (const char* key : {"initLinVeloX", "initLinVeloY", "initLinVeloZ"}) {
            try {
                p.getString(key);
            } catch (const BadValueException&) {
                given = false;
            }
        }
        if (given)
            init_velocity = NxVec3(p.getFloat("initLinVeloX"), p.getFloat("initLinVeloY"), p.getFloat("initLinVeloZ"));
    }

    NxBoxShapeDesc box;
    box.dimensions = half_extents;
    NxBodyDesc body = damped_body(mass, linear_damping, angular_damping);
    body.flags |= NX_BF_FROZEN_ROT_X | NX_BF_FROZEN_ROT_Z;
    body.linearVelocity = init_velocity;
    NxActorDesc desc;
    desc.shapes.pushBack(&box);
    desc.body = &body;
    desc.globalPose.t = position;
    desc.userData = static_cast<MovingObject*>(this);
    if (scene) {
        actor = scene->createActor(desc);
        if (actor) actor->raiseBodyFlag(NX_BF_DISABLE_GRAVITY);
    }

    long now = process_clock_ms();
    next_drop_time = now + static_cast<long>((min_drop + rand_uniform() * (max_drop - min_drop)) * 1000 / 10);
    choose_waypoint();
}

void EskelShip::choose_waypoint()
{
    float y = actor ? actor->getGlobalPosition().y : 0;
    float x = x_space_min + rand_uniform() * (x_space_max - x_space_min);
    float z = z_space_min + rand_uniform() * (z_space_max - z_space_min);
    waypoint = NxVec3(x, y, z);
    square[0] = x - p_size;
    square[1] = x + p_size;
    square[2] = z - p_size;
    square[3] = z + p_size;
    next_waypoint_time = process_clock_ms() + waypoint_interval;
}

Md2Instance* EskelShip::take_crystal_instance()
{
    Md2Instance* instance = nullptr;
    for (size_t i = 0; i < pool.size(); ++i)
        if (pool[i] && !pool[i]->m_Visible) {
            instance = pool[i];
            pool.erase(pool.begin() + static_cast<long>(i));
            break;
        }
    if (!instance && make_crystal_instance) instance = make_crystal_instance();
    if (instance) instance->m_Visible = true;
    return instance;
}

void EskelShip::drop_crystals()
{
    if (!actor) return;
    NxMat34 pose = actor->getGlobalPose();
    for (int n = 0; n < num_boxes; ++n) {
        shoot_force[0] = -shoot_force[0];
        // Three statements: the order of a call's arguments is the compiler's choice, and
        // the same seed must give the same drop on every build.
        const float r1 = rand_uniform();
        const float r2 = rand_uniform();
        const float r3 = rand_uniform();
        NxVec3 local(shoot_force[0] * (0.75f + 0.5f * r1), shoot_force[1] * (0.25f + 1.5f * r2),
                     shoot_force[2] * (0.25f + 1.5f * r3));
        NxVec3 impulse = pose.M * local;
        NxVec3 dir = impulse;
        float len = dir.magnitude();
        dir = dir / (len == 0 ? 0.001f : len);
        NxVec3 start = pose.t + NxVec3(0, 0.6f * half_extents.y, 0) + dir * (0.6f * half_extents.x);

        Md2Instance* instance = take_crystal_instance();
        Collectable* c = manager ? manager->take_spare_crystal() : nullptr;
        if (c)
            c->place(start, 10);
        else
            c = new Collectable(kCrystalFile, scene, start, 10, &pool);
        c->attach(instance);
        c->sync();
        if (manager) manager->register_object(c);
        if (c->actor) c->actor->addLocalForce(impulse);
    }
}

void EskelShip::prepare_crystals()
{
    if (!manager || !scene) return;
    Collectable::load_defaults(kCrystalFile);
    int count = std::min(crystals_in_play_at_most(num_boxes, min_drop, Collectable::defaults.life_time),
                         kMostCrystalsPrepared);
    manager->make_room_for_crystals(static_cast<size_t>(count));
    pool.reserve(pool.size() + static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (Md2Instance* m = make_crystal_instance ? make_crystal_instance() : nullptr) {
            m->m_Visible = false;
            pool.push_back(m);
        }
    // All in play at once, as many bodies as the game can have, then all taken out: never
    // registered, they go from the removed list straight to the spares.
    NxVec3 at = actor ? actor->getGlobalPosition() : NxVec3(0, 0, 0);
    for (int i = 0; i < count; ++i) manager->removed.push_back(new Collectable(kCrystalFile, scene, at, 0, &pool));
    manager->flush();
}

void EskelShip::update()
{
    if (!actor) return;
    long now = process_clock_ms();
    if (now > next_drop_time) {
        drop_crystals();
        next_drop_time = now + static_cast<long>((min_drop + rand_uniform() * (max_drop - min_drop)) * 1000 / 10);
    }
    if (now > next_waypoint_time) choose_waypoint();
    NxVec3 p = actor->getGlobalPosition();
    if (p.x > square[0] && p.x < square[1] && p.z > square[2] && p.z < square[3]) choose_waypoint();

    float ground = map ? ship_ground_height(*map, sample_height, p.x, p.z, half_extents.x, half_extents.z) : 0;
    ShipLift l = ship_lift(ground_offset, ground, p.y);

    int k = classify_aim(actor->getGlobalPose(), waypoint, thresholds);
    actor->wakeUp(0.4f);
    if (k != STEER_STRAIGHT) {
        bool positive = k == STEER_TURN_POSITIVE || k == STEER_HARD_POSITIVE || k == STEER_BRAKE_POSITIVE;
        actor->addLocalTorque(NxVec3(0, positive ? force_torque : -force_torque, 0));
    }
    actor->addLocalForce(NxVec3(0, l.lift, -force_forward / l.divisor));
}
