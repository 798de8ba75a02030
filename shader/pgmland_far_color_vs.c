// Terrain colour beyond the relief's reach: the same full-image quad.
#include "pgmland_parallax_color_vs.c"
