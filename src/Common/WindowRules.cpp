#include "Common/WindowRules.h"

float clamp_point_size(float driver_max) { return driver_max > 100.0f ? 100.0f : driver_max; }

void clamp_resize(int& w, int& h)
{
    if (w < 200) w = 200;
    if (h < 200) h = 200;
    w &= ~1;
    h &= ~1;
}
