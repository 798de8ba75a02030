// Rock-coloured meshes in world space (such as the terrain tiles): world position and
// normal for the fragment program.
#version 120

varying vec3 worldPos;
varying vec3 worldNormal;

void main()
{
    worldPos = gl_Vertex.xyz;
    worldNormal = gl_Normal;
    gl_Position = ftransform();
}
