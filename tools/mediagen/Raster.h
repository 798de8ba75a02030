// A small software renderer for the contact sheet: z-buffered, textured, flat-shaded
// triangles with back faces culled as the game culls them, lines, and text.
#pragma once

#include <vector>

#include "Image.h"
#include "Mesh.h"

// An orthographic view: looking from azimuth `az` (degrees from +z towards +x) and elevation
// `el` (degrees above the horizon) at the scene, screen y pointing down.
struct OrthoView {
    V3 right, up, forward; // forward points into the screen
    OrthoView(float az_deg, float el_deg);
    V3 project(const V3& p) const { return {dot(p, right), -dot(p, up), dot(p, forward)}; }
};

class Raster {
public:
    Raster(int w, int h, const Rgb& background);

    // One triangle in world space, counter-clockwise from its front. Culled when it faces away
    // from the viewer. `tex` may be null (then `flat` is the colour).
    void triangle(const OrthoView& view, const V3 world[3], const V2 uv[3], const Image* tex, const Rgb& flat);
    // A line in world space, drawn over everything (no depth test).
    void line(const OrthoView& view, const V3& a, const V3& b, const Rgb& c);

    // Maps world positions onto the raster: screen = project(p) * zoom + offset.
    void fit(const OrthoView& view, const std::vector<V3>& points, float margin);

    // Averages 2x2 blocks into `dst` at (x, y) (the raster must be twice the target size).
    void resolve_into(Image& dst, int x, int y) const;
    // The same over a four-channel `dst` of half the raster's size, where only what was
    // drawn covers it (each pixel by the share of its 2x2 block that was drawn).
    void resolve_over(Image& dst) const;

    int culled = 0, drawn = 0;

private:
    V3 to_screen(const OrthoView& view, const V3& p) const;

    int w, h;
    float zoom = 1, ox = 0, oy = 0;
    std::vector<Rgb> color;
    std::vector<float> depth;
};

// Draws `text` with stb_easy_font at (x, y), every font pixel `scale` image pixels.
void draw_text(Image& img, int x, int y, const char* text, const Rgb& c, int scale = 1);
// Pixel width of `text` at scale 1.
int text_width(const char* text);

void fill_rect(Image& img, int x, int y, int w, int h, const Rgb& c);
void draw_circle(Image& img, float cx, float cy, float r, const Rgb& c, bool filled);
// Nearest-neighbour texel of a normalised coordinate, wrapping like GL_REPEAT.
Rgb sample(const Image& tex, float s, float t);
