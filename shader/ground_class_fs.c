// Classes the ground of the position image before it is coloured: a pixel where sand or rock
// may have weight survives (and the stencil marks it for the program with every material),
// a pixel of grass alone is discarded (and keeps the mark of the grass program). Nothing is
// drawn into the colour image.
#version 120
#extension GL_ARB_texture_rectangle : require
#extension GL_ARB_shader_texture_lod : require

#include "shared_haze.c"
#include "shared_shadow.c"
#include "shared_terrain_colour.c"
#include "shared_position_image.c"

void main()
{
    vec3 p, n;
    ground_here(p, n);
    if (!more_than_grass(p, n)) discard;
    gl_FragColor = vec4(0.0);
}
