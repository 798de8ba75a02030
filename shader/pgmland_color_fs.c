// Terrain colour: sand along and under the water line, grass on level ground, rock on
// steep slopes and high up, varied by the noise texture at a large scale; lit per pixel
// by the sun with the models' shadows; hazed with distance. Alpha carries the distance
// for the blur of the final image.
#version 120

#include "shared_haze.c"
#include "shared_shadow.c"
#include "shared_terrain_colour.c"

void main()
{
    vec3 n = normalize(normal);
    vec3 p = worldPos;
    float dist = length(p - camPos.xyz);
    float macro = texture2D(noiseMap, p.xz / 2600.0).r;
    vec3 albedo = albedo_at(p, n, macro, material_weights(p, n, macro));
    gl_FragColor = lit(albedo, n, dist, camPos.y, worldPos.y);
}
