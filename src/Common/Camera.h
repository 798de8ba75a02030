// A camera: position and three unit axes in double precision (it looks along -dir), the
// projection values, and six frustum planes for culling. Also the recorded camera path.
#pragma once

#include "Common/mathlibVectors.h"

#include <list>

struct CameraKeyframe {
    double time = 0;
    Vec3d pos, str, up, dir;
};

struct FrustumPlane {
    Vec3f normal; // points into the frustum
    float offset = 0;
    // Signed distance of p: positive inside.
    float distance(float x, float y, float z) const
    {
        return normal.x * x + normal.y * y + normal.z * z - offset;
    }
};

class Camera {
public:
    Camera(float fov, float near_plane, float far_plane);
    Camera(const Camera& other); // the keyframe list is not copied
    Camera& operator=(const Camera&) = delete;
    ~Camera() = default;

    void set_aspect(float aspect);
    void set_position(double x, double y, double z) { pos = {x, y, z}; }
    void set_str(double x, double y, double z) { str = {x, y, z}; }
    void set_up(double x, double y, double z) { up = {x, y, z}; }
    void set_dir(double x, double y, double z) { dir = {x, y, z}; }
    void set_axes(const double s[3], const double u[3], const double d[3]);
    void copy_position(const Vec3d& p) { pos = p; }
    void get_position(float out[3]) const;
    void get_up(float out[3]) const;
    void get_dir(float out[3]) const;
    void move_str(double distance) { pos -= str * distance; }
    void move_up(double distance) { pos -= up * distance; }
    void move_dir(double distance) { pos -= dir * distance; }

    // Rotations in radians; each keeps the axes orthonormal. A positive pitch turns the
    // view upward.
    void pitch(double angle);
    void yaw(double angle);
    void roll(double angle);

    // Rebuilds the six planes; `visibility` caps the far plane (see the .cpp).
    void update_frustum(float visibility);
    bool sphere_visible(float x, float y, float z, float margin) const;

    // Column-major view matrix from a position and axes; the axes are normalised in place,
    // the translation terms use them as they came in.
    static void view_matrix(double position[3], double s[3], double u[3], double d[3], float out[16]);

    void print(bool position_only) const;

    // Makes this camera a view of the ground for the projected grids: levelled, turned
    // down until the top of a 90 degree view lies `tilt` degrees below the horizon, and
    // raised by `lift` scaled with how level the source looks.
    void derive_grid_view(const Camera& source, double tilt, double lift);

    // Reads keyframes of 13 numbers (time, pos, str, up, dir) from a text file.
    void load_path(const char* path);

    Vec3d pos{0, 0, 0};
    Vec3d str{1, 0, 0};
    Vec3d up{0, 1, 0};
    Vec3d dir{0, 0, 1};
    double path_start_time = 0;
    std::list<CameraKeyframe> keyframes;
    float fov;
    float near_plane, far_plane;
    float tan_half_fov = 0;
    float aspect = 1.0f;
    float near_half_width = 0, near_half_height = 0;
    float far_half_width = 0, far_half_height = 0;
    FrustumPlane planes[6]; // near, far, left, right, bottom, top
};

// Parses the numbers of a camera-path text into keyframes (the loader's core, kept apart
// so that it can be checked without files).
std::list<CameraKeyframe> parse_camera_path(const char* text);
