#include "Common/OverlayAtlas.h"

#include <algorithm>
#include <cmath>

namespace {

// The dark rim around every shape, in cell units (1 is half a cell, 16 pixels). Every shape with
// its rim stays 0.86 from the middle at the most: two clear pixels at the cell's border keep the
// smaller copies of the image (its mipmaps) from mixing neighbours.
const float kRim = 0.16f;

float clamp01(float v) { return std::max(0.0f, std::min(1.0f, v)); }

// Signed distance from (u, v) to a simple polygon: the nearest edge, negative inside (by the
// even-odd rule, so the polygon may be concave).
float polygon_distance(const float (*corners)[2], int n, float u, float v)
{
    float nearest = 1e9f;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const float ax = corners[j][0], ay = corners[j][1], bx = corners[i][0], by = corners[i][1];
        const float ex = bx - ax, ey = by - ay;
        const float t = clamp01(((u - ax) * ex + (v - ay) * ey) / (ex * ex + ey * ey));
        const float dx = u - ax - t * ex, dy = v - ay - t * ey;
        nearest = std::min(nearest, std::sqrt(dx * dx + dy * dy));
        if ((ay > v) != (by > v) && u < ax + (v - ay) / (by - ay) * ex) inside = !inside;
    }
    return inside ? -nearest : nearest;
}

} // namespace

AtlasCell atlas_cell(AtlasShape shape)
{
    const float w = float(kAtlasWidth);
    const float x0 = float(int(shape) * kAtlasCell);
    if (shape == ATLAS_SOLID) {
        // The middle of the solid cell, so that filtering never reaches a neighbour.
        const float s = (x0 + 0.5f * kAtlasCell) / w;
        return {s, 0.5f, s, 0.5f};
    }
    return {x0 / w, 0.0f, (x0 + kAtlasCell) / w, 1.0f};
}

float atlas_shape_distance(AtlasShape shape, float u, float v)
{
    const float r = std::sqrt(u * u + v * v);
    switch (shape) {
    case ATLAS_RING:
        // A ring wide enough to read at 12 pixels, open enough for the crystal to show inside.
        return std::fabs(r - 0.53f) - 0.17f;
    case ATLAS_DISC:
        return r - 0.62f;
    case ATLAS_DIAMOND:
        return (std::fabs(u) + std::fabs(v)) * 0.70710678f - 0.45f;
    case ATLAS_ARROW: {
        // A broad head pointing along +u with a notch in its back, so that it reads as an arrow
        // and not as a triangle.
        static const float head[4][2] = {{0.68f, 0.0f}, {-0.5f, 0.62f}, {-0.2f, 0.0f}, {-0.5f, -0.62f}};
        return polygon_distance(head, 4, u, v);
    }
    case ATLAS_SQUARE:
        return std::max(std::fabs(u), std::fabs(v)) - 0.5f;
    case ATLAS_SOLID:
    case ATLAS_SHAPES:
        break;
    }
    return -1.0f;
}

void overlay_atlas_image(std::vector<uint8_t>& rgba)
{
    rgba.assign(size_t(kAtlasWidth) * kAtlasHeight * 4, 0);
    // One pixel is 2 / kAtlasCell cell units: the edges fade over about a pixel.
    const float pixel = 2.0f / kAtlasCell;
    for (int shape = 0; shape < ATLAS_SHAPES; ++shape) {
        for (int y = 0; y < kAtlasCell; ++y) {
            for (int x = 0; x < kAtlasCell; ++x) {
                uint8_t* p = &rgba[(size_t(y) * kAtlasWidth + size_t(shape * kAtlasCell + x)) * 4];
                if (shape == ATLAS_SOLID) {
                    p[0] = p[1] = p[2] = p[3] = 255;
                    continue;
                }
                const float u = (x + 0.5f) * pixel - 1.0f, v = (y + 0.5f) * pixel - 1.0f;
                const float d = atlas_shape_distance(AtlasShape(shape), u, v);
                // White inside, dark in the rim band, transparent beyond it.
                const float white = clamp01(0.5f - d / pixel);
                const float cover = clamp01(0.5f - (d - kRim) / pixel);
                const float grey = cover > 0 ? white / cover : 0;
                p[0] = p[1] = p[2] = uint8_t(std::lround(255.0f * grey));
                p[3] = uint8_t(std::lround(255.0f * cover * (0.75f + 0.25f * white)));
            }
        }
    }
}
