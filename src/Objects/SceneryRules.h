// The rules of the scattered scenery (trees, mushrooms, lazy-boy trees) that need neither a
// window nor a scene: the three groups' files, their keys, and how each object found by the
// search gets its size, heading, animation speed and pose. Every draw comes from the game's
// one random source, so the same files give the same moor on every run.
#pragma once

#include "Physics/NxPhysics.h"

#include <cstdint>
#include <vector>

#include "Common/ParameterFile.h"
class TerrainPhysics;
struct TerrainSlope;

enum class SceneryKind { tree, mushroom, lazyboy };

// One group's files: the group file (also the parameter file of each of its static objects),
// the model parameter file and the model.
struct SceneryGroup {
    SceneryKind kind;
    const char* group_file;
    const char* model_file;
    const char* md2_file;
};

const SceneryGroup& scenery_group(SceneryKind kind);

// Where a group may stand and how many of it there are.
struct ScatterGroupKeys {
    float gfx_y_translate = 0;      // each object is lifted by half of it
    float world_y_offset = 0;       // lowest ground height, exclusive
    float world_y_height_range = 0; // the ground must stay below offset + range
    float world_min_distance = 0;
    int obj_cnt = 0;
    float reject_slope = 0;         // 1 - |normal.y| must stay below it
};

ScatterGroupKeys read_group_keys(const ParameterFile& p);
// The values the scattering's keys of a group file may take.
extern const KeyRanges scatter_group_key_ranges;

// The keys of a group's model file that vary its objects.
struct ScatterModelKeys {
    int variance_mod = 1;
    int variance_sub = 0;
    float renormalize_div = 1; // mushrooms and lazy boys: the variance counts in steps of it
    float scale[3] = {1, 1, 1};
    float transl_y = 0;
    float anim_speed = 0;      // mushrooms and lazy boys: the base of the speed
};

// Throws BadValueException for a missing key and for a variance_mod below 1 (the variance is
// drawn modulo it).
ScatterModelKeys read_model_keys(const ParameterFile& p, SceneryKind kind);
// The values of the size-variance keys of a scenery model's instance file (its other keys
// are those of every instance file).
extern const KeyRanges scenery_model_key_ranges;

// What the draws of one object give, in their order: key-frame rate, size variance, heading,
// animation speed.
struct SceneryLook {
    uint8_t fps = 0;
    float variance = 0;
    float scale[3] = {0, 0, 0};
    float heading = 0; // degrees about the up axis
    float anim_speed = 0;
};

SceneryLook draw_look(SceneryKind kind, const ScatterModelKeys& keys);

// One scale component with the variance v; never below 0.0001, so no model is flattened or
// turned inside out.
float varied_scale(SceneryKind kind, float scale, float v, float renormalize_div);

// The animation speed from the draw `d`, clamped to the kind's band. Trees sway slower the
// bigger they are: x_scale is the varied x scale, and v is added to it once more.
float scenery_anim_speed(SceneryKind kind, int d, const ScatterModelKeys& keys, float x_scale, float v);

// Where an object found at `ground` (x, height, z) stands: lifted by half of
// gfx_y_translate, its up axis along the ground's normal, its x axis along the slope's x
// tangent; the rotation rows are a proper rotation (the tangents themselves are neither unit
// long nor at right angles to the normal).
struct SceneryPose {
    NxVec3 position;
    NxVec3 rows[3];
};

SceneryPose scenery_pose(const TerrainSlope& slope, const NxVec3& ground, float gfx_y_translate);

struct SceneryItem {
    SceneryLook look;
    SceneryPose pose;
};

// The looks and poses of the objects at `found`, drawing in order object by object.
std::vector<SceneryItem> plan_scenery(const TerrainPhysics& terrain, SceneryKind kind,
                                      const std::vector<NxVec3>& found, const ScatterModelKeys& keys,
                                      float gfx_y_translate);
