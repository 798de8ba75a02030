// The game's models and their skins. Every builder works in model units of one physics
// unit (32 graphics units at the game's terrain scale; the instance files scale by 32) with
// y up and the nose of vehicles and animals along +x.
#pragma once

#include <vector>

#include "Mesh.h"
#include "ModelKit.h"

struct ModelSet {
    std::vector<Model> models;
    std::vector<SkinFile> skins;
};

// Hover hull and its two rotors, with the shared hover skin.
void build_hover(ModelSet& set);
// The teddy rider with the player's and the opponents' skins, and the opponents' camera.
void build_teddy(ModelSet& set);
// Trees, mushrooms and lazy-boy trees.
void build_scenery(ModelSet& set);
void build_duck(ModelSet& set);
void build_ship(ModelSet& set);
void build_crystal(ModelSet& set);
void build_bridge(ModelSet& set);

// All of the above, in a fixed order.
ModelSet build_all_models();
