// Moving game objects: one physics actor plus the model instances that draw it. Every
// simulated thing is a MovingObject (or derives from it); its actor's userData points back
// at that MovingObject part, which is how trigger reports reach objects.
#pragma once

#include "Gfx/RingTrail.h"
#include "Objects/GenericObject.h"
#include "Physics/NxPhysics.h"

#include <cstdint>
#include <vector>

class Md2Instance;

class DynamicObject : public GenericObject {};

class MovingObject : public DynamicObject {
public:
    explicit MovingObject(int ring_capacity = kRingTrailCapacity);
    // Virtual so that the AI manager, which owns objects of every kind through this part,
    // destroys each one whole.
    virtual ~MovingObject();
    MovingObject(const MovingObject&) = delete;
    MovingObject& operator=(const MovingObject&) = delete;

    // Draws `instance` at this object's pose from now on (not owned).
    void attach(Md2Instance* instance);

    // Copies the actor's pose into the physics and graphics matrices and positions, and
    // points every attached instance at the graphics matrix.
    void sync();

    // When the body's up vector `up` (world space) has y below `threshold`, or `force` is
    // set: turns the body upright, keeping its heading (its z axis turned level; its x axis
    // when z points straight up or down), plays "yipiee" at the object and kicks it up with
    // force_up.
    void set_upright(const NxVec3& up, float threshold, bool force);

    bool debug_rays = false;
    float kinetic_energy = 0;
    std::vector<Md2Instance*> instances;
    NxActor* actor = nullptr;
    float box_size = 0;
    int32_t type = OBJECT_GENERIC;
    RingTrail rings;
    float physx_matrix[16];    // column-major: the actor's rotation and position
    float physx_position[3] = {0, 0, 0};
    float gfx_matrix[16];      // the same rotation at the graphics position
    float gfx_position[3] = {0, 0, 0};
    float force_up = 0;        // the self-righting kick, from the object's parameter file

    // How set_upright makes its sound: the audio system's play_effect. Tests put a
    // recorder here.
    static void (*play_sound)(const char* name, const float position[3]);
};
