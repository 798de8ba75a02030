// The arrow a hover's ground ray is drawn as.
#include "Gfx/DebugRays.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DebugRays, AnArrowIsItsShaftAndFourBarbsAFifthBackAcrossTheRay)
{
    const DebugRay rays[] = {{{1, 2, 3}, {1, -8, 3}, {1, 0, 0}}, // straight down, as a hover's
                             {{0, 0, 0}, {6, 0, 8}, {1, 0, 0}},  // level
                             {{5, 5, 5}, {5, 5, 5}, {1, 0, 0}}}; // no length: nothing to see
    for (const DebugRay& r : rays) {
        float p[30];
        debug_ray_lines(r, p);
        const float d[3] = {r.to[0] - r.from[0], r.to[1] - r.from[1], r.to[2] - r.from[2]};
        const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(p[k], r.from[k]);
        for (int i = 1; i < 10; i += 2) {
            // Every line but the shaft starts at the tip; each barb ends 0.2 of the ray back
            // from it and 0.03 of the ray to the side.
            if (i > 1) {
                for (int k = 0; k < 3; ++k) EXPECT_EQ(p[3 * (i - 1) + k], r.to[k]);
            }
            const float* e = p + 3 * i;
            float along = 0, off = 0;
            for (int k = 0; k < 3; ++k) along += (r.to[k] - e[k]) * (length > 0 ? d[k] / length : 0);
            for (int k = 0; k < 3; ++k) {
                const float side = r.to[k] - e[k] - along * (length > 0 ? d[k] / length : 0);
                off += side * side;
            }
            EXPECT_NEAR(along, i == 1 ? 0 : 0.2f * length, 1e-4f) << "line " << i / 2;
            EXPECT_NEAR(std::sqrt(off), i == 1 ? 0 : 0.03f * length, 1e-4f) << "line " << i / 2;
        }
    }
}
