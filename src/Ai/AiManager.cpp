#include "Ai/AiManager.h"

#include "Ai/Collectable.h"
#include "Ai/EskelShip.h"
#include "Ai/Opponent.h"
#include "Common/Platform.h"
#include "Common/Random.h"
#include "Objects/PlayerImpl.h"
#include "Terrain/HeightMap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Takes `o` out of `list` by moving the last element into its slot; false when absent.
template <class T>
bool take_out(std::vector<T*>& list, MovingObject* o)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (static_cast<MovingObject*>(list[i]) == o) {
            list[i] = list.back();
            list.pop_back();
            return true;
        }
    return false;
}

// The pose of a body on the restart circle: upright, its `forward_column` axis (0 = x,
// 2 = z) pointing along `forward_sign` times the direction to the centre.
NxMat33 facing(const NxVec3& to_centre, int forward_column, float forward_sign)
{
    NxVec3 up(0, 1, 0);
    NxVec3 f = to_centre;
    f.y = 0;
    if (f.normalize() == 0) f = NxVec3(1, 0, 0);
    f = f * forward_sign;
    NxMat33 m;
    if (forward_column == 0) {
        // x forward: z = x cross y.
        m.setColumn(0, f);
        m.setColumn(1, up);
        m.setColumn(2, f.cross(up));
    } else {
        // z forward: x = y cross z.
        m.setColumn(2, f);
        m.setColumn(1, up);
        m.setColumn(0, up.cross(f));
    }
    return m;
}

void place_on_circle(NxActor* actor, const NxVec3& position, const NxMat33& rotation)
{
    if (!actor) return;
    NxMat34 pose;
    pose.M = rotation;
    pose.t = position;
    actor->setGlobalPose(pose);
    actor->setLinearVelocity(NxVec3(0, 0, 0));
    actor->setAngularVelocity(NxVec3(0, 0, 0));
    actor->wakeUp();
}

} // namespace

float spawn_height(const HeightMap& map, float sample_height, float plane_d, float x, float z)
{
    long ix = static_cast<long>(x), iz = static_cast<long>(z);
    float h = plane_d;
    if (map.phys_map && map.phys_inside(ix, iz)) h = std::max(h, map.phys_at(ix, iz) * sample_height);
    return h + 5;
}

AiManager::~AiManager()
{
    for (MovingObject* o : removed) delete o;
    for (MovingObject* o : all_objects) delete o;
    for (Collectable* c : spare_crystals) delete c;
}

void AiManager::onTrigger(NxShape& trigger_shape, NxShape& other_shape, NxTriggerFlag status)
{
    DEBUG_ASSERT(trigger_shape.getFlag(NX_TRIGGER_ENABLE), "triggerShape.getFlag(NX_TRIGGER_ENABLE)",
                 "src\\Ai\\AiManager");
    // The sensor's owner and the object that touched it, through the actors' user data.
    NxActor& sensor_actor = trigger_shape.getActor();
    MovingObject* owner = static_cast<MovingObject*>(sensor_actor.userData);
    MovingObject* toucher = static_cast<MovingObject*>(other_shape.getActor().userData);
    if (!toucher || !sensor_actor.isDynamic() || !owner) return;

    bool toucher_is_crystal = toucher->type == OBJECT_COLLECTABLE;
    if (status & NX_TRIGGER_ON_ENTER) {
        if (owner->type == OBJECT_OPPONENT && !toucher_is_crystal) {
            Opponent* o = static_cast<Opponent*>(owner);
            if (++o->sensor_count == 1) o->turn_side = rand_uniform() < 0.5f;
        } else if (owner->type == OBJECT_COLLECTABLE) {
            collect(*static_cast<Collectable*>(owner), toucher);
        }
    }
    if (status & NX_TRIGGER_ON_LEAVE) {
        if (owner->type == OBJECT_OPPONENT && !toucher_is_crystal) {
            Opponent* o = static_cast<Opponent*>(owner);
            if (o->sensor_count > 0) --o->sensor_count;
        }
    }
}

void AiManager::register_object(MovingObject* o)
{
    if (!o) return;
    all_objects.push_back(o);
    switch (o->type) {
    case OBJECT_COLLECTABLE: {
        Collectable* c = static_cast<Collectable*>(o);
        for (Opponent* op : opponents) op->add_candidate(c);
        c->manager = this;
        collectables.push_back(c);
        break;
    }
    case OBJECT_PLAYER:
        for (Opponent* op : opponents) op->add_rival(o);
        player = static_cast<PlayerImpl*>(o);
        break;
    case OBJECT_OPPONENT: {
        Opponent* n = static_cast<Opponent*>(o);
        for (Opponent* op : opponents) {
            op->add_rival(n);
            n->add_rival(op);
        }
        if (player) n->add_rival(player);
        for (Collectable* c : collectables) n->add_candidate(c);
        n->set_ship(ship);
        opponents.push_back(n);
        break;
    }
    case OBJECT_ESKEL_SHIP:
        ship = static_cast<EskelShip*>(o);
        ship->manager = this;
        std::fprintf(stderr, "born eskel\n");
        for (Opponent* op : opponents) {
            std::fprintf(stderr, "born eskelbad\n");
            op->set_ship(ship);
        }
        generic_objects.push_back(o);
        std::fprintf(stderr, "born eskel2\n");
        break;
    case OBJECT_BRIDGE_ELEMENT:
        generic_objects.push_back(o);
        std::fprintf(stderr, "born eskel2\n");
        break;
    default:
        break;
    }
}

