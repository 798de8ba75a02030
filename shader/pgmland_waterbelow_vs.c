// Terrain colour: the grid's vertices are world positions. The ground's normal is taken
// from the height texture here, once per vertex, at a level of detail that matches the
// grid spacing around the vertex (the grid grows coarser with distance).
#version 120

uniform sampler2D pgmlandMap;
uniform vec2 texLookupScale;
uniform float hScale;
uniform float texW;
uniform float texH;
uniform vec4 camPos;

varying vec3 worldPos;
varying vec3 normal;
varying vec4 shadowCoord;

vec3 ground_normal(vec2 xz, float lod)
{
    vec2 tc = xz * texLookupScale;
    vec2 d = exp2(lod) / vec2(texW, texH);
    float l = texture2DLod(pgmlandMap, tc - vec2(d.x, 0.0), lod).r;
    float r = texture2DLod(pgmlandMap, tc + vec2(d.x, 0.0), lod).r;
    float b = texture2DLod(pgmlandMap, tc - vec2(0.0, d.y), lod).r;
    float f = texture2DLod(pgmlandMap, tc + vec2(0.0, d.y), lod).r;
    vec2 world_step = 2.0 * d / texLookupScale;
    return normalize(vec3((l - r) * hScale / world_step.x, 1.0, (b - f) * hScale / world_step.y));
}

void main()
{
    worldPos = gl_Vertex.xyz;
    float dist = length(worldPos - camPos.xyz);
    normal = ground_normal(worldPos.xz, max(0.0, log2(dist / 700.0)));
    shadowCoord = gl_TextureMatrix[2] * gl_Vertex;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
