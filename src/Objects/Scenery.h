// The scattered scenery of the level: fir trees on the moor's grass, toadstools in clusters
// on gentle ground and a few lazy-boy trees. Each function plants one group as a row of
// static scenery objects registered with `ai`, which owns them from then on. They use the
// game's physics world (`terrain_physics()`, its height map and scene) and the texture slots
// of `sdlgl`, and run during the level's population in the order trees, mushrooms, lazy
// boys, which fixes their share of the game's random draws.
#pragma once

class AiManager;

void plant_trees(AiManager& ai);
void plant_mushrooms(AiManager& ai);
void plant_lazyboys(AiManager& ai);
