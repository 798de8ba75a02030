// Plain objects placed in world space (the model-view matrix is the view only): vertex
// colour, lit by light 0, with the shadow map.
#version 120

varying vec3 eyeNormal;
varying vec4 shadowCoord;

void main()
{
    eyeNormal = gl_NormalMatrix * gl_Normal;
    shadowCoord = gl_TextureMatrix[2] * gl_Vertex;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
