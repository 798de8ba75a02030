// The texture filter table behind the F5 / F6 keys and the HUD's "filtering:" message.
#pragma once

#include <GL/glew.h>

// Minification filter for filter_mode (0 none, 1 nearest mipmap, 2 linear between
// mipmaps) and linear or nearest sampling.
GLint min_filter_for(int filter_mode, bool filter_linear);

// Magnification cannot use mipmaps: a mipmap filter becomes GL_LINEAR.
GLint mag_filter_for(GLint min_filter);

// The GL name of a filter, as the HUD shows it.
const char* filter_name(GLint filter);
