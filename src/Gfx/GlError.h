// OpenGL error report shared by the resource loaders: the same line the window object's
// check_gl_error prints, usable where no window object is at hand.
#pragma once

#include <GL/glew.h>

// Prints "\n >>> @ <where> => OpenGL ERROR: <text> !!!\n\n" when glGetError reports an
// error, nothing otherwise. Returns the error code.
GLenum report_gl_error(const char* where);
