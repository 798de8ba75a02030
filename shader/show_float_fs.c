// Float image view: shows a grid target's world positions as colours. Red and blue
// stripe every 512 units along x and z, green rises with the height, so both the spread
// of the grid and the relief can be read at a glance.
#version 120
#extension GL_ARB_texture_rectangle : require

uniform sampler2DRect floatMap;

void main()
{
    vec4 p = texture2DRect(floatMap, gl_TexCoord[0].st);
    vec2 stripes = fract(p.xz / 512.0);
    float height = clamp(p.y / 1000.0 + 0.35, 0.0, 1.0);
    gl_FragColor = vec4(0.2 + 0.6 * stripes.x, height, 0.2 + 0.6 * stripes.y, 1.0);
}
