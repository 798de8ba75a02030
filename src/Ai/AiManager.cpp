#include "Ai/AiManager.h"

#include "Common/Platform.h"

class MovingObject;

void AiManager::onTrigger(NxShape& trigger_shape, NxShape& other_shape, NxTriggerFlag status)
{
    DEBUG_ASSERT(trigger_shape.getFlag(NX_TRIGGER_ENABLE), "triggerShape.getFlag(NX_TRIGGER_ENABLE)",
                 "src\\Ai\\AiManager");
    // The sensor's owner and the object that touched it, through the actors' user data.
    NxActor& sensor_actor = trigger_shape.getActor();
    MovingObject* owner = static_cast<MovingObject*>(sensor_actor.userData);
    MovingObject* toucher = static_cast<MovingObject*>(other_shape.getActor().userData);
    if (!toucher || !sensor_actor.isDynamic() || !owner) return;
    // No object kind that reacts to a touch (opponents' sensors, crystals) exists yet.
    (void)status;
}
