// Plain objects: vertex colour lit by light 0, darkened where the shadow map says the
// light is blocked.
#version 120

#include "shared_shadow.c"

varying vec3 eyeNormal;

void main()
{
    vec3 n = normalize(eyeNormal);
    vec3 L = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(n, L), 0.0) * shadow_term();
    vec3 colour = gl_Color.rgb * (gl_LightModel.ambient.rgb + 0.3 + gl_LightSource[0].diffuse.rgb * diffuse);
    gl_FragColor = vec4(colour, gl_Color.a);
}
