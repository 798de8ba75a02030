#include "Gfx/GridIndices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using List = std::vector<uint32_t>;

TEST(FullGridIndices, ThreeByThree)
{
    GridIndexList l = full_grid_indices(3, 3);
    EXPECT_EQ(l.indices, (List{0, 3, 1, 4, 2, 5, 5, 5, 8, 5, 7, 4, 6, 3, 6, 6}));
    EXPECT_EQ(l.count, 14);
}

TEST(FullGridIndices, TwoByTwo)
{
    GridIndexList l = full_grid_indices(2, 2);
    EXPECT_EQ(l.indices, (List{0, 2, 1, 3, 3, 3}));
    EXPECT_EQ(l.count, 4);
}

TEST(FullGridIndices, CountsOfTheGameGrids)
{
    for (int n : {128, 256}) {
        GridIndexList l = full_grid_indices(n, n);
        EXPECT_EQ(l.count, 2 * (n - 1) * (n + 1) - 2);
        EXPECT_EQ(l.indices.size(), static_cast<size_t>(l.count) + 2);
    }
    EXPECT_EQ(full_grid_indices(256, 256).count, 131068);
    EXPECT_EQ(full_grid_indices(128, 64).count, 2 * 63 * 129 - 2);
}

// Every drawn pair of the strip is a vertical edge between neighbouring rows, or a
// degenerate turn that repeats one vertex; and every vertex index lies inside the grid.
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

TEST(FullGridIndices, EveryQuadJoinsNeighbouringRows)
{
    expect_strip_of_vertical_edges(full_grid_indices(5, 4), 5, 4, 1);
    expect_strip_of_vertical_edges(full_grid_indices(16, 9), 16, 9, 1);
}

TEST(FullGridIndices, SingleRowGridHasNothingToDraw)
{
    GridIndexList l = full_grid_indices(8, 1);
    EXPECT_TRUE(l.indices.empty());
    EXPECT_EQ(l.count, 0);
}

TEST(HalfGridIndices, FourByFour)
{
    GridIndexList l = half_grid_indices(4, 4);
    EXPECT_EQ(l.indices, (List{0, 8, 2, 10, 10, 10}));
    EXPECT_EQ(l.count, 4);
}

TEST(HalfGridIndices, SixBySixTurnsBackOnTheSecondRowPair)
{
    GridIndexList l = half_grid_indices(6, 6);
    EXPECT_EQ(l.indices, (List{0, 12, 2, 14, 4, 16, 16, 16,   // rows 0 and 2, left to right
                               28, 16, 26, 14, 24, 12, 24, 24})); // rows 2 and 4, back
    EXPECT_EQ(l.count, 14);
}

TEST(HalfGridIndices, CountsOfTheGameGrids)
{
    // 127 row pairs of 2 + 2 x 127 + 2 entries.
    GridIndexList l = half_grid_indices(256, 256);
    EXPECT_EQ(l.indices.size(), 127u * 258);
    EXPECT_EQ(l.count, 127 * 258 - 2);
    GridIndexList w = half_grid_indices(128, 128);
    EXPECT_EQ(w.count, 63 * 130 - 2);
}

TEST(HalfGridIndices, UsesEverySecondRowAndColumn)
{
    GridIndexList l = half_grid_indices(16, 10);
    expect_strip_of_vertical_edges(l, 16, 10, 2);
    for (uint32_t i : l.indices) {
        EXPECT_EQ((i % 16) % 2, 0u);
        EXPECT_EQ((i / 16) % 2, 0u);
        EXPECT_LE(i / 16, 8u); // the last row used is h - 2
    }
}

TEST(HalfGridIndices, TooSmallGridsHaveNothingToDraw)
{
    EXPECT_EQ(half_grid_indices(4, 3).count, 0);
    EXPECT_TRUE(half_grid_indices(4, 3).indices.empty());
    EXPECT_TRUE(half_grid_indices(1, 8).indices.empty()); // would index before vertex 0
}

} // namespace
