// Rock-coloured meshes in world space (such as the terrain tiles): world position and
// normal for the fragment program.
#version 120

#include "shared_world_vertex.c"
