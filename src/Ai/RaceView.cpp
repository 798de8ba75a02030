#include "Ai/RaceView.h"

#include "Ai/AiManager.h"
#include "Ai/Collectable.h"
#include "Ai/EskelShip.h"
#include "Ai/Opponent.h"
#include "Objects/GenericObject.h"
#include "Objects/PlayerImpl.h"

#include <cmath>

namespace {

const float kDegrees = 180.0f / 3.14159265358979f;

void copy3(const float from[3], float to[3])
{
    for (int k = 0; k < 3; ++k) to[k] = from[k];
}

} // namespace

float heading_of_nose(float nose_x, float nose_z)
{
    if (nose_x == 0 && nose_z == 0) return 0;
    return std::atan2(-nose_z, nose_x) * kDegrees;
}

void nose_of_heading(float heading_deg, float& nose_x, float& nose_z)
{
    const float a = heading_deg / kDegrees;
    nose_x = std::cos(a);
    nose_z = -std::sin(a);
}

void read_race_view(const AiManager& ai, RaceView& out)
{
    out.units_per_metre = GenericObject::physx2gfx_scale[0] > 0 ? GenericObject::physx2gfx_scale[0] : 1.0f;

    out.has_player = ai.player != nullptr;
    out.heading = 0;
    out.player_points = ai.player_points();
    if (const PlayerImpl* p = ai.player) {
        copy3(p->gfx_position, out.player);
        // The first column of the drawing matrix is the hover's +x axis in the world.
        out.heading = heading_of_nose(p->gfx_matrix[0], p->gfx_matrix[2]);
    }

    out.opponents.resize(ai.opponents.size());
    for (size_t i = 0; i < ai.opponents.size(); ++i) {
        copy3(ai.opponents[i]->gfx_position, out.opponents[i].pos);
        out.opponents[i].points = ai.opponents[i]->get_points();
    }

    out.has_ship = ai.ship != nullptr;
    if (ai.ship) copy3(ai.ship->gfx_position, out.ship);

    out.crystals.clear();
    for (const Collectable* c : ai.collectables) {
        if (!c->actor) continue; // out of play
        RaceCrystal rc;
        copy3(c->gfx_position, rc.pos);
        rc.value = c->value;
        rc.multiplier = c->multiplier;
        rc.points = c->value * c->multiplier;
        out.crystals.push_back(rc);
    }
}
