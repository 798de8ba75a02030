// The ground's classing: one quad over the whole scene image.
#version 120

void main()
{
    gl_Position = ftransform();
}
