// The vertex stage every terrain program shares: the grid's vertices hold world positions,
// with the ground's normal packed into the fourth component by the grid pass. Included after
// the program's #version.

varying vec3 worldPos;
varying vec3 normal;
varying vec4 shadowCoord;

vec3 unpack_normal(float code)
{
    float ex = floor(code / 1024.0);
    vec2 nxz = vec2(ex, code - ex * 1024.0) / 1023.0 * 2.0 - 1.0;
    return vec3(nxz.x, sqrt(max(1.0 - dot(nxz, nxz), 0.0)), nxz.y);
}

void main()
{
    vec4 p = vec4(gl_Vertex.xyz, 1.0);
    worldPos = p.xyz;
    normal = unpack_normal(gl_Vertex.w);
    shadowCoord = gl_TextureMatrix[2] * p;
    gl_ClipVertex = gl_ModelViewMatrix * p;
    gl_Position = gl_ModelViewProjectionMatrix * p;
}
