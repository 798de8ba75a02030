// Terrain colour with surface relief: as the plain terrain colour, but every material
// lookup is shifted along the view by the height of the noise texture (parallax mapping
// with the scale and bias pair "parallax_scale_params"), and the lighting normal is bent
// by the noise normal map. The relief fades out with distance, where it would shimmer.
#version 120

uniform sampler2D sandMap;
uniform sampler2D noiseMap;
uniform sampler2D cMap;           // rock
uniform sampler2D hMap;           // grass
uniform sampler2D noiseNormalMap;
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
uniform vec2 parallax_scale_params = vec2(0.05, 0.025);
uniform mat4 tmpMat;              // camera to world

varying vec3 worldPos;
varying vec3 normal;
varying vec4 shadowCoord;

const float kHaze = 0.000035;
const float kReliefTile = 48.0;    // world units per repeat of the relief
const float kReliefFar = 2500.0;

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
    vec3 eye = (tmpMat * vec4(0.0, 0.0, 0.0, 1.0)).xyz;
    vec3 to_eye = eye - p;
    float dist = length(to_eye);
    vec3 V = to_eye / max(dist, 0.001);
    float relief = 1.0 - smoothstep(kReliefFar * 0.5, kReliefFar, dist);

    // Parallax: shift the lookups toward the eye by the relief height under them.
    if (relief > 0.0) {
        vec2 uv = p.xz / kReliefTile;
        float h = texture2D(noiseMap, uv).r;
        vec2 offset = (h * parallax_scale_params.x - parallax_scale_params.y) * V.xz / max(V.y, 0.3);
        p.xz += offset * kReliefTile * relief;
    }

    float macro = texture2D(noiseMap, p.xz / 2600.0).r;
    float detail = texture2D(noiseMap, p.xz / 140.0).r;

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
        s *= mix(0.62, 1.0, smoothstep(-4.0, 10.0, p.y));
        albedo += sand_w * s;
    }
    if (rock_w > 0.001) albedo += rock_w * rock_colour(p, n);
    albedo *= 0.85 + 0.3 * detail;

    // Relief in the lighting: rock is rough, grass less, sand hardly.
    if (relief > 0.0) {
        vec3 bump = texture2D(noiseNormalMap, p.xz / kReliefTile).rgb * 2.0 - 1.0;
        float strength = (0.55 * rock_w + 0.3 * grass_w + 0.12 * sand_w) * relief;
        n = normalize(n + vec3(bump.x, 0.0, bump.y) * strength);
    }

    vec3 L = normalize(lightDir);
    float diffuse = max(dot(n, L), 0.0) * shadow_term();
    vec3 ambient = vec3(0.30, 0.34, 0.42) * (0.55 + 0.45 * n.y);
    vec3 colour = albedo * (ambient + lightColor.rgb * diffuse);

    colour = mix(colour, gl_Fog.color.rgb, 1.0 - exp(-dist * kHaze));
    gl_FragColor = vec4(colour, clamp(dist / dof_params.z, 0.0, 1.0));
}
