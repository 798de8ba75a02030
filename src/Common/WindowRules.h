// Small rules of the window object that need no GL context.
#pragma once

// The largest point-sprite size the game uses: the driver's maximum, at most 100.
float clamp_point_size(float driver_max);

// The smallest window side: a resize keeps at least this, and the graphics file may not ask
// for less.
constexpr int kMinWindowSide = 200;

// A resized window keeps each side at least kMinWindowSide pixels and even.
void clamp_resize(int& w, int& h);
