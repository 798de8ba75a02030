// Terrain colour: sand along and under the water line, grass on level ground, rock on
// steep slopes and high up, varied by the noise texture at a large scale; lit per pixel
// by the sun with the models' shadows; hazed with distance. Alpha carries the distance
// for the blur of the final image. Shades the position image, one pixel at a time.
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
    position_steps(p, step_x, step_y);
    float dist = length(p - camPos.xyz);
    float macro = flat_lookup(noiseMap, p.xz, vec2(2600.0)).r;
    vec3 albedo = albedo_at(p, n, macro, material_weights(p, n, macro));
    gl_FragColor = lit(albedo, n, p, dist, camPos.y);
}
