// The window object's resources as the start-up creates them: the texture table (title,
// height texture, sky, scene textures, wave animation) and the sizes of the render targets.
// The render targets themselves are made by SDLGL::create_fbos.
#pragma once

#include "Common/SDLGL.h"

class HeightMap;
class Texture;

// One scene texture: its file, the slot of the window object it goes into, and whether the
// filter keys (F5, F6) change its sampling.
struct SceneTextureSlot {
    const char* path;
    Texture* SDLGL::Textures::*slot;
    bool filtered;
};

// The scene textures in their order of loading (after the height texture and the sky).
extern const SceneTextureSlot scene_texture_slots[17];

// The textures outside that table, each with a loader of its own.
extern Texture* SDLGL::Textures::*const special_texture_slots[6];

// The window's icon from `path`, set before the window opens (absent or unreadable, the
// desktop shows its own).
void set_window_icon(const char* path);

// The title image into the title slot, unbound.
void load_title_texture(SDLGL& gl);

// The 16-bit height texture from the height map's samples, with its "outside:" report.
void load_height_texture(SDLGL& gl, const HeightMap& map);

// The sky's cube map, then every scene texture, each unbound after loading.
void load_sky_and_scene_textures(SDLGL& gl);

// The 16-slice wave animation, unbound.
void load_wave_texture(SDLGL& gl);

// The race overlay's two images, made by the game: the radar's land and water from the height
// map, and the atlas of its marks. Unbound.
void load_overlay_textures(SDLGL& gl, const HeightMap& map);

struct TargetSize {
    int w = 0, h = 0;
};

// The depth-of-field image, which holds the 3-D scene that the composite then stretches over
// the window: the window's size times `render_scale` (rounded, at least one pixel; the scale
// taken within 0.25 to 1). Its small companion is a quarter of it in each direction
// (integer division).
TargetSize dof_target_size(int screen_width, int screen_height, float render_scale = 1.0f);
TargetSize dof_small_target_size(int image_width, int image_height);
