// A soft column of light over every crystal, so that a crystal stands out in the landscape from
// far away: drawn with the scene (in the main image and in the water's reflection), added to the
// light already there, brightest at the crystal and fading upward, and fainter with distance.
// Each beam is a vertical strip turned toward the eye, brightest along its middle, at least a
// few pixels of the 3-D image wide however far it stands. This is its geometry alone (no GL).
#pragma once

#include "Ai/RaceView.h"

#include <vector>

class Camera;

struct BeamVertex {
    float x, y, z;
    float r, g, b, a;
};

struct BeamLook {
    float height = 1400;       // graphics units above the crystal (about 44 m)
    float half_width = 22;     // graphics units, up close
    float min_pixels = 3;      // the least width, in pixels of the 3-D image
    float strength = 0.65f;    // the added light at the crystal (0 to 1)
};

// The beams of every crystal of `view` for `eye`, as quads (four vertices each), into `out`
// (its storage kept). `pixel_angle` is the height of one pixel of the 3-D image at unit
// distance: 2 tan(fov / 2) / image height.
void build_crystal_beams(const RaceView& view, const Camera& eye, float pixel_angle, const BeamLook& look,
                         std::vector<BeamVertex>& out);

// How bright a beam is seen from `distance` graphics units (0 to 1): faint right at the eye (a
// beam one drives through must not flash the screen), whole from a few hundred units, and down
// to under half far across the map.
float beam_fade(float distance);
