// Sky box: a cube around the eye; each corner's position is its direction.
#version 120

varying vec3 direction;

void main()
{
    direction = gl_Vertex.xyz;
    gl_Position = ftransform();
}
