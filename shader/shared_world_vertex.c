// The vertex stage of the programs that draw meshes given in world space: world position
// and normal for the fragment program. Included after the program's #version.

varying vec3 worldPos;
varying vec3 worldNormal;

void main()
{
    worldPos = gl_Vertex.xyz;
    worldNormal = gl_Normal;
    gl_Position = ftransform();
}
