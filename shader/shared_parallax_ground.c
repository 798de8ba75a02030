// The body of the relief colour programs (pgmland_parallax_color_fs.c for ground where any
// material can show, pgmland_parallax_grass_fs.c for ground that is grass alone, and the two
// pgmland_far_* programs for the same beyond the relief's reach, built with NO_RELIEF): near
// the eye the lookups are shifted along the view by the height of the noise texture
// (parallax mapping with the scale and bias pair "parallax_scale_params"), and the lighting
// normal is bent by the noise normal map. The relief fades out with distance, where it
// would shimmer. Included after shared_haze.c, shared_shadow.c, shared_terrain_colour.c and
// shared_position_image.c.
uniform sampler2D noiseNormalMap;
uniform vec2 parallax_scale_params = vec2(0.05, 0.025);
uniform mat4 tmpMat;              // camera to world

const float kReliefTile = 48.0;    // world units per repeat of the relief
const float kReliefFar = 2500.0;

void main()
{
    vec3 ground, n;
    ground_here(ground, n);
    position_steps(ground, step_x, step_y);
    vec3 p = ground;
    vec3 eye = tmpMat[3].xyz;
    vec3 to_eye = eye - p;
    float dist = length(to_eye);
#ifdef NO_RELIEF
    // Drawn only where the ground lies beyond kReliefFar (the caller's depth test sees to
    // it), where the relief below is nothing; as a constant it takes its lookups with it.
    float relief = 0.0;
#else
    float relief = 1.0 - smoothstep(kReliefFar * 0.5, kReliefFar, dist);
#endif

    // Parallax: shift the lookups toward the eye by the relief height under them.
    vec2 relief_uv = p.xz / kReliefTile;
    if (relief > 0.0) {
        vec3 V = to_eye / max(dist, 0.001);
        float h = flat_lookup(noiseMap, p.xz, vec2(kReliefTile)).r;
        vec2 offset = (h * parallax_scale_params.x - parallax_scale_params.y) * V.xz / max(V.y, 0.3);
        relief_uv += offset * relief;
        p.xz += offset * kReliefTile * relief;
    }

    float macro = flat_lookup(noiseMap, p.xz, vec2(2600.0)).r;
    vec3 w = material_weights(p, n, macro);
    vec3 albedo = albedo_at(p, n, macro, w);

    // Relief in the lighting: rock is rough, grass less, sand hardly. The normal map's
    // green runs up the image, that is toward -z.
    if (relief > 0.0) {
        vec3 bump = flat_lookup(noiseNormalMap, relief_uv * kReliefTile, vec2(kReliefTile)).rgb * 2.0 - 1.0;
        float strength = dot(w, vec3(0.12, 0.3, 0.55)) * relief;
        n = normalize(n + vec3(bump.x, 0.0, -bump.y) * strength);
    }
    gl_FragColor = lit(albedo, n, ground, dist, eye.y);
}
