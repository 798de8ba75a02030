// The world half of the generator: landscape, textures, sky, water, title and font.
// Each function writes its files through `out` and returns false on failure.
#pragma once

#include "Image.h"

#include <vector>

class Output;

bool generate_wave_slices(Output& out);

// The wave animation as images, one per slice (for tests of the generator itself).
std::vector<Image> make_wave_slices(int size, int count);
