// Terrain grid pass: turns grid pixel (i, j) into the world position of the ground seen
// through the matching point of the grid camera's view.
//
// Rows are spread by "pot" (rows pack toward the bottom of the view, where the ground is
// near), columns run from right to left so that the quads face up with counter-clockwise
// winding. Each ray meets the plane y = 0; the height there comes from the 16-bit height
// texture. Rays that miss the plane, or meet it beyond kFar, end at kFar in their own
// horizontal direction, so the rows never fold back over the horizon.
#version 120

uniform vec2 rtvasize;        // grid size in vertices
uniform float pot;            // row spreading exponent, >= 1
uniform vec4 camPos;          // grid camera
uniform vec4 camDirX;         // its side axis
uniform vec4 camDirY;         // its up axis
uniform vec4 camDirZ;         // its direction axis (the view looks along -camDirZ)
uniform float ratio;          // window aspect ratio
uniform sampler2D pgmlandMap; // heights
uniform vec2 texLookupScale;  // world x, z -> height texture coordinates
uniform float hScale;
uniform float hOffset;

const float kFar = 60000.0;
// A little wider than the view so the sides of the eye's view are always covered.
const float kWiden = 1.15;

void main()
{
    vec2 g = (gl_FragCoord.xy - 0.5) / (rtvasize - 1.0);
    float sy = 2.0 * pow(clamp(g.y, 0.0, 1.0), pot) - 1.0;
    float sx = (1.0 - 2.0 * g.x) * ratio * kWiden;

    vec3 ray = -camDirZ.xyz + sx * camDirX.xyz + sy * camDirY.xyz;
    vec2 flat_dir = ray.xz;
    float flat_len = length(flat_dir);
    vec2 xz;
    if (ray.y < -1.0e-6) {
        float t = -camPos.y / ray.y;
        float dist = t * flat_len;
        if (dist > kFar)
            xz = camPos.xz + flat_dir / flat_len * kFar;
        else
            xz = camPos.xz + t * flat_dir;
    } else if (flat_len > 0.0) {
        xz = camPos.xz + flat_dir / flat_len * kFar;
    } else {
        xz = camPos.xz;
    }

    float h = texture2D(pgmlandMap, xz * texLookupScale).r;
    gl_FragColor = vec4(xz.x, h * hScale + hOffset, xz.y, 1.0);
}
