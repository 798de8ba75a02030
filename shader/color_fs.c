// Rock-coloured meshes: the rock texture projected from above and from the side by the
// normal, offset by "trans" and stretched by "scale", varied by the noise texture, lit by
// light 0.
#version 120

uniform sampler2D cMap;
uniform sampler2D noiseMap;
uniform float texW;
uniform float texH;
uniform vec4 trans;
uniform vec4 scale;

varying vec3 worldPos;
varying vec3 worldNormal;

void main()
{
    vec3 n = normalize(worldNormal);
    vec3 p = (worldPos + trans.xyz) / scale.xyz;
    vec2 texel = 1.0 / vec2(texW, texH);
    vec3 top = texture2D(cMap, p.xz * texel * 8.0).rgb;
    vec3 side = texture2D(cMap, vec2(p.x + p.z, p.y) * texel * 8.0).rgb;
    vec3 albedo = mix(side, top, abs(n.y));
    albedo *= 0.8 + 0.4 * texture2D(noiseMap, p.xz * texel).r;

    vec3 L = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(n, L), 0.0);
    gl_FragColor = vec4(albedo * (0.35 + 0.75 * diffuse), 1.0);
}
