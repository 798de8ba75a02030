// Terrain for the refraction image: only what lies under the water surface, lit by the
// sun through the water with caustics from the swell, and fading into the below-water
// colour with the length of the light's path through the water. Alpha carries the water's
// depth there (0 at the shore, 1 from 160 units down) for the surface program.
#version 120

#include "shared_shadow.c"
#include "shared_water_terrain.c"

uniform vec4 cc_below;

const float kAbsorb = 0.02;    // per world unit of water

void main()
{
    vec3 p = worldPos;
    float t = slice_nr / 24.0;
    float swell = texture3D(wave3D, vec3(p.xz * texLookupScaleWave3D, t)).r * waveScale - waveOff;
    if (p.y > swell * 6.0 + 2.0) discard;

    vec3 n = normalize(normal);
    float depth = max(-p.y, 0.0);
    vec3 to_eye = camPos.xyz - p;
    float dist = length(to_eye);
    // The part of the view ray under water, and the light's way down.
    float view_in_water = depth * dist / max(abs(to_eye.y), 1.0);
    float path = min(view_in_water, 2000.0) + depth;

    float rock_w = smoothstep(0.25, 0.4, 1.0 - n.y);
    vec3 albedo = mix(texture2D(sandMap, p.xz / (sandMapWH * 0.3)).rgb,
                      texture2D(cMap, p.xz / (cMapWH * 0.6)).rgb, rock_w);
    albedo *= 0.75 + 0.5 * texture2D(noiseMap, p.xz / 300.0).r;

    // Caustics: light gathers where the swell's slopes turn; bright seams of the pattern.
    vec3 w = texture3D(wave3D, vec3(p.xz * texLookupScaleWave3D * 5.0, t * 2.3)).rgb;
    float focus = 1.0 - clamp(length(w.gb * 2.0 - 1.0) * 6.0, 0.0, 1.0);
    float caustic = pow(focus, 3.0) * exp(-depth * 0.02) * 0.8;

    vec3 L = normalize(lightDir);
    float diffuse = max(dot(n, L), 0.0) * shadow_term();
    vec3 light = vec3(0.28, 0.34, 0.40) + lightColor.rgb * diffuse * (1.0 + caustic);
    vec3 ground = albedo * light * vec3(0.55, 0.68, 0.7);

    vec3 colour = mix(cc_below.rgb, ground, exp(-path * kAbsorb));
    gl_FragColor = vec4(colour, clamp(depth / 160.0, 0.0, 1.0));
}
