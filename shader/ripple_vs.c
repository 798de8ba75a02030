// Water grid pass: one full-target quad; every pixel becomes one water vertex.
#version 120

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
