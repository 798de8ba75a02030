// Final image: one window-sized quad; unit 0 carries the image's texel coordinates.
#version 120

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
