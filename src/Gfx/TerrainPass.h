// The landscape: each frame a grid of world positions is computed on the card from the
// grid camera and the height texture, copied into the grid's vertex buffer and drawn as
// one quad strip with a colour program.
#pragma once

class ShaderProgram;
class FBO;
struct FrameDescription;

// The grid pass (the grid target bound by the caller): spreads the grid by "pot", turns
// the frame's grid camera into the grid view of its eye and writes the grid's vertices.
void update_terrain_grid(const FrameDescription& frame, ShaderProgram* program, FBO* grid);

// Draws the grid with a colour program; `full_resolution` chooses the index list (the
// half-resolution one has a quarter of the quads). The caller binds the shadow map.
void draw_terrain(const FrameDescription& frame, FBO* grid, ShaderProgram* program, bool full_resolution);
