#include "Objects/SceneryRules.h"

#include "Common/ParameterFile.h"
#include "Common/Random.h"
#include "Physics/TerrainPhysics.h"

#include <algorithm>

namespace {

const SceneryGroup kGroups[] = {
    {SceneryKind::tree, ".\\config\\objects\\defaultStatic.p", ".\\media\\objects\\trees\\tree.p",
     ".\\media\\objects\\trees\\tree.md2"},
    {SceneryKind::mushroom, ".\\config\\objects\\defaultStaticMushroom.p", ".\\media\\objects\\pilz\\pilz.p",
     ".\\media\\objects\\pilz\\pilz.md2"},
    {SceneryKind::lazyboy, ".\\config\\objects\\defaultStaticLazyboy.p",
     ".\\media\\objects\\tree_lazy_boy\\tree_lazy_boy.p", ".\\media\\objects\\tree_lazy_boy\\tree_lazy_boy.md2"},
};

// Every object of a group is placed by trial among the free places of the map, the count
// squared times at most: a few thousand would hold the start-up for minutes.
const KeyRange kScatterGroupKeys[] = {
    {"gfx_y_translate", -1e5, 1e5, nullptr},
    {"world_y_offset", -1e5, 1e5, nullptr},
    {"world_y_height_range", 0, 1e5, nullptr},
    {"world_min_distance", 0, 1e5, nullptr},
    {"obj_cnt", 0, 1000, "each is placed by trial, the count squared times at most"},
    {"reject_slope", 0, 1, "how far the ground's normal may lean, 0 flat to 1 upright"},
};

const KeyRange kSceneryModelKeys[] = {
    {"scale_variance_mod", 1, 1000, "a remainder by it is taken"},
    {"scale_variance_sub", -1000, 1000, nullptr},
    {"scale_variance_renormalize_div", 0.001, 1000, "the scale is divided by it"},
};

} // namespace

const KeyRanges scatter_group_key_ranges = kScatterGroupKeys;
const KeyRanges scenery_model_key_ranges = kSceneryModelKeys;

const SceneryGroup& scenery_group(SceneryKind kind)
{
    return kGroups[static_cast<int>(kind)];
}

ScatterGroupKeys read_group_keys(const ParameterFile& p)
{
    ScatterGroupKeys k;
    k.gfx_y_translate = p.getFloat("gfx_y_translate");
    k.world_y_offset = p.getFloat("world_y_offset");
    k.world_y_height_range = p.getFloat("world_y_height_range");
    k.world_min_distance = p.getFloat("world_min_distance");
    k.obj_cnt = p.getInt("obj_cnt");
    k.reject_slope = p.getFloat("reject_slope");
    return k;
}

ScatterModelKeys read_model_keys(const ParameterFile& p, SceneryKind kind)
{
    ScatterModelKeys k;
    k.variance_mod = p.getInt("scale_variance_mod");
    k.variance_sub = p.getInt("scale_variance_sub");
    if (kind != SceneryKind::tree) k.renormalize_div = p.getFloat("scale_variance_renormalize_div");
    k.scale[2] = p.getFloat("scale_z");
    k.scale[1] = p.getFloat("scale_y");
    k.scale[0] = p.getFloat("scale_x");
    k.transl_y = p.getFloat("standard_transl_y");
    if (kind != SceneryKind::tree) k.anim_speed = p.getFloat("anim_speed");
    return k;
}

float varied_scale(SceneryKind kind, float scale, float v, float renormalize_div)
{
    const float s = kind == SceneryKind::tree ? scale + v : (scale / renormalize_div + v) * renormalize_div;
    // Written so that a NaN (a divisor of 0) also ends at the floor.
    return s > 0.0001f ? s : 0.0001f;
}

float scenery_anim_speed(SceneryKind kind, int d, const ScatterModelKeys& keys, float x_scale, float v)
{
    switch (kind) {
    case SceneryKind::tree:
        return std::clamp((d % 101 + 1) * 0.02f * 120.0f / (x_scale + v) + 4.0f, 2.5f, 5.0f);
    case SceneryKind::mushroom:
        return std::clamp(keys.anim_speed + static_cast<float>(d % 10), 3.5f, 5.5f);
    case SceneryKind::lazyboy:
        return std::clamp(keys.anim_speed + static_cast<float>(d % 10) - 3.5f, 3.0f, 5.0f);
    }
    return 0;
}

SceneryLook draw_look(SceneryKind kind, const ScatterModelKeys& keys)
{
    SceneryLook look;
    look.fps = static_cast<uint8_t>(game_rand() % 5 + 3);
    look.variance = static_cast<float>(game_rand() % keys.variance_mod - keys.variance_sub);
    for (int k = 0; k < 3; ++k) look.scale[k] = varied_scale(kind, keys.scale[k], look.variance, keys.renormalize_div);
    look.heading = static_cast<float>(game_rand() % 360);
    look.anim_speed = scenery_anim_speed(kind, game_rand(), keys, look.scale[0], look.variance);
    return look;
}

SceneryPose scenery_pose(const TerrainSlope& slope, const NxVec3& ground, float gfx_y_translate)
{
    SceneryPose pose;
    pose.position = ground;
    pose.position.y += gfx_y_translate * 0.5f;
    const NxVec3 up = slope.normal;
    NxVec3 x = slope.tx - up * slope.tx.dot(up);
    x.normalize();
    const NxVec3 z = x.cross(up);
    NxMat33 m;
    m.setColumn(0, x);
    m.setColumn(1, up);
    m.setColumn(2, z);
    for (int r = 0; r < 3; ++r) pose.rows[r] = m.getRow(r);
    return pose;
}

std::vector<SceneryItem> plan_scenery(const TerrainPhysics& terrain, SceneryKind kind,
                                      const std::vector<NxVec3>& found, const ScatterModelKeys& keys,
                                      float gfx_y_translate)
{
    std::vector<SceneryItem> items;
    for (const NxVec3& ground : found) {
        SceneryItem item;
        item.look = draw_look(kind, keys);
        const TerrainSlope slope = terrain.terrain_normal(static_cast<long>(ground.x), static_cast<long>(ground.z));
        item.pose = scenery_pose(slope, ground, gfx_y_translate);
        items.push_back(item);
    }
    return items;
}
