// The title screen image.
#pragma once

#include "Image.h"

class Output;

Image make_title(int size);
bool generate_title(Output& out);
