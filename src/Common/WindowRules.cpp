#include "Common/WindowRules.h"

float clamp_point_size(float driver_max) { return driver_max > 100.0f ? 100.0f : driver_max; }

void clamp_resize(int& w, int& h)
{
    if (w < kMinWindowSide) w = kMinWindowSide;
    if (h < kMinWindowSide) h = kMinWindowSide;
    w &= ~1;
    h &= ~1;
}
