// Water grid pass: the grid pixel's point on the water plane, interpolated between the
// four corner points of the grid camera's view (homogeneous, so the rows keep the view's
// perspective spacing), lifted by the animated swell and by the rings of moving objects.
//
// The ring image was drawn from the same camera with the same 90 degree projection as
// these corners, so grid pixel (u, v) and ring texel (u, v) show the same spot.
#version 120

uniform vec4 isect_mm;
uniform vec4 isect_pm;
uniform vec4 isect_pp;
uniform vec4 isect_mp;
uniform vec2 texWH;               // grid size in vertices
uniform sampler3D wave3D;         // swell: R height, G/B slopes
uniform vec2 texLookupScale;      // world x, z -> swell texture coordinates
uniform float waveScale;
uniform float waveOff;
uniform float slice_nr;           // time in seconds
uniform sampler2D dynamicRingsMap;
uniform float ripple_scale;

const float kSwellPeriod = 24.0;  // seconds for one pass through the 16 slices
const float kSwellHeight = 6.0;   // world units per unit of waveScale
const float kRingHeight = 40.0;

// Two octaves of the swell; far away the texture's coarser levels take over (the grid
// spacing sets the level), so distant water settles instead of aliasing.
float swell(vec2 xz)
{
    float t = slice_nr / kSwellPeriod;
    float a = texture3D(wave3D, vec3(xz * texLookupScale, t)).r;
    float b = texture3D(wave3D, vec3(xz * texLookupScale * 3.7 + vec2(0.31, 0.77), t * 1.9 + 0.5)).r;
    return (a + 0.35 * b) / 1.35 * waveScale - waveOff;
}

void main()
{
    vec2 g = (gl_FragCoord.xy - 0.5) / (texWH - 1.0);
    vec4 p = mix(mix(isect_mm, isect_pm, g.x), mix(isect_mp, isect_pp, g.x), g.y);
    vec3 pos = p.xyz / p.w;

    float height = swell(pos.xz) * kSwellHeight;

    float ring = texture2D(dynamicRingsMap, g).r - 0.5;
    height += ring * ripple_scale * kRingHeight;

    gl_FragColor = vec4(pos.x, height, pos.z, 1.0);
}
