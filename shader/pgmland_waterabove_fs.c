// Terrain for the reflection image (drawn from the eye mirrored in the water plane):
// only what lies above the water surface, cut where the swell stands, hazed toward the
// above-water sky colour. Alpha 0 marks "not sky" for the water's sun glint.
#version 120

#include "shared_shadow.c"
#include "shared_water_terrain.c"

uniform vec4 cc_above;

const float kHaze = 0.00005;

void main()
{
    vec3 p = worldPos;
    float swell = texture3D(wave3D, vec3(p.xz * texLookupScaleWave3D, slice_nr / 24.0)).r * waveScale - waveOff;
    if (p.y < swell * 6.0) discard;

    vec3 n = normalize(normal);
    float dist = length(p - camPos.xyz);
    float macro = texture2D(noiseMap, p.xz / 2600.0).r;

    float slope = 1.0 - n.y;
    float sand_line = 16.0 + 26.0 * (macro - 0.5);
    float sand_w = 1.0 - smoothstep(sand_line - 5.0, sand_line + 5.0, p.y);
    float rock_w = max(smoothstep(0.20, 0.34, slope), smoothstep(640.0, 820.0, p.y + 120.0 * (macro - 0.5)));
    sand_w *= 1.0 - rock_w;
    float grass_w = 1.0 - sand_w - rock_w;

    // The reflection is seen through ripples: the coarser texture levels are enough.
    vec3 albedo = grass_w * texture2D(hMap, p.xz / (hMapWH * 0.35)).rgb
                      * mix(vec3(0.82, 0.9, 0.7), vec3(1.12, 1.05, 0.86), macro)
                + sand_w * texture2D(sandMap, p.xz / (sandMapWH * 0.3)).rgb
                + rock_w * texture2D(cMap, p.xz / (cMapWH * 0.6)).rgb;

    vec3 L = normalize(lightDir);
    float diffuse = max(dot(n, L), 0.0) * shadow_term();
    vec3 ambient = vec3(0.30, 0.34, 0.42) * (0.55 + 0.45 * n.y);
    vec3 colour = albedo * (ambient + lightColor.rgb * diffuse);

    colour = mix(colour, cc_above.rgb, 1.0 - exp(-dist * kHaze));
    gl_FragColor = vec4(colour, 0.0);
}
