// The landscape: each frame a grid of world positions is computed on the card from the
// grid camera and the height texture, copied into the grid's vertex buffer and drawn as
// one quad strip with a colour program.
#pragma once

#include "Gfx/GridMath.h"

class ShaderProgram;
class FBO;
class Camera;
struct FrameDescription;

// The grid pass (the grid target bound by the caller): spreads the grid by "pot", turns
// the frame's grid camera into the grid view of its eye and writes the grid's vertices.
void update_terrain_grid(const FrameDescription& frame, ShaderProgram* program, FBO* grid);

// The part of the ground a pass needs, cut off by a clip plane at a world height before the
// ground reaches the rasteriser: on a software renderer a clipped triangle costs next to
// nothing, a drawn one most of the frame.
struct GroundCut {
    enum Keep { All, Above, Below };
    Keep keep = All;
    double level = 0;
};

// The ground the main image needs: what the water surface covers, below its deepest trough,
// is cut, as long as the surface is drawn and the eye is above its highest crest.
GroundCut main_image_cut(bool water_drawn, double eye_y, const WaterSpan& water);
// The reflection shows only what stands above the swell, the refraction only what lies
// below it (their programs discard the rest; the cuts leave a margin to them).
GroundCut reflection_cut(const WaterSpan& swell);
GroundCut refraction_cut(const WaterSpan& swell);

// The clip plane (a, b, c, d: kept where a x + b y + c z + d >= 0) of a cut.
void ground_cut_plane(const GroundCut& cut, double plane[4]);

// Draws the grid with a colour program, seen from `eye` (the frame's or its mirror image);
// `full_resolution` chooses the index list (the half-resolution one has a quarter of the
// quads). The caller binds the shadow map and has the view loaded (the cut's plane is given
// in world space).
void draw_terrain(const FrameDescription& frame, const Camera& eye, FBO* grid, ShaderProgram* program,
                  bool full_resolution, GroundCut cut = {});

// The main image's ground, in two steps. First the full grid into the position image (the
// world position and normal of the ground per pixel, tested against and written to the
// scene image's depth), with the view loaded as for draw_terrain; the position image is
// left bound.
void draw_ground_positions(FBO* grid, FBO* positions, ShaderProgram* position_program, GroundCut cut);
// Then, with the scene image bound, one quad over it that shades every pixel where the
// position image holds ground with a terrain colour program (the shadow map bound, as for
// draw_terrain). Depth test and matrices are as they were after it.
void shade_ground(const FrameDescription& frame, FBO* positions, ShaderProgram* colour_program);

// The relief fades to nothing this far from the eye (kReliefFar in shared_parallax_ground.c).
constexpr double kReliefReach = 2500.0;

// The relief colour programs by the ground they colour, and the classing that marks it.
struct ReliefColourPrograms {
    ShaderProgram* classing;
    ShaderProgram* grass;      // within the relief's reach
    ShaderProgram* full;
    ShaderProgram* far_grass;  // beyond it
    ShaderProgram* far_full;
};

// The same as shade_ground in four programs. The classing program marks the pixels where more
// than grass may show, which the full programs colour; the grass programs, without the sand and
// rock lookups, colour the rest. Ground beyond kReliefReach along the view (a quad at that
// depth marks the nearer) gets the far programs, without the relief's lookups. The software
// rasteriser pays for every lookup of a program whatever its branches say, and most of the
// island is grass alone.
void shade_ground_by_class(const FrameDescription& frame, FBO* positions, const ReliefColourPrograms& programs);
