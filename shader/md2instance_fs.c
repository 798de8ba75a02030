// Models: the decal texture with a little grain from the noise texture, lit by light 0
// (when the instance is lit, "flame" 1) with the shadow map, hazed like the terrain.
// Alpha: the distance for the blur in the main image; 0 ("not sky") in the reflection.
#version 120

#include "shared_haze.c"
#include "shared_shadow.c"

uniform sampler2D decalMap;
uniform sampler2D noiseMap;
uniform vec4 dof_params;
uniform float need_dof_alpha;
uniform float flame = 1.0;
uniform mat4 tmpMat;        // camera to world

varying vec3 eyePos;
varying vec3 eyeNormal;

void main()
{
    vec4 decal = texture2D(decalMap, gl_TexCoord[0].st);
    float grain = texture2D(noiseMap, gl_TexCoord[0].st * 7.0).r;
    vec3 albedo = decal.rgb * (0.9 + 0.2 * grain);

    float dist = length(eyePos);
    vec3 colour = albedo;
    if (flame > 0.5) {
        vec3 n = normalize(eyeNormal);
        vec3 L = normalize(gl_LightSource[0].position.xyz);
        float diffuse = max(dot(n, L), 0.0) * shadow_term();
        colour = albedo * (vec3(0.34, 0.36, 0.42) + vec3(1.0, 0.9, 0.75) * diffuse);
    }
    float eye_y = tmpMat[3].y;
    float point_y = (tmpMat * vec4(eyePos, 1.0)).y;
    colour = mix(colour, gl_Fog.color.rgb, haze(dist, eye_y, point_y));

    float alpha = need_dof_alpha > 0.5 ? clamp(dist / dof_params.z, 0.0, 1.0) : 0.0;
    gl_FragColor = vec4(colour, alpha);
}
