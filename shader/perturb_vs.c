// Water surface: the water grid's vertices are world positions.
#version 120

varying vec3 worldPos;
varying vec4 clipPos;
varying vec4 ringCoord;

void main()
{
    worldPos = gl_Vertex.xyz;
    clipPos = gl_ModelViewProjectionMatrix * gl_Vertex;
    // Unit 7's texture matrix projects the world onto the ring image as it was drawn.
    ringCoord = gl_TextureMatrix[7] * gl_Vertex;
    gl_Position = clipPos;
}
