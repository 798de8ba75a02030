// Sky box: a cube around the eye; each corner's position is its direction.
#version 120

varying vec3 direction;

void main()
{
    direction = gl_Vertex.xyz;
    gl_Position = ftransform();
    // On the far plane (depth 1 after the divide): the sky is drawn after what stands in
    // front of it, with the depth test "less or equal", and so shades only the pixels that
    // nothing else covered.
    gl_Position.z = gl_Position.w;
}
