// Sky: the cube map, a glow around the sun (light 0's direction) and a haze that melts
// the horizon into the clear colour. In the main image alpha carries the farthest
// distance for the blur; in the reflection image it marks sky (1) for the sun glint.
#version 120

uniform samplerCube cubeMap;
uniform vec4 dof_params;
uniform float need_dof_alpha;

varying vec3 direction;

void main()
{
    vec3 d = normalize(direction);
    vec3 sky = textureCube(cubeMap, d).rgb;

    vec3 sun = normalize(gl_LightSource[0].position.xyz);
    float towards_sun = max(dot(d, sun), 0.0);
    sky += vec3(1.0, 0.92, 0.75) * (pow(towards_sun, 600.0) * 1.6 + pow(towards_sun, 12.0) * 0.18);

    float horizon = 1.0 - smoothstep(-0.02, 0.22, d.y);
    sky = mix(sky, gl_Fog.color.rgb, horizon * 0.55);

    // Main image: the distance at which the final image blurs the sky by 60 percent (the
    // clouds stay a little crisper than the far hills). Reflection: 1 marks sky.
    float alpha = 1.0;
    if (need_dof_alpha > 0.5) alpha = clamp((dof_params.y + 0.6 * dof_params.x) / dof_params.z, 0.0, 1.0);
    gl_FragColor = vec4(sky, alpha);
}
