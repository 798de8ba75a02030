// Final image: the scene image blurred by its alpha (the distance that the scene programs
// wrote, turned into a blur radius with dof_params: sharp up close, soft far away), with
// a gentle vignette and an ordered dither that keeps the sky's gradients free of bands.
// Nothing here moves with time: a still scene gives a still image.
#version 120
#extension GL_ARB_texture_rectangle : require

uniform sampler2DRect imgMap;
uniform vec2 imgMapWH;
uniform vec4 dof_params;   // blur range, near plane, distance scale of alpha

const float kMaxRadius = 1.8;  // pixels

// Squared, so that the middle distance stays crisp and only the far field softens.
float blur_of(float alpha)
{
    float b = clamp((alpha * dof_params.z - dof_params.y) / dof_params.x, 0.0, 1.0);
    return b * b;
}

void main()
{
    vec2 tc = gl_TexCoord[0].st;
    vec4 centre = texture2DRect(imgMap, tc);
    float blur = blur_of(centre.a);

    vec3 colour = centre.rgb;
    if (blur > 0.08) {
        float r = kMaxRadius * blur;
        vec3 sum = centre.rgb * 2.0;
        sum += texture2DRect(imgMap, tc + vec2(r, 0.4 * r)).rgb;
        sum += texture2DRect(imgMap, tc + vec2(-0.4 * r, r)).rgb;
        sum += texture2DRect(imgMap, tc + vec2(-r, -0.4 * r)).rgb;
        sum += texture2DRect(imgMap, tc + vec2(0.4 * r, -r)).rgb;
        colour = sum / 6.0;
    }

    vec2 from_centre = tc / imgMapWH - 0.5;
    colour *= 1.0 - 0.28 * dot(from_centre, from_centre);

    // 2 x 2 ordered dither of a quarter step of the 8-bit output.
    vec2 cell = mod(floor(gl_FragCoord.xy), 2.0);
    float dither = (cell.x * 2.0 + cell.y * 3.0 - 4.0 * cell.x * cell.y - 1.5) / 4.0 / 255.0;
    gl_FragColor = vec4(colour + dither, 1.0);
}
