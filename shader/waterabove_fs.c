// Rock-coloured meshes for the reflection image: only above the swell's surface, hazed
// toward the above-water colour.
#version 120

#include "shared_rock_mesh.c"

uniform vec4 cc_above;

void main()
{
    float swell = swell_height();
    if (worldPos.y < swell * 6.0) discard;

    vec3 n = normalize(worldNormal);
    vec3 albedo = rock_albedo(n);

    vec3 L = normalize(gl_LightSource[0].position.xyz);
    vec3 colour = albedo * (0.35 + 0.75 * max(dot(n, L), 0.0));
    gl_FragColor = vec4(mix(colour, cc_above.rgb, 0.2), 0.0);
}
