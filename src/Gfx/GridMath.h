// The processor-side arithmetic of the projected grids: how densely the terrain grid is
// spread and how far its view is turned down, and where the corner rays of the water
// grid's view meet the water plane. Pure functions, no GL.
#pragma once

class Camera;

struct GridSpread {
    float pot;  // exponent that packs the grid rows toward the camera (at least 1)
    float tilt; // degrees below the horizon for the upper edge of the grid's view
};

// From the y component of the eye's direction axis and the eye's height.
GridSpread grid_spread(double dir_y, double eye_y);

// A homogeneous point (not divided by w).
struct HPoint {
    double x = 0, y = 0, z = 0, w = 1;
};

struct WaterCorners {
    // Corners (-1,-1), (+1,-1), (+1,+1), (-1,+1) of the view, in that order.
    HPoint p[4];
    // Set for a corner whose ray missed the plane (or met it farther than the limit) and
    // was replaced by the point at the limit in the ray's horizontal direction.
    bool guarded[4] = {false, false, false, false};
};

// The points where the corner rays of `cam` meet the plane y = 0. `inverse_projection` is
// the column-major inverse of the view's projection (as perspective() returns it).
// A ray that misses, or meets the plane beyond `far_limit` (horizontal distance from the
// camera), takes the guard described above, so the grid never folds over the horizon.
WaterCorners water_corners_from(const Camera& cam, const float inverse_projection[16],
                                double far_limit);

// The farthest horizontal distance at which the grids place vertices.
constexpr double kWaterGridFarLimit = 330000.0;

// How far the water surface reaches below and above the water plane y = 0.
struct WaterSpan {
    double lowest, highest;
};

// The swell alone: kSwellHeight world units per unit of the wave texture's height, which
// runs from -wave_off to wave_scale - wave_off. The reflection and refraction programs cut
// the ground where the swell stands.
WaterSpan swell_span(double wave_scale, double wave_off);

// The water grid as the water grid pass lifts it: the swell and the rings of moving
// objects (kRingHeight per unit of ripple_scale, the ring image holding 0.5 +- 0.5).
WaterSpan water_surface_span(double wave_scale, double wave_off, double ripple_scale);

// The heights the water programs use (shader/ripple_fs.c, shader/pgmland_water*_fs.c).
constexpr double kSwellHeight = 6.0;
constexpr double kRingHeight = 40.0;
