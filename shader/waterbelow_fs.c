// Rock-coloured meshes for the refraction image: only below the swell's surface, fading
// into the below-water colour with depth. Alpha carries the depth.
#version 120

#include "shared_rock_mesh.c"

uniform vec4 cc_below;

void main()
{
    float swell = swell_height();
    if (worldPos.y > swell * 6.0) discard;

    vec3 n = normalize(worldNormal);
    vec3 albedo = rock_albedo(n);

    vec3 L = normalize(gl_LightSource[0].position.xyz);
    vec3 colour = albedo * (0.3 + 0.6 * max(dot(n, L), 0.0));
    float depth = max(-worldPos.y, 0.0);
    gl_FragColor = vec4(mix(cc_below.rgb, colour, exp(-depth * 0.015)), clamp(depth / 160.0, 0.0, 1.0));
}
