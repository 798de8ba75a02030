// Small helpers shared by the render passes.
#pragma once

#include "Gfx/Texture.h"

#include <GL/glew.h>

class Camera;
class FBO;

// Binds a texture slot on a unit; an empty slot binds nothing.
void bind_on(Texture* t, GLenum texture_unit);
// Unbinds a texture from the unit it was last bound to.
void unbind_from(Texture* t);

// One quad with texture coordinates (0,0) (1,0) (1,1) (0,1) on unit 0 over (0,0)-(w,h).
void draw_unit_quad(int w, int h);

// A grid target's vertex buffer drawn as its quad strip, with the full or the half-resolution
// index list.
void draw_grid_strip(FBO* grid, bool full_resolution);

// Loads a double matrix into the current GL matrix.
void load_matrix(const double m[16]);
void mult_matrix(const double m[16]);

// The camera's view as floats, as the frame loads it.
void camera_view_floats(const Camera& cam, float out[16]);

// Copies a grid target's pixels into its vertex buffer on the card: pixel (x, y) becomes
// vertex y * width + x.
void read_grid_into_vertex_buffer(FBO* grid);
