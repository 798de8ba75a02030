// The models' shadows on what a program draws: the shadow map seen from the light, and how
// much light still reaches a point in full shadow. Included after #version.

uniform sampler2DShadow shadowMap;
uniform float light_still_in_shadowed_region;

varying vec4 shadowCoord;

// 1 in the light, light_still_in_shadowed_region in full shadow; points behind the light's
// camera (q <= 0) are in the light.
float shadow_term_at(vec4 coord)
{
    if (coord.q <= 0.0) return 1.0;
    return mix(light_still_in_shadowed_region, 1.0, shadow2DProj(shadowMap, coord).r);
}

// The same at the point this fragment's vertices placed in the shadow map.
float shadow_term() { return shadow_term_at(shadowCoord); }
