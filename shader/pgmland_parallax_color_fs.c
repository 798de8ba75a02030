// Terrain colour with surface relief, for the ground where sand or rock may show (see
// shared_parallax_ground.c; the classing is ground_class_fs.c's). Shades the position image,
// one pixel at a time.
#version 120
#extension GL_ARB_texture_rectangle : require
#extension GL_ARB_shader_texture_lod : require

#include "shared_haze.c"
#include "shared_shadow.c"
#include "shared_terrain_colour.c"
#include "shared_position_image.c"
#include "shared_parallax_ground.c"
