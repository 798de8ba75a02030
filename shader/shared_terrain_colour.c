// What the two terrain colour programs share: the ground's materials (sand along and under
// the water line, grass on level ground, rock on steep slopes and high up, varied by the
// noise texture at a large scale) and the sun's light with the models' shadows.
// Included by pgmland_color_fs.c and pgmland_parallax_color_fs.c after their #version, their
// extensions, shared_haze.c and shared_shadow.c. Both shade the position image, not the
// grid, so the point and its normal are the callers' arguments.

uniform sampler2D sandMap;
uniform sampler2D noiseMap;
uniform sampler2D cMap;           // rock
uniform sampler2D hMap;           // grass
uniform vec2 sandMapWH;
uniform vec2 cMapWH;
uniform vec2 hMapWH;
uniform vec3 lightDir;
uniform vec4 lightColor;
uniform vec4 camPos;
uniform vec4 dof_params;
uniform vec4 trans;
uniform vec4 scale;

// The shaded point's steps to its neighbours in the image (position_steps); main sets them.
vec3 step_x = vec3(0.0);
vec3 step_y = vec3(0.0);

// A lookup at world coordinates q (two of x, y, z, placed by the caller), whose steps to the
// neighbours are qx and qy, in a texture laid over `tile` world units.
vec4 lookup(sampler2D s, vec2 q, vec2 qx, vec2 qy, vec2 tile)
{
    return texture2DGradARB(s, q / tile, qx / tile, qy / tile);
}

// The same for a texture laid flat over the ground (its coordinates along x and z).
vec4 flat_lookup(sampler2D s, vec2 xz, vec2 tile)
{
    return lookup(s, xz, step_x.xz, step_y.xz, tile);
}

// Rock, projected from above on gentle ground and from the side on steep ground; only
// the slopes in between pay for both lookups.
vec3 rock_colour(vec3 p, vec3 n)
{
    vec2 tile = cMapWH * 0.6;
    float side_w = smoothstep(0.25, 0.6, 1.0 - n.y);
    vec3 c = vec3(0.0);
    if (side_w < 0.999) c += (1.0 - side_w) * flat_lookup(cMap, p.xz + trans.xz, tile).rgb;
    if (side_w > 0.001) {
        float k = scale.y / 3.5;
        bool along_z = abs(n.x) > abs(n.z);
        vec2 side = vec2(along_z ? p.z : p.x, p.y * k);
        vec2 side_x = vec2(along_z ? step_x.z : step_x.x, step_x.y * k);
        vec2 side_y = vec2(along_z ? step_y.z : step_y.x, step_y.y * k);
        c += side_w * lookup(cMap, side, side_x, side_y, tile).rgb;
    }
    return c;
}

// Grass of the moor: the grass texture calmed down and tinted by the large-scale noise
// from lush green through dry olive to patches of heather brown, darker and sparser where
// the ground steepens.
vec3 moor_colour(vec3 p, float macro, float slope)
{
    vec3 g = flat_lookup(hMap, p.xz + trans.xz, hMapWH * 0.35).rgb;
    g = mix(vec3(dot(g, vec3(0.3, 0.59, 0.11))), g, 0.5);
    vec3 tint = mix(vec3(0.62, 0.82, 0.42), vec3(1.0, 0.92, 0.58), smoothstep(0.3, 0.55, macro));
    tint = mix(tint, vec3(0.84, 0.64, 0.54), smoothstep(0.56, 0.86, macro) * 0.6);
    return g * tint * (1.0 - 0.6 * smoothstep(0.08, 0.3, slope));
}

vec3 sand_colour(vec3 p)
{
    vec3 s = flat_lookup(sandMap, p.xz + trans.xz, sandMapWH * 0.3).rgb;
    // wet sand under and just above the water line
    return s * mix(0.62, 1.0, smoothstep(-4.0, 10.0, p.y));
}

// Where each material belongs: sand along and under the water line, rock on steep and on
// high ground, grass everywhere else. Returns (sand, grass, rock) weights.
vec3 material_weights(vec3 p, vec3 n, float macro)
{
    float slope = 1.0 - n.y;
    float sand_line = 16.0 + 30.0 * (macro - 0.5);
    float sand_w = 1.0 - smoothstep(sand_line - 5.0, sand_line + 5.0, p.y);
    float rock_w = smoothstep(0.20, 0.34, slope + 0.1 * (macro - 0.5));
    rock_w = max(rock_w, smoothstep(640.0, 820.0, p.y + 120.0 * (macro - 0.5)));
    sand_w *= 1.0 - rock_w;
    return vec3(sand_w, 1.0 - sand_w - rock_w, rock_w);
}

// Whether sand or rock can have any weight at p, whatever the large-scale noise (0 to 1)
// is there: material_weights's three lines at the noise's extremes, with a unit to spare.
bool more_than_grass(vec3 p, vec3 n)
{
    float slope = 1.0 - n.y;
    return p.y < 16.0 + 15.0 + 5.0 + 1.0 || slope + 0.05 > 0.20 - 0.01 || p.y + 60.0 > 640.0 - 1.0;
}

// With GRASS_ONLY the program draws only where more_than_grass is false, so only the grass
// term is made (its weight is then exactly 1).
vec3 albedo_at(vec3 p, vec3 n, float macro, vec3 w)
{
    vec3 albedo = vec3(0.0);
    if (w.y > 0.001) albedo += w.y * moor_colour(p, macro, 1.0 - n.y);
#ifndef GRASS_ONLY
    if (w.x > 0.001) albedo += w.x * sand_colour(p);
    if (w.z > 0.001) albedo += w.z * rock_colour(p, n);
#endif
    return albedo;
}

// The ground at world point `point` (whose shadow-map place the light's texture matrix on
// the shadow unit gives), lit and hazed.
vec4 lit(vec3 albedo, vec3 n, vec3 point, float dist, float eye_y)
{
    vec3 L = normalize(lightDir);
    float diffuse = max(dot(n, L), 0.0) * shadow_term_at(gl_TextureMatrix[2] * vec4(point, 1.0));
    vec3 ambient = vec3(0.30, 0.34, 0.42) * (0.55 + 0.45 * n.y);
    vec3 colour = albedo * (ambient + lightColor.rgb * diffuse);
    colour = mix(colour, gl_Fog.color.rgb, haze(dist, eye_y, point.y));
    return vec4(colour, clamp(dist / dof_params.z, 0.0, 1.0));
}
