// Water surface: reflection and refraction images mixed by the view angle (Schlick's
// Fresnel term), both looked up where the surface normal bends the view. The normal comes
// from up to three octaves of the animated swell (the finer ones only near the eye) and
// from the rings of moving objects. The sun leaves a highlight where the reflection shows
// sky; shallow water near the shore shows more of the ground and a little foam. Shades the
// position image, one pixel at a time.
#version 120
#extension GL_ARB_texture_rectangle : require
#extension GL_ARB_shader_texture_lod : require

#include "shared_haze.c"
#include "shared_position_image.c"

uniform sampler2D noiseMap;
uniform sampler3D wave3D;
uniform sampler2D reflectMap;
uniform sampler2D refractMap;
uniform sampler2D dynamicRingsMap;   // ring normals
uniform vec4 camPos;
uniform vec4 camDir;
uniform vec4 camUp;
uniform float sc_ratio;
uniform float fadeFactor;            // extra see-through, 0 for clear water
uniform vec3 lightDir;
uniform vec4 lightColor;
uniform float slice_nr;
uniform float ripple_scale;
uniform vec2 texLookupScale;
uniform float waveScale;
uniform vec4 trans;
uniform vec4 scale;
uniform vec4 cc_below;
uniform vec4 cc;
uniform vec4 dof_params;
uniform vec2 positionMapWH;

const float kSwellHeight = 6.0;
const float kTexelWorld = 30.0;
const float kNormalGain = 5.0;

// Slope of one octave of the swell: the texture repeated `freq` times denser, its height
// scaled down as much, so every octave is as steep as the swell itself. The slopes are
// exaggerated (kNormalGain): the true swell is too gentle to catch the light.
vec2 swell_slope(vec2 xz, vec2 step_x, vec2 step_y, float freq, float t)
{
    vec2 k = texLookupScale * freq;
    vec3 at = vec3(xz * k, t);
    vec2 g = texture3DGradARB(wave3D, at, vec3(step_x * k, 0.0), vec3(step_y * k, 0.0)).gb * 2.0 - 1.0;
    return g * waveScale * kSwellHeight / kTexelWorld * kNormalGain;
}

void main()
{
    vec3 p = position_here();
    vec3 dx, dy;
    position_steps(p, dx, dy);
    vec3 to_eye = camPos.xyz - p;
    float dist = length(to_eye);
    vec3 V = to_eye / dist;
    float t = slice_nr / 24.0;

    // Swell: fine octaves fade with distance, where they would only sparkle.
    float near_detail = 1.0 - smoothstep(1500.0, 12000.0, dist);
    float fine_detail = 1.0 - smoothstep(300.0, 2500.0, dist);
    vec2 slope = swell_slope(p.xz + vec2(131.0, 57.0), dx.xz, dy.xz, 3.7, t * 1.9 + 0.5) * 1.4;
    if (near_detail > 0.0)
        slope += swell_slope(p.xz + vec2(17.0, 311.0), dx.xz, dy.xz, 11.3, t * 3.1 + 0.25) * 0.9 * near_detail;
    if (fine_detail > 0.0)
        slope += swell_slope(p.xz + vec2(83.0, 19.0), dx.xz, dy.xz, 31.0, t * 5.3 + 0.75) * 0.7 * fine_detail;

    // Rings: their normals were stored along the grid camera's side and forward axes.
    vec3 side = normalize(cross(vec3(0.0, 1.0, 0.0), camDir.xyz) + vec3(1.0e-5, 0.0, 0.0));
    vec3 ahead = normalize(vec3(-camDir.x, 0.0, -camDir.z) + vec3(0.0, 0.0, 1.0e-5));
    vec2 ring = vec2(0.0);
    // Unit 7's texture matrix projects the world onto the ring image as it was drawn.
    vec4 ringCoord = gl_TextureMatrix[7] * vec4(p, 1.0);
    if (ringCoord.q > 0.0) {
        vec2 rc = ringCoord.st / ringCoord.q;
        if (rc.x > 0.0 && rc.x < 1.0 && rc.y > 0.0 && rc.y < 1.0) {
            vec2 g = texture2D(dynamicRingsMap, rc).rg * 2.0 - 1.0;
            vec3 r = (g.x * side + g.y * ahead) * ripple_scale * 1.6;
            ring = r.xz;
        }
    }

    vec3 n = normalize(vec3(-slope.x - ring.x, 1.0, -slope.y - ring.y));

    // Screen position of this point in the main view; the reflection image (drawn from
    // the mirrored eye) and the refraction image share it.
    vec2 screen = gl_FragCoord.xy / positionMapWH;
    float bend = 0.5 / (1.0 + dist * 0.0015);
    vec2 offset = n.xz * bend;
    vec4 refl = texture2D(reflectMap, clamp(screen + offset * 0.5, 0.001, 0.999));
    vec4 refr = texture2D(refractMap, clamp(screen - offset * 0.35, 0.001, 0.999));

    float shallow = 1.0 - refr.a;                      // 1 at the shore
    vec3 body = mix(refr.rgb, cc_below.rgb, 0.12);
    float cos_v = max(dot(n, V), 0.0);
    float fresnel = 0.02 + 0.98 * pow(1.0 - cos_v, 5.0);
    fresnel = clamp(fresnel * (1.0 - 0.5 * shallow) - fadeFactor, 0.0, 1.0);
    vec3 colour = mix(body, refl.rgb, fresnel);

    // Sun glint, only where the reflection shows sky.
    vec3 L = normalize(lightDir);
    float glint = pow(max(dot(reflect(-L, n), V), 0.0), 90.0);
    colour += lightColor.rgb * glint * 1.6 * refl.a;

    // Foam along the shore line.
    if (shallow > 0.955 && near_detail > 0.0) {
        float tile = scale.x * 3.0;
        float foam_tex = texture2DGradARB(noiseMap, (p.xz + trans.xz) / tile, dx.xz / tile, dy.xz / tile).r;
        float foam = smoothstep(0.955, 1.0, shallow) * smoothstep(0.35, 0.8, foam_tex + 0.25 * sin(slice_nr * 1.3 + foam_tex * 6.0));
        colour = mix(colour, vec3(0.92, 0.95, 0.96), foam * 0.6 * near_detail);
    }

    colour = mix(colour, cc.rgb, haze(dist, camPos.y, p.y));
    gl_FragColor = vec4(colour, clamp(dist / dof_params.z, 0.0, 1.0));
}
