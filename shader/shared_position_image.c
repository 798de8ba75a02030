// The position image that the terrain's colour programs and the water surface shade: a
// full-image quad reads, at its own pixel, what the position image holds there (see
// pgmland_position_fs.c and water_position_fs.c); the stencil has already kept the quad to
// the pixels that show the program's grid. Included after the program's #version and
// "#extension GL_ARB_texture_rectangle" and "GL_ARB_shader_texture_lod".

uniform sampler2DRect positionMap;

// The world position drawn at this pixel.
vec3 position_here()
{
    return texture2DRect(positionMap, gl_FragCoord.xy).xyz;
}

// The change of the world position from this pixel to the next one across (dx) and up (dy),
// for the texture lookups' filtering. A program drawn over the grid gets these from the
// triangle; here each is taken toward the neighbour that lies on the same surface (the
// smaller step), so that at an outline the lookups are filtered as within the surface and not
// across the jump to what lies behind it (or to whatever the image held there before).
void position_steps(vec3 p, out vec3 dx, out vec3 dy)
{
    vec2 at = gl_FragCoord.xy;
    vec3 r = texture2DRect(positionMap, at + vec2(1.0, 0.0)).xyz - p;
    vec3 l = p - texture2DRect(positionMap, at - vec2(1.0, 0.0)).xyz;
    vec3 u = texture2DRect(positionMap, at + vec2(0.0, 1.0)).xyz - p;
    vec3 d = p - texture2DRect(positionMap, at - vec2(0.0, 1.0)).xyz;
    dx = dot(r, r) < dot(l, l) ? r : l;
    dy = dot(u, u) < dot(d, d) ? u : d;
}

// The ground's world position and unit normal at this pixel.
void ground_here(out vec3 p, out vec3 n)
{
    vec4 g = texture2DRect(positionMap, gl_FragCoord.xy);
    p = g.xyz;
    float cx = floor(g.w / 4096.0);
    vec2 nxz = vec2(cx, g.w - cx * 4096.0) / 4095.0 * 2.0 - 1.0;
    n = vec3(nxz.x, sqrt(max(1.0 - dot(nxz, nxz), 0.0)), nxz.y);
}
