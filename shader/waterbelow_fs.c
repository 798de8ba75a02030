// Rock-coloured meshes for the refraction image: only below the swell's surface, fading
// into the below-water colour with depth. Alpha carries the depth.
#version 120

uniform sampler2D cMap;
uniform sampler2D noiseMap;
uniform sampler3D wave3D;
uniform float ctexW;
uniform float ctexH;
uniform vec2 texLookupScale;
uniform float waveScale;
uniform float waveOff;
uniform float slice_nr;
uniform vec4 trans;
uniform vec4 scale;
uniform vec4 cc_below;

varying vec3 worldPos;
varying vec3 worldNormal;

void main()
{
    float swell = texture3D(wave3D, vec3(worldPos.xz * texLookupScale, slice_nr / 24.0)).r * waveScale - waveOff;
    if (worldPos.y > swell * 6.0) discard;

    vec3 n = normalize(worldNormal);
    vec3 p = (worldPos + trans.xyz) / scale.xyz;
    vec2 texel = 1.0 / vec2(ctexW, ctexH);
    vec3 albedo = mix(texture2D(cMap, vec2(p.x + p.z, p.y) * texel * 8.0).rgb,
                      texture2D(cMap, p.xz * texel * 8.0).rgb, abs(n.y));
    albedo *= 0.8 + 0.4 * texture2D(noiseMap, p.xz * texel).r;

    vec3 L = normalize(gl_LightSource[0].position.xyz);
    vec3 colour = albedo * (0.3 + 0.6 * max(dot(n, L), 0.0));
    float depth = max(-worldPos.y, 0.0);
    gl_FragColor = vec4(mix(cc_below.rgb, colour, exp(-depth * 0.015)), clamp(depth / 160.0, 0.0, 1.0));
}
