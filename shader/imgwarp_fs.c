// Final image: the scene image blurred by its alpha (the distance that the scene programs
// wrote, turned into a blur radius with dof_params: sharp up close, soft far away), with
// a faint heat shimmer from the swell texture over the blurred far field and a gentle
// vignette.
#version 120
#extension GL_ARB_texture_rectangle : require

uniform sampler2DRect imgMap;
uniform sampler3D wave3D;
uniform vec2 imgMapWH;
uniform vec4 dof_params;   // blur range, near plane, distance scale of alpha
uniform float slice_nr;

const float kMaxRadius = 2.2;  // pixels

float blur_of(float alpha)
{
    return clamp((alpha * dof_params.z - dof_params.y) / dof_params.x, 0.0, 1.0);
}

void main()
{
    vec2 tc = gl_TexCoord[0].st;
    vec2 screen = gl_TexCoord[1].st;
    vec4 centre = texture2DRect(imgMap, tc);
    float blur = blur_of(centre.a);

    vec3 colour = centre.rgb;
    if (blur > 0.05) {
        vec2 shimmer = texture3D(wave3D, vec3(screen * vec2(3.0, 2.0), slice_nr * 0.07)).gb - 0.5;
        vec2 at = tc + shimmer * 1.2 * blur;
        float r = kMaxRadius * blur;
        vec3 sum = texture2DRect(imgMap, at).rgb * 2.0;
        sum += texture2DRect(imgMap, at + vec2(r, 0.4 * r)).rgb;
        sum += texture2DRect(imgMap, at + vec2(-0.4 * r, r)).rgb;
        sum += texture2DRect(imgMap, at + vec2(-r, -0.4 * r)).rgb;
        sum += texture2DRect(imgMap, at + vec2(0.4 * r, -r)).rgb;
        colour = sum / 6.0;
    }

    vec2 from_centre = screen - 0.5;
    colour *= 1.0 - 0.28 * dot(from_centre, from_centre);
    gl_FragColor = vec4(colour, 1.0);
}
