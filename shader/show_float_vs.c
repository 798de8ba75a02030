// Float image view: one quad; unit 0 carries texel coordinates.
#version 120

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
