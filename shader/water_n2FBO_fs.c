// Ring normals: the slopes of the ring image by central differences, stored around 0.5
// in red (along the image's x) and green (along its y); blue keeps the height.
#version 120

uniform sampler2D dynamicRingsMap;
uniform vec2 dynamicRingsMapWH;
uniform float ripple_scale;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec2 d = 1.0 / dynamicRingsMapWH;
    float l = texture2D(dynamicRingsMap, uv - vec2(d.x, 0.0)).r;
    float r = texture2D(dynamicRingsMap, uv + vec2(d.x, 0.0)).r;
    float b = texture2D(dynamicRingsMap, uv - vec2(0.0, d.y)).r;
    float f = texture2D(dynamicRingsMap, uv + vec2(0.0, d.y)).r;
    float c = texture2D(dynamicRingsMap, uv).r;
    vec2 slope = vec2(r - l, f - b) * 4.0 / max(ripple_scale, 0.05);
    gl_FragColor = vec4(clamp(0.5 + 0.5 * slope, 0.0, 1.0), c, 1.0);
}
