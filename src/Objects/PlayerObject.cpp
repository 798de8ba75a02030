#include "Objects/PlayerObject.h"

void PlayerObject::update(float)
{
}

void PlayerObject::attach_actor(NxActor* a, const float offset_in[3])
{
    player_actor = a;
    for (int k = 0; k < 3; ++k) offset[k] = offset_in[k];
    if (a) a->userData = static_cast<MovingObject*>(this);
}
