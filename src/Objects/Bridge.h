// The level's rope bridges: a chain of boxes along +x, a kinematic end box resting on each
// bank and loose planks between them, each element hinged to its neighbour so that the chain
// sags and swings under the vehicles. Every element is a game object registered with the AI
// manager, which owns it and synchronises it every frame.
#pragma once

#include "Objects/MovingObject.h"

#include <functional>
#include <vector>

class AiManager;

// One plank or end box of a bridge (type 12001).
class BridgeElement : public MovingObject {
public:
    // Prints the density and creates the element's box body in `scene` at `position`, with
    // the half extents `*size` (kept by pointer: the bridge holds the sizes). Without a
    // scene it says so and creates nothing.
    BridgeElement(NxScene* scene, const NxVec3& position, const NxVec3* size, float density);

    NxScene* scene;
    NxVec3 position;
    const NxVec3* size;
    float density;

private:
    void create_actor();
};

// A hinge between two neighbouring elements, with the anchor in each body's own frame.
struct BridgeJoint {
    NxJoint* joint = nullptr;
    NxActor* actor[2] = {nullptr, nullptr};
    NxVec3 local_anchor[2];
};

// Makes the model of one element; `end_box` for the two ends. May be empty (no models).
using BridgeModelMaker = std::function<Md2Instance*(bool end_box)>;

class Bridge {
public:
    // Builds the bridge of the parameter file at `path` in `scene`: its elements (registered
    // with `ai`, which owns them) and the hinges between them. A missing key throws
    // BadValueException.
    Bridge(const char* path, NxScene* scene, AiManager& ai, const BridgeModelMaker& make_model = nullptr);

    int element_count = 0; // N, the index of the last element
    std::vector<BridgeElement*> elements; // N + 1 of them, owned by the AI manager
    std::vector<BridgeJoint> joints;
    NxVec3 plank_size;     // half extents
    NxVec3 end_size;       // half extents
    NxScene* scene = nullptr;

private:
    void make_element(int i, const NxVec3& position, AiManager& ai, const BridgeModelMaker& make_model);
    void join_elements(float step_size);
    void join(int first, int second, const NxVec3& world_anchor);
};

// The quarter turn about the vertical axis that the end boxes stand in.
NxMat33 bridge_end_rotation();

// The level's five bridges, in order, from config/objects/bridge.p, bridge3.p, bridge4.p,
// bridge5.p and bridge6.p, with their plank models.
void build_bridges(AiManager& ai);
