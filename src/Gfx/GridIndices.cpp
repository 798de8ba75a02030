#include "Gfx/GridIndices.h"

#include <algorithm>

namespace {

void finish(GridIndexList& list)
{
    list.count = std::max(0, static_cast<int>(list.indices.size()) - 2);
}

} // namespace

GridIndexList full_grid_indices(int w, int h)
{
    GridIndexList list;
    if (w < 1 || h < 2) return list;
    list.indices.reserve(2 * static_cast<size_t>(h - 1) * (w + 1));
    auto emit = [&list](int i) { list.indices.push_back(static_cast<uint32_t>(i)); };
    for (int r = 1; r < h; ++r) {
        if ((r - 1) % 2 == 0) {
            emit((r - 1) * w);
            emit(r * w);
            for (int c = 1; c < w; ++c) {
                emit((r - 1) * w + c);
                emit(r * w + c);
            }
            emit((r + 1) * w - 1);
            emit((r + 1) * w - 1);
        } else {
            emit((r + 1) * w - 1);
            emit(r * w - 1);
            for (int c = w - 2; c >= 0; --c) {
                emit(r * w + c);
                emit((r - 1) * w + c);
            }
            emit(r * w);
            emit(r * w);
        }
    }
    finish(list);
    return list;
}

GridIndexList half_grid_indices(int w, int h)
{
    GridIndexList list;
    // Narrower grids would index before the first vertex.
    if (w < 2) return list;
    auto emit = [&list](int i) { list.indices.push_back(static_cast<uint32_t>(i)); };
    for (int r = 2; r <= h - 2; r += 2) {
        if (((r - 2) / 2) % 2 == 0) {
            emit((r - 2) * w);
            emit(r * w);
            for (int c = 2; c < w; c += 2) {
                emit((r - 2) * w + c);
                emit(r * w + c);
            }
            emit((r + 1) * w - 2);
            emit((r + 1) * w - 2);
        } else {
            emit((r + 1) * w - 2);
            emit((r - 1) * w - 2);
            for (int c = w - 4; c >= 0; c -= 2) {
                emit(r * w + c);
                emit((r - 2) * w + c);
            }
            emit(r * w);
            emit(r * w);
        }
    }
    finish(list);
    return list;
}
