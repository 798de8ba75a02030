// Final image: one window-sized quad; unit 0 carries the image's texel coordinates,
// unit 6 the 0..1 coordinates of the screen.
#version 120

void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_TexCoord[1] = gl_MultiTexCoord6;
    gl_Position = ftransform();
}
