// Water positions: the world position of the water surface at every pixel it covers, into
// the position image that the water surface program then shades (see pgmland_position_fs.c).
#version 120

varying vec3 worldPos;

void main()
{
    gl_FragColor = vec4(worldPos, 0.0);
}
