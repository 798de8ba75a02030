// The landscape's surface textures (sand, grass, rock), the detail noise with its normal
// map and the neutral "unit" texture. All tile seamlessly.
#pragma once

#include "Image.h"

#include <vector>

class Output;

Image make_sand(int size);
Image make_grass(int size);
Image make_rock(int size);
Image make_noise(int size);
Image make_noise_normals(int size);
Image make_unit(int size);

bool generate_surface_textures(Output& out);
