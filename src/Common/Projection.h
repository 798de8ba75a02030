// Perspective projection maths shared by the window object, the water grid and the tests.
#pragma once

struct FrustumBounds {
    double left, right, bottom, top, near_plane, far_plane;
};

// The glFrustum bounds of a symmetric view with a vertical field of view in degrees.
FrustumBounds frustum_bounds(float fov, float aspect, float near_plane, float far_plane);

// The matrix glFrustum builds from `b`, column-major.
void frustum_matrix(const FrustumBounds& b, float out[16]);

// Its inverse, column-major (turns clip coordinates back into eye coordinates).
void inverse_frustum_matrix(const FrustumBounds& b, float out[16]);

// The aspect ratio a perspective projection of w x h uses: the window's own when w is the
// window width; for off-screen targets the window's aspect, widened for the 90 degree
// grid views.
double projection_aspect(int w, int h, int screen_width, double window_aspect, float fov);
