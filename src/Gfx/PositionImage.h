// The position image: a float image at the scene image's size, drawn with the scene image's
// depth and stencil, that holds per pixel the world position of what a grid drew there. The
// terrain and the water surface draw their grids into it with a plain program and are then
// shaded by one quad over the scene image, once per pixel. Drawn directly, their triangles
// are a pixel or a few each, and a software rasteriser runs the colour program over a whole
// block of pixels for every triangle that touches the block: many times the work of one pass
// over the image. The stencil marks which grid a pixel shows, so the quad's program runs only
// there (the stencil test comes before the program; a discard in it would not).
#pragma once

class FBO;

// Stencil values of the scene image: what a pixel shows (0: sky or a model). kMarkMixedGround
// is ground that a classing quad found may show more than grass (kMarkGround with kMarkMixedBit).
// kMarkNearGround and kMarkNearMixedGround are the same within the relief's reach (kMarkNearBit).
enum PositionMark {
    kMarkGround = 1,
    kMarkWater = 2,
    kMarkMixedGround = 5,
    kMarkNearGround = 9,
    kMarkNearMixedGround = 13
};
constexpr int kMarkMixedBit = 4;
constexpr int kMarkNearBit = 8;

// Binds the position image; what is drawn until end_position_image marks its pixels.
void begin_position_image(FBO* image, PositionMark mark);
void end_position_image();

// One quad over the whole w x h target bound, run where the stencil holds `mark`, with the
// depth test off and filled polygons, in a flat projection of its own; the matrices are as
// they were after it, the depth test on and the polygon mode as `wireframe` says.
void draw_over_image(int w, int h, PositionMark mark, bool wireframe);

// The same quad, run where the stencil holds `mark`, drawing nothing into the colour image:
// each pixel that the bound program keeps (does not discard) gets `bit` added to its mark.
void mark_over_image(int w, int h, PositionMark mark, int bit);

// Adds `bit` to the mark of every ground pixel (any mark with kMarkGround's bit) whose depth
// lies nearer than `distance` along the view, by a quad there in the current projection.
void mark_ground_nearer_than(double distance, int bit);
