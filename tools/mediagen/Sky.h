// The daytime sky, as a cube-map strip of six faces computed per direction.
#pragma once

#include "Image.h"

class Output;

struct V3f {
    float x, y, z;
};

// Direction (not normalised) of the point (s, t) in [0, 1]^2 of cube face `face`
// (0..5 = +X, -X, +Y, -Y, +Z, -Z), in the OpenGL cube-map convention.
V3f cube_direction(int face, float s, float t);

// Colour of the sky seen along a direction (y up).
Rgb sky_colour(float dx, float dy, float dz);

// The strip: 6 * face x face pixels, faces left to right in the order above.
Image make_sky_strip(int face);

bool generate_sky(Output& out);
