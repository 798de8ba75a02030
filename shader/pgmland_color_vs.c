// Terrain colour: one quad over the whole scene image; the position image says where the
// ground is.
#version 120

void main()
{
    gl_Position = ftransform();
}
