// One ring on the water: a travelling wave packet just inside the ring's edge, stronger
// while the ring is young, with its crest made uneven by the swell it runs through. Heights
// are stored around 0.5; the blend mode (destination alpha, source alpha with alpha 0.5
// everywhere) averages overlapping rings, so fragments without a wave are discarded and
// leave the rings beneath untouched.
#version 120

uniform sampler3D wave3D;
uniform vec2 texLookupScale;
uniform float ripple_freq;        // radians per world unit
uniform float ripple_scale;
uniform float ripple_scale_curr;  // this ring's height
uniform float slice_nr;

varying vec2 local;
varying float ring_size;
varying vec2 world_xz;

void main()
{
    float r = length(local);
    if (r >= 1.0) discard;
    float inside = (1.0 - r) * ring_size;            // world units behind the front
    float band = 36.0 + 0.18 * ring_size;
    float envelope = exp(-inside / band) * smoothstep(0.0, 6.0, inside);
    float uneven = texture3D(wave3D, vec3(world_xz * texLookupScale * 4.0, slice_nr * 0.05)).r - 0.5;
    float wave = sin(inside * ripple_freq * 2.0 - slice_nr * 4.0 + uneven * 2.0);
    float h = wave * envelope * ripple_scale_curr;
    if (abs(h) < 0.004) discard;
    gl_FragColor = vec4(vec3(clamp(0.5 + h, 0.0, 1.0)), 0.5);
}
