// Terrain colour: sand along and under the water line, grass on level ground, rock on
// steep slopes and high up, broken up by the noise texture; lit per pixel by the sun with
// the models' shadows; hazed with distance. Alpha carries the distance for the blur of
// the final image.
#version 120

uniform sampler2D sandMap;
uniform sampler2D noiseMap;
uniform sampler2D cMap;      // rock
uniform sampler2D hMap;      // grass
uniform sampler2DShadow shadowMap;
uniform vec2 sandMapWH;
uniform vec2 cMapWH;
uniform vec2 hMapWH;
uniform vec3 lightDir;
uniform vec4 lightColor;
uniform vec4 camPos;
uniform vec4 dof_params;
uniform vec4 trans;
uniform vec4 scale;
uniform float light_still_in_shadowed_region;

varying vec3 worldPos;
varying vec3 normal;
varying vec4 shadowCoord;

const float kHaze = 0.000035;

float shadow_term()
{
    if (shadowCoord.q <= 0.0) return 1.0;
    return mix(light_still_in_shadowed_region, 1.0, shadow2DProj(shadowMap, shadowCoord).r);
}

vec3 rock_colour(vec3 p, vec3 n)
{
    vec2 tile = cMapWH * 0.6;
    vec3 top = texture2D(cMap, (p.xz + trans.xz) / tile).rgb;
    vec2 side_uv = vec2(abs(n.x) > abs(n.z) ? p.z : p.x, p.y * scale.y / 3.5) / tile;
    vec3 side = texture2D(cMap, side_uv).rgb;
    return mix(top, side, smoothstep(0.25, 0.6, 1.0 - n.y));
}

void main()
{
    vec3 n = normalize(normal);
    vec3 p = worldPos;
    float dist = length(p - camPos.xyz);

    float macro = texture2D(noiseMap, p.xz / 2600.0).r;
    float detail = texture2D(noiseMap, p.xz / 140.0).r;

    // Where each material belongs.
    float slope = 1.0 - n.y;
    float sand_line = 16.0 + 26.0 * (macro - 0.5) + 10.0 * (detail - 0.5);
    float sand_w = 1.0 - smoothstep(sand_line - 5.0, sand_line + 5.0, p.y);
    float rock_w = smoothstep(0.20, 0.34, slope + 0.12 * (detail - 0.5));
    rock_w = max(rock_w, smoothstep(640.0, 820.0, p.y + 120.0 * (macro - 0.5)));
    sand_w *= 1.0 - rock_w;
    float grass_w = 1.0 - sand_w - rock_w;

    vec3 albedo = vec3(0.0);
    if (grass_w > 0.001) {
        vec3 g = texture2D(hMap, (p.xz + trans.xz) / (hMapWH * 0.35)).rgb;
        g *= mix(vec3(0.82, 0.9, 0.7), vec3(1.12, 1.05, 0.86), macro);
        albedo += grass_w * g;
    }
    if (sand_w > 0.001) {
        vec3 s = texture2D(sandMap, (p.xz + trans.xz) / (sandMapWH * 0.3)).rgb;
        // wet sand under and just above the water line
        s *= mix(0.62, 1.0, smoothstep(-4.0, 10.0, p.y));
        albedo += sand_w * s;
    }
    if (rock_w > 0.001) albedo += rock_w * rock_colour(p, n);
    albedo *= 0.85 + 0.3 * detail;

    vec3 L = normalize(lightDir);
    float diffuse = max(dot(n, L), 0.0) * shadow_term();
    vec3 ambient = vec3(0.30, 0.34, 0.42) * (0.55 + 0.45 * n.y);
    vec3 colour = albedo * (ambient + lightColor.rgb * diffuse);

    colour = mix(colour, gl_Fog.color.rgb, 1.0 - exp(-dist * kHaze));
    gl_FragColor = vec4(colour, clamp(dist / dof_params.z, 0.0, 1.0));
}
