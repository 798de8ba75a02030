// Plain objects: vertex colour lit by light 0, darkened where the shadow map says the
// light is blocked.
#version 120

uniform sampler2DShadow shadowMap;
uniform float light_still_in_shadowed_region;

varying vec3 eyeNormal;
varying vec4 shadowCoord;

void main()
{
    vec3 n = normalize(eyeNormal);
    vec3 L = normalize(gl_LightSource[0].position.xyz);
    float lit = 1.0;
    if (shadowCoord.q > 0.0)
        lit = mix(light_still_in_shadowed_region, 1.0, shadow2DProj(shadowMap, shadowCoord).r);
    float diffuse = max(dot(n, L), 0.0) * lit;
    vec3 colour = gl_Color.rgb * (gl_LightModel.ambient.rgb + 0.3 + gl_LightSource[0].diffuse.rgb * diffuse);
    gl_FragColor = vec4(colour, gl_Color.a);
}
