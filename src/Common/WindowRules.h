// Small rules of the window object that need no GL context.
#pragma once

// The largest point-sprite size the game uses: the driver's maximum, at most 100.
float clamp_point_size(float driver_max);

// A resized window keeps each side at least 200 pixels and even.
void clamp_resize(int& w, int& h);
