// Terrain grid pass: turns grid pixel (i, j) into the world position of the ground seen
// through the matching point of the grid camera's view.
//
// Rows are spread by "pot" (rows pack toward the bottom of the view, where the ground is
// near), columns run from right to left so that the quads face up with counter-clockwise
// winding. Each ray meets the plane y = 0; the height there comes from the 16-bit height
// texture. Rays that miss the plane, or meet it beyond kFar, end at kFar in their own
// horizontal direction, so the rows never fold back over the horizon.
#version 120
#extension GL_ARB_shader_texture_lod : require

uniform vec2 rtvasize;        // grid size in vertices
uniform float pot;            // row spreading exponent, >= 1
uniform vec4 camPos;          // grid camera
uniform vec4 camDirX;         // its side axis
uniform vec4 camDirY;         // its up axis
uniform vec4 camDirZ;         // its direction axis (the view looks along -camDirZ)
uniform float ratio;          // window aspect ratio
uniform sampler2D pgmlandMap; // heights
uniform vec2 texLookupScale;  // world x, z -> height texture coordinates
uniform float hScale;
uniform float hOffset;
uniform vec2 pgmlandMapWH;    // height texture size

const float kFar = 60000.0;
// A little wider than the view so the sides of the eye's view are always covered.
const float kWiden = 1.15;

// The point of the plane y = 0 seen through grid position g (0..1 on both axes).
vec2 ground_xz(vec2 g)
{
    float sy = 2.0 * pow(clamp(g.y, 0.0, 1.0), pot) - 1.0;
    float sx = (1.0 - 2.0 * g.x) * ratio * kWiden;
    vec3 ray = -camDirZ.xyz + sx * camDirX.xyz + sy * camDirY.xyz;
    vec2 flat_dir = ray.xz;
    float flat_len = length(flat_dir);
    if (flat_len <= 0.0) return camPos.xz;
    float dist = kFar;
    if (ray.y < -1.0e-6) dist = min(-camPos.y / ray.y * flat_len, kFar);
    return camPos.xz + flat_dir / flat_len * dist;
}

void main()
{
    vec2 step = 1.0 / (rtvasize - 1.0);
    vec2 g = (gl_FragCoord.xy - 0.5) * step;
    vec2 xz = ground_xz(g);

    // Spacing to the next grid point along both grid axes, in height texels.
    vec2 across = ground_xz(g + vec2(step.x, 0.0)) - xz;
    vec2 along = ground_xz(g + vec2(0.0, step.y)) - xz;
    float span = max(length(across * texLookupScale * pgmlandMapWH),
                     length(along * texLookupScale * pgmlandMapWH));
    float lod = clamp(log2(max(span, 1.0)), 0.0, 6.0);

    vec2 tc = xz * texLookupScale;
    float h = texture2DLod(pgmlandMap, tc, lod).r;
    vec2 d = exp2(lod) / pgmlandMapWH;
    float l = texture2DLod(pgmlandMap, tc - vec2(d.x, 0.0), lod).r;
    float r = texture2DLod(pgmlandMap, tc + vec2(d.x, 0.0), lod).r;
    float b = texture2DLod(pgmlandMap, tc - vec2(0.0, d.y), lod).r;
    float f = texture2DLod(pgmlandMap, tc + vec2(0.0, d.y), lod).r;
    vec2 world_step = 2.0 * d / texLookupScale;
    vec3 n = normalize(vec3((l - r) * hScale / world_step.x, 1.0, (b - f) * hScale / world_step.y));
    vec2 code = floor((n.xz * 0.5 + 0.5) * 1023.0 + 0.5);

    gl_FragColor = vec4(xz.x, h * hScale + hOffset, xz.y, code.x * 1024.0 + code.y);
}
