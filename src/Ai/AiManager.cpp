#include "Ai/AiManager.h"

#include "Common/Platform.h"
#include "Objects/MovingObject.h"

#include <algorithm>
#include <cstdio>

AiManager::~AiManager()
{
    for (MovingObject* o : removed) delete o;
    for (MovingObject* o : all_objects) delete o;
}

void AiManager::onTrigger(NxShape& trigger_shape, NxShape& other_shape, NxTriggerFlag status)
{
    DEBUG_ASSERT(trigger_shape.getFlag(NX_TRIGGER_ENABLE), "triggerShape.getFlag(NX_TRIGGER_ENABLE)",
                 "src\\Ai\\AiManager");
    NxActor& sensor_actor = trigger_shape.getActor();
    MovingObject* owner = static_cast<MovingObject*>(sensor_actor.userData);
    MovingObject* toucher = static_cast<MovingObject*>(other_shape.getActor().userData);
    if (!toucher || !sensor_actor.isDynamic() || !owner) return;
    (void)status;
}

void AiManager::register_object(MovingObject* o)
{
    if (!o) return;
    all_objects.push_back(o);
    if (o->type == OBJECT_BRIDGE_ELEMENT) {
        generic_objects.push_back(o);
        std::fprintf(stderr, "born eskel2\n");
    }
}

void AiManager::remove_object(MovingObject* o)
{
    auto it = std::find(all_objects.begin(), all_objects.end(), o);
    if (it == all_objects.end()) return;
    *it = all_objects.back();
    all_objects.pop_back();
    removed.push_back(o);
}

void AiManager::update()
{
    for (MovingObject* o : all_objects) o->sync();
    for (MovingObject* o : generic_objects) o->sync();
}

void AiManager::flush()
{
    while (!removed.empty()) {
        MovingObject* o = removed.back();
        removed.pop_back();
        if (scene && o->actor) scene->releaseActor(*o->actor);
        delete o;
    }
}

void AiManager::restart(const NxVec3&, float) {}

void AiManager::collect(Collectable&, MovingObject*) {}

int AiManager::player_points() const
{
    return 0;
}

const std::vector<int>& AiManager::opponent_score_table()
{
    return opponent_scores;
}

void AiManager::for_each(void (*callback)(MovingObject*, void*), void* arg)
{
    for (MovingObject* o : all_objects)
        if (o) callback(o, arg);
}
