// Water positions: the water grid's vertices are world positions.
#version 120

varying vec3 worldPos;

void main()
{
    worldPos = gl_Vertex.xyz;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
