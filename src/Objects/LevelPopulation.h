// The single level's objects, made once at start-up: two ducks, the scenery, the eskel ship,
// five opponents, the player and the bridges, in that order, each registered with the AI
// manager.
#pragma once

class PlayerImpl;

// The player's hover, made by the population; none before it.
extern PlayerImpl* game_player;

int populate_level();
