// Index lists that draw the pixels of a w x h grid target as one quad strip: row pairs
// alternate in direction so the strip runs through the whole grid without restarting, and
// each row pair ends with its last index repeated twice, so that the turn to the next pair
// adds only degenerate quads.
#pragma once

#include <cstdint>
#include <vector>

struct GridIndexList {
    std::vector<uint32_t> indices; // everything emitted, the final pair included
    int count = 0;                 // entries to draw: the final repeated pair is not drawn
};

// Every row and every column.
GridIndexList full_grid_indices(int w, int h);

// Every second row and column (rows 0, 2, .. h - 2 and columns 0, 2, .. w - 2 for even
// sizes): a quarter of the quads, for the distant or cheap passes.
GridIndexList half_grid_indices(int w, int h);
