// Ground positions: the grid as every terrain program draws it.
#version 120

#include "shared_terrain_vertex.c"
