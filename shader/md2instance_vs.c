// Models: the model-view matrix holds view, placement and the model's decompression.
// tmpMat (camera to world) brings the vertex back to world space for the shadow lookup.
#version 120

uniform mat4 tmpMat;

varying vec3 eyePos;
varying vec3 eyeNormal;
varying vec4 shadowCoord;

void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePos = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    shadowCoord = gl_TextureMatrix[2] * (tmpMat * eye);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ProjectionMatrix * eye;
}
