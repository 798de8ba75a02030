// Water surface: one quad over the whole scene image; the position image says where the
// water is.
#version 120

void main()
{
    gl_Position = ftransform();
}
