// One ring on the water: a square of twice the ring's size around its centre on the
// plane y = 0, seen from the grid camera.
#version 120

uniform float uniform_xz_scale_inv;  // 1 / ring size
uniform vec4 translate;              // ring centre (x, 0, z)

varying vec2 local;                  // -1 .. 1 across the square
varying float ring_size;
varying vec2 world_xz;

void main()
{
    local = gl_Vertex.xz;
    ring_size = 1.0 / uniform_xz_scale_inv;
    vec4 world = vec4(gl_Vertex.x * ring_size + translate.x, 0.0, gl_Vertex.z * ring_size + translate.z, 1.0);
    world_xz = world.xz;
    gl_Position = gl_ModelViewProjectionMatrix * world;
}
