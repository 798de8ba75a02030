#include "Objects/Scenery.h"

#include "Ai/AiManager.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/SDLGL.h"
#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/Md2ModelData.h"
#include "Gfx/Texture.h"
#include "Objects/SceneryRules.h"
#include "Objects/StaticObject.h"
#include "Physics/TerrainPhysics.h"

#include <cstdio>

namespace {

// The lazy-boy group reports each stage of its planting.
void note(const SceneryGroup& g, const char* text)
{
    if (g.kind == SceneryKind::lazyboy) std::fprintf(stderr, "%s\n", text);
}

Md2Instance* scenery_instance(const SceneryGroup& g, const SceneryItem& item, unsigned texture)
{
    Md2Instance* instance = require_model_instance(g.md2_file, item.look.fps);
    instance->SetTexture(texture);
    if (g.kind == SceneryKind::mushroom) {
        const Md2AnimCycle* cycle = instance->Cycle(0);
        std::printf("\n\t >>> anim name=%s\n", cycle ? cycle->name : "");
    }
    return instance;
}

void dress(Md2Instance& instance, const SceneryGroup& g, const SceneryItem& item, const ScatterModelKeys& keys,
           size_t i)
{
    for (int k = 0; k < 3; ++k) instance.m_Scale[k] = item.look.scale[k];
    if (g.kind == SceneryKind::mushroom)
        std::printf("\t --- sizescale mushroom %zu = ( %g | %g | %g )\n", i, instance.m_Scale[0], instance.m_Scale[1],
                    instance.m_Scale[2]);
    instance.m_StdTransl[0] = 0;
    instance.m_StdTransl[1] = keys.transl_y;
    instance.m_StdTransl[2] = 0;
    instance.m_Lit = true;
    instance.m_StdRot[0] = 0;
    instance.m_StdRot[1] = item.look.heading;
    instance.m_StdRot[2] = 0;
    instance.m_AnimSpeed = item.look.anim_speed;
}

void plant(AiManager& ai, const SceneryGroup& g, const Texture* texture)
{
    ParameterFile group(g.group_file, {scatter_group_key_ranges});
    note(g, "lazy 1");
    const ScatterGroupKeys where = read_group_keys(group);
    const std::vector<NxVec3> found = terrain_physics().find_positions(
        where.obj_cnt, where.world_y_offset, where.world_y_height_range, where.world_min_distance, where.reject_slope);

    InstanceFile model(g.model_file, scenery_model_key_ranges);
    note(g, "lazy 2");
    const ScatterModelKeys keys = read_model_keys(model, g.kind);
    std::printf("scale_variance_mod %d\n", keys.variance_mod);
    std::printf("scale_variance_sub %d\n", keys.variance_sub);
    if (g.kind == SceneryKind::lazyboy) std::fprintf(stderr, "lazy 2.1: number of lazyboys: %zu\n", found.size());

    const std::vector<SceneryItem> items = plan_scenery(terrain_physics(), g.kind, found, keys, where.gfx_y_translate);
    for (size_t i = 0; i < items.size(); ++i) {
        const SceneryItem& item = items[i];
        note(g, "lazy 2.5");
        Md2Instance* instance = scenery_instance(g, item, texture ? texture->id : 0);
        note(g, "lazy 3");
        dress(*instance, g, item, keys, i);
        float position[3];
        item.pose.position.get(position);
        StaticObject* object = new StaticObject(g.group_file, terrain_physics().scene, position, instance,
                                                item.pose.rows[0], item.pose.rows[1], item.pose.rows[2]);
        note(g, "lazy 5");
        object->sync();
        ai.register_object(object);
        std::fprintf(stderr, "birth nr%zu: %g %g %g? \n", i, position[0], position[1], position[2]);
    }
}

} // namespace

void plant_trees(AiManager& ai)
{
    std::fprintf(stderr, "planting trees\n");
    plant(ai, scenery_group(SceneryKind::tree), sdlgl->textures.tree_tex);
    std::fprintf(stderr, "planted trees\n");
}

void plant_mushrooms(AiManager& ai)
{
    std::fprintf(stderr, "planting mushrooms\n");
    plant(ai, scenery_group(SceneryKind::mushroom), sdlgl->textures.pilz_tex);
    std::fprintf(stderr, "planted mushrooms\n");
}

void plant_lazyboys(AiManager& ai)
{
    std::fprintf(stderr, "planting lazyboys\n");
    plant(ai, scenery_group(SceneryKind::lazyboy), sdlgl->textures.lazyboy_tex);
    std::fprintf(stderr, "planted lazyboys\n");
}
