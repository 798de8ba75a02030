// Terrain colour with surface relief, grass alone: the same full-image quad.
#include "pgmland_parallax_color_vs.c"
