// Terrain colour beyond the relief's reach, for the ground where sand or rock may show: the
// relief colour program without the relief's two lookups, which fade to nothing there.
#version 120
#extension GL_ARB_texture_rectangle : require
#extension GL_ARB_shader_texture_lod : require

#define NO_RELIEF
#include "shared_haze.c"
#include "shared_shadow.c"
#include "shared_terrain_colour.c"
#include "shared_position_image.c"
#include "shared_parallax_ground.c"