void AiManager::remove_object(MovingObject* o)
{
    if (!take_out(all_objects, o)) return;
    removed.push_back(o);
    switch (o->type) {
    case OBJECT_COLLECTABLE:
        take_out(collectables, o);
        for (Opponent* op : opponents)
            if (op->remove_candidate(o)) MovingObject::play_sound("vanished", op->gfx_position);
        break;
    case OBJECT_PLAYER:
        for (Opponent* op : opponents) op->remove_rival(o);
        player = nullptr;
        break;
    case OBJECT_OPPONENT:
        take_out(opponents, o);
        for (Opponent* op : opponents) op->remove_rival(o);
        break;
    case OBJECT_ESKEL_SHIP:
        for (Opponent* op : opponents)
            if (op->ship == o) op->clear_ship();
        take_out(generic_objects, o);
        ship = nullptr;
        break;
    default:
        take_out(generic_objects, o);
        break;
    }
}

void AiManager::update(float seconds)
{
    long now = process_clock_ms();
    // Gathered first: removal reorders the list.
    expired.clear();
    for (Collectable* c : collectables)
        if (now >= c->expiry_time) expired.push_back(c);
    for (Collectable* c : expired) remove_object(c);
    for (Opponent* op : opponents) op->update(seconds);
    if (ship) ship->update();
    for (MovingObject* o : all_objects) o->sync();
    for (MovingObject* o : generic_objects) o->sync();
}

void AiManager::flush()
{
    while (!removed.empty()) {
        MovingObject* o = removed.back();
        removed.pop_back();
        if (scene && o->actor) scene->releaseActor(*o->actor);
        o->actor = nullptr;
        if (o->type == OBJECT_COLLECTABLE) {
            Collectable* c = static_cast<Collectable*>(o);
            c->return_models();
            spare_crystals.push_back(c);
        } else {
            delete o;
        }
    }
}

Collectable* AiManager::take_spare_crystal()
{
    if (spare_crystals.empty()) return nullptr;
    Collectable* c = spare_crystals.back();
    spare_crystals.pop_back();
    return c;
}

void AiManager::make_room_for_crystals(size_t count)
{
    all_objects.reserve(all_objects.size() + count);
    collectables.reserve(count);
    removed.reserve(removed.size() + count);
    expired.reserve(count);
    spare_crystals.reserve(count);
    for (Opponent* op : opponents) op->candidates.reserve(count);
}

void AiManager::restart(const NxVec3& centre, float radius)
{
    while (!collectables.empty()) remove_object(collectables.back());

    if (ship && ship->actor) {
        NxVec3 p(centre.x, spawn_height(hmap, sample_height, plane_d, centre.x, centre.z), centre.z);
        NxMat34 pose = ship->actor->getGlobalPose();
        place_on_circle(ship->actor, p, pose.M);
    }

    size_t n = opponents.size();
    for (size_t i = 0; i <= n; ++i) {
        bool is_player = i == n;
        if (is_player && !player) break;
        float a = static_cast<float>(i) * 2.0f * 3.14159265f / static_cast<float>(n + 1);
        float x = centre.x + radius * std::cos(a), z = centre.z + radius * std::sin(a);
        NxVec3 to_centre(centre.x - x, 0, centre.z - z);
        if (is_player) {
            float half_height = player->half_extents.y;
            NxVec3 p(x, spawn_height(hmap, sample_height, plane_d, x, z) + half_height, z);
            // The player sets off along the circle, the centre on its left. Toward the centre the
            // line runs into the centre's hill of rock within a few seconds at full power, and on
            // the game's map the north-east plateau's cliff stands 30 units behind this place;
            // along the circle the ring of moor it runs through is open both ways. A quarter
            // turn to the left faces the ship as it sets out from the centre.
            place_on_circle(player->actor, p, facing(to_centre.cross(NxVec3(0, 1, 0)), 0, 1));
            player->reset_points();
        } else {
            Opponent* op = opponents[i];
            NxVec3 p(x, spawn_height(hmap, sample_height, plane_d, x, z) + op->half_extents.y, z);
            // Opponents drive along -z: their z axis points away from the centre.
            place_on_circle(op->actor, p, facing(to_centre, 2, -1));
            op->reset_points();
            op->sensor_count = 0;
        }
    }
}

void AiManager::collect(Collectable& c, MovingObject* collector)
{
    if (!collector) return;
    int points = c.value * c.multiplier;
    int opponent_index = -1;
    if (collector->type == OBJECT_PLAYER && collector == static_cast<MovingObject*>(player)) {
        player->add_points(points);
    } else if (collector->type == OBJECT_OPPONENT) {
        Opponent* op = static_cast<Opponent*>(collector);
        op->add_points(points);
        auto it = std::find(opponents.begin(), opponents.end(), op);
        opponent_index = it == opponents.end() ? -1 : static_cast<int>(it - opponents.begin());
    } else {
        return;
    }
    MovingObject::play_sound("collect", c.gfx_position);
    if (on_score) on_score(collector, opponent_index, points, c.value, c.multiplier);
    remove_object(&c);
}

int AiManager::player_points() const
{
    return player ? player->get_points() : 0;
}

const std::vector<int>& AiManager::opponent_score_table()
{
    opponent_scores.clear();
    for (Opponent* op : opponents) opponent_scores.push_back(op->get_points());
    return opponent_scores;
}

void AiManager::for_each(void (*callback)(MovingObject*, void*), void* arg)
{
    for (MovingObject* o : all_objects)
        if (o) callback(o, arg);
}
