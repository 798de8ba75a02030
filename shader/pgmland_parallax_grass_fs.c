// Terrain colour with surface relief for the ground that is grass alone, which is most of
// the island: the software rasteriser runs both sides of every branch, so the sand and rock
// lookups are left out of this program altogether rather than skipped at run time. Where it
// draws (ground_class_fs.c decides), sand and rock have no weight, so it gives exactly the
// colour of pgmland_parallax_color_fs.c.
#version 120
#extension GL_ARB_texture_rectangle : require
#extension GL_ARB_shader_texture_lod : require

#define GRASS_ONLY
#include "shared_haze.c"
#include "shared_shadow.c"
#include "shared_terrain_colour.c"
#include "shared_position_image.c"
#include "shared_parallax_ground.c"
