// The 4 x 4 matrices (column-major, as OpenGL keeps them) that the passes load into
// texture matrices and uniforms. Pure functions, no GL.
#pragma once

class Camera;

// out = a * b.
void mat4_mul(const double a[16], const double b[16], double out[16]);
void mat4_from_float(const float in[16], double out[16]);
void mat4_to_float(const double in[16], float out[16]);
// out = m * (x, y, z, w).
void mat4_transform(const double m[16], const double in[4], double out[4]);

// The view matrix of a camera from its position and axes (the axes are not changed).
void camera_view_matrix(const Camera& cam, double out[16]);

// The same camera mirrored in the water plane: y of the position and of all three axes
// negated. Drawing with it needs clockwise front faces.
void mirrored_view_matrix(const Camera& cam, double out[16]);

// Camera space to world space: translation by the position times the transposed rotation.
void camera_to_world(const Camera& cam, double out[16]);

// Shadow lookup: bias (translate 0.5, scale 0.5 on x, y and z) * light projection * light
// view. World points inside the light's view land in [0, 1] on all three axes.
void shadow_texture_matrix(const double light_projection[16], const double light_view[16],
                           double out[16]);

// Ring-image lookup: translate (0.5, 0.5, 0) * scale 0.5 * ring projection * view of the
// grid camera. The result is projective: divide s and t by q.
void ring_texture_matrix(const double ring_projection[16], const double grid_view[16],
                         double out[16]);
