// What the rock-coloured meshes of the reflection and the refraction image share: the
// rock texture laid over them from two sides, varied by noise, and the swell that cuts them
// at the water line. Included by waterabove_fs.c and waterbelow_fs.c after their #version.

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

varying vec3 worldPos;
varying vec3 worldNormal;

// The swell's height under this point: the mesh is cut there.
float swell_height()
{
    return texture3D(wave3D, vec3(worldPos.xz * texLookupScale, slice_nr / 24.0)).r * waveScale - waveOff;
}

// The rock's colour here: seen from the side along x + z and height, from above along x and
// z, blended by how level the surface is.
vec3 rock_albedo(vec3 n)
{
    vec3 p = (worldPos + trans.xyz) / scale.xyz;
    vec2 texel = 1.0 / vec2(ctexW, ctexH);
    vec3 albedo = mix(texture2D(cMap, vec2(p.x + p.z, p.y) * texel * 8.0).rgb,
                      texture2D(cMap, p.xz * texel * 8.0).rgb, abs(n.y));
    return albedo * (0.8 + 0.4 * texture2D(noiseMap, p.xz * texel).r);
}
