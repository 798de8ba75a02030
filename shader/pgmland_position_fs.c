// Ground positions: the world position and the normal of the ground at every pixel it
// covers, into the position image; the terrain's colour program then shades each pixel once
// from it (why: src/Gfx/PositionImage.h).
//
// The normal's x and z go into the fourth component as two 12-bit numbers (y is the positive
// root: the ground never faces down); a float holds both exactly.
#version 120

varying vec3 worldPos;
varying vec3 normal;

void main()
{
    vec2 code = floor((normalize(normal).xz * 0.5 + 0.5) * 4095.0 + 0.5);
    gl_FragColor = vec4(worldPos, code.x * 4096.0 + code.y);
}
