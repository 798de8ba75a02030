#include "Common/TestSeams.h"

#include <cstdlib>

TestSeams test_seams;

void read_test_seams()
{
    if (const char* v = std::getenv("MOORHOLD_FRAMES")) {
        char* end = nullptr;
        long n = std::strtol(v, &end, 10);
        if (end != v && n >= 0) test_seams.frames = n;
    }
    if (const char* v = std::getenv("MOORHOLD_SCREENSHOT")) test_seams.screenshot = v;
    if (const char* v = std::getenv("MOORHOLD_AUTOPILOT")) test_seams.autopilot = v[0] == '1';
}
