// Terrain colour beyond the relief's reach, for the ground that is grass alone.
#version 120
#extension GL_ARB_texture_rectangle : require
#extension GL_ARB_shader_texture_lod : require

#define NO_RELIEF
#define GRASS_ONLY
#include "shared_haze.c"
#include "shared_shadow.c"
#include "shared_terrain_colour.c"
#include "shared_position_image.c"
#include "shared_parallax_ground.c"
