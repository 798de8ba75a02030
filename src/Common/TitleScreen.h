// The title screen: the title image over the whole window, shown once at start-up and
// over the first frames of the loop while the scene settles.
#pragma once

class SDLGL;
class Texture;

// Draws the title (plain when `title` is null or has no image), swaps and waits 50 ms.
// With `screenshot_path` the title is also written there just before the swap.
void draw_title_screen(SDLGL& gl, Texture* title, float near_plane, float far_plane, float fov,
                       const char* screenshot_path = nullptr);
