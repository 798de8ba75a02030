#include "Gfx/GridIndices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using List = std::vector<uint32_t>;

TEST(GridIndices, SmallGridsGiveTheseStrips)
{
    struct Case {
        bool half;
        int w, h;
        List indices;
        int count;
    } cases[] = {
        {false, 2, 2, {0, 2, 1, 3, 3, 3}, 4},
        {false, 3, 3, {0, 3, 1, 4, 2, 5, 5, 5, 8, 5, 7, 4, 6, 3, 6, 6}, 14},
        {false, 8, 1, {}, 0}, // a single row has nothing to draw
        {true, 4, 4, {0, 8, 2, 10, 10, 10}, 4},
        // rows 0 and 2 left to right, then rows 2 and 4 back
        {true, 6, 6, {0, 12, 2, 14, 4, 16, 16, 16, 28, 16, 26, 14, 24, 12, 24, 24}, 14},
        {true, 4, 3, {}, 0},
        {true, 1, 8, {}, 0}, // would index before vertex 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.half ? "half " : "full ") << c.w << " x " << c.h);
        GridIndexList l = c.half ? half_grid_indices(c.w, c.h) : full_grid_indices(c.w, c.h);
        EXPECT_EQ(l.indices, c.indices);
        EXPECT_EQ(l.count, c.count);
    }
}

TEST(GridIndices, CountsOfTheGameGrids)
{
    GridIndexList l = full_grid_indices(256, 256);
    EXPECT_EQ(l.count, 131068);
    EXPECT_EQ(l.indices.size(), static_cast<size_t>(l.count) + 2);
    EXPECT_EQ(full_grid_indices(128, 64).count, 2 * 63 * 129 - 2);
    EXPECT_EQ(half_grid_indices(256, 256).count, 127 * 258 - 2); // row pairs of n + 2 entries
}

// Every pair is a vertical edge between rows `row_step` apart, or a turn repeating one vertex.
void expect_strip_of_vertical_edges(const GridIndexList& l, int w, int h, int row_step)
{
    ASSERT_EQ(l.indices.size() % 2, 0u);
    for (size_t i = 0; i < l.indices.size(); i += 2) {
        uint32_t a = l.indices[i], b = l.indices[i + 1];
        ASSERT_LT(a, static_cast<uint32_t>(w * h));
        ASSERT_LT(b, static_cast<uint32_t>(w * h));
        if (a == b) continue;
        EXPECT_EQ(a % w, b % w) << "pair " << i / 2;
        EXPECT_EQ(std::abs(static_cast<int>(a / w) - static_cast<int>(b / w)), row_step) << "pair " << i / 2;
    }
}

TEST(GridIndices, FullGridsJoinNeighbouringRowsHalfGridsEverySecondOne)
{
    expect_strip_of_vertical_edges(full_grid_indices(16, 9), 16, 9, 1);
    GridIndexList l = half_grid_indices(16, 10);
    expect_strip_of_vertical_edges(l, 16, 10, 2);
    for (uint32_t i : l.indices) {
        EXPECT_TRUE(i % 2 == 0 && (i / 16) % 2 == 0) << i;
        EXPECT_LE(i / 16, 8u); // the last row used is h - 2
    }
}

} // namespace
