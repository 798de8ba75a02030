// The registry of all game objects and the receiver of the physics scene's trigger reports.
// Created by the physics set-up, which hands it to the scene and owns it. It updates the
// opponents and the ship, synchronises every object each frame, scores collected crystals,
// and destroys removed objects in one place (the flush), never inside a trigger report;
// removed crystals it keeps instead, for the ship's next drops.
#pragma once

#include "Physics/NxPhysics.h"

#include <vector>

class Collectable;
class EskelShip;
class HeightMap;
class MovingObject;
class Opponent;
class PlayerImpl;

// Where a body is put down at (x, z) on a restart: the physics map there (`sample_height`
// physics units per sample), at least the ground plane's height `plane_d` (also outside the
// map), plus 5.
float spawn_height(const HeightMap& map, float sample_height, float plane_d, float x, float z);

class AiManager : public NxUserTriggerReport {
public:
    AiManager() = default;
    // Destroys every object still registered (their actors go with the scene).
    ~AiManager() override;
    AiManager(const AiManager&) = delete;
    AiManager& operator=(const AiManager&) = delete;

    // Called by the scene during fetchResults: `trigger_shape` (a sensor) and
    // `other_shape` started or stopped overlapping, as `status` says.
    void onTrigger(NxShape& trigger_shape, NxShape& other_shape, NxTriggerFlag status) override;

    // Takes `o` into the lists its type asks for; the manager owns it from now on.
    void register_object(MovingObject* o);
    // Takes a registered object out of every list; it is destroyed in the next flush.
    // An object that is not registered is left alone.
    void remove_object(MovingObject* o);

    // Once per frame, after the player's update (`seconds` is the frame's physics step):
    // expiries, the opponents, the ship, and
    // the sync of every object.
    void update(float seconds);
    // Releases the actor of every removed object and destroys it; a crystal is kept in
    // `spare_crystals` instead, for the ship's next drop.
    void flush();

    // A crystal out of play, to be placed again, or null when there is none.
    Collectable* take_spare_crystal();
    // Room in every list a crystal enters, for `count` crystals in play at once: from then
    // on, crystals come and go without a list growing.
    void make_room_for_crystals(size_t count);

    // A new game: crystals gone, the ship over `centre`, the opponents (facing the centre) and
    // the player (facing along the circle, the centre on its left) on the circle of `radius`
    // around it, every score 0.
    void restart(const NxVec3& centre, float radius);

    // `collector` touched crystal `c`: a player or an opponent scores and the crystal goes.
    void collect(Collectable& c, MovingObject* collector);

    int player_points() const;
    // One entry per opponent, in list order, holding its points.
    const std::vector<int>& opponent_score_table();

    // Calls `callback(o, arg)` for every registered object.
    void for_each(void (*callback)(MovingObject* o, void* arg), void* arg);

    PlayerImpl* player = nullptr;
    std::vector<MovingObject*> generic_objects; // synchronised every frame: bridge elements, the ship
    std::vector<int> opponent_scores;
    std::vector<Collectable*> collectables;
    std::vector<Opponent*> opponents;
    EskelShip* ship = nullptr;
    NxScene* scene = nullptr; // set once the scene exists
    float plane_d = 0;        // the ground plane's height, set with the scene
    float sample_height = 0;  // one height-map sample in physics units, set with the scene
    std::vector<MovingObject*> removed;
    std::vector<Collectable*> expired; // the update's working list, kept to allocate nothing
    std::vector<Collectable*> spare_crystals; // out of play: no actor, no models; owned here
    std::vector<MovingObject*> all_objects;

    // Set by tests and the score log: called after every collect that scored, with the
    // collector (the player, or the opponent and its index) and the crystal's value and
    // multiplier.
    void (*on_score)(MovingObject* collector, int opponent_index, int points, int value, int multiplier) = nullptr;
};
