// The coarse triangle lists of models seen from afar, and when an instance is drawn with one.
#include "GameDir.h"
#include "Gfx/MD2_Model.h"
#include "Gfx/Md2FarDetail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct FarCase {
    const char* what;
    std::vector<uint16_t> triangles;
    std::vector<float> texcoords; // s, t per vertex; none: all in one skin cell
    std::vector<uint16_t> expected;
};

// The positions (x, z, y per vertex): 0-2 lie close together in one cell (0-63 on every axis at
// 4 cells), 1 nearest to their mean; 3-5 lie apart in cells of their own.
const std::vector<uint8_t> kCluster = {10, 10, 10, 20, 20, 20, 32, 30, 30, 200, 10, 10, 10, 200, 10, 10, 10, 200};
const std::vector<float> kOneSkinCell(12, 0.1f);

const FarCase kFarCases[] = {
    {"apart: every triangle stays, in order and winding", {3, 4, 5, 5, 4, 0}, {}, {3, 4, 5, 5, 4, 1}},
    {"merged corners: the triangle inside the cell is dropped, the others meet at the mean",
     {0, 1, 2, 0, 3, 4, 2, 4, 5}, {}, {1, 3, 4, 1, 4, 5}},
    {"duplicates after merging, also turned, are kept once; the mirrored one stays", {0, 3, 4, 4, 2, 3, 2, 4, 3}, {},
     {1, 3, 4, 1, 4, 3}},
    {"near in space but apart on the skin: not merged", {0, 2, 3},
     {0.1f, 0.1f, 0.1f, 0.1f, 0.9f, 0.9f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f}, {0, 2, 3}},
    {"an index beyond the vertices: the list is kept as it is", {0, 3, 9}, {}, {0, 3, 9}},
    {"fewer texture coordinates than positions count as fewer vertices", {0, 3, 4}, {0.1f, 0.1f, 0.1f, 0.1f},
     {0, 3, 4}},
    {"no triangles", {}, {}, {}},
};

TEST(Md2FarDetail, MergesVerticesOfOneCellAndDropsWhatFlattens)
{
    for (const FarCase& c : kFarCases)
        EXPECT_EQ(md2_far_triangles(c.triangles, kCluster, c.texcoords.empty() ? kOneSkinCell : c.texcoords, 4, 2),
                  c.expected)
            << c.what;
}

TEST(Md2FarDetail, OnlyModelsThatShowSmallAreDrawnCoarse)
{
    // 384 image rows at a vertical field of view of 60 degrees.
    const float focal = md2_focal_pixels(384, std::tan(30.0f * 3.14159265f / 180.0f));
    EXPECT_NEAR(focal, 332.55f, 0.01f);
    EXPECT_EQ(md2_focal_pixels(0, 0.5f), 0.0f);
    EXPECT_EQ(md2_focal_pixels(384, 0.0f), 0.0f);

    const float nan = std::nanf("");
    const struct {
        const char* what;
        float radius, distance, focal;
        bool far;
    } cases[] = {
        {"a tree just beyond the limit", 12, 12 * focal / kMd2FarRadiusPixels + 1, focal, true},
        {"a tree just within it", 12, 12 * focal / kMd2FarRadiusPixels - 1, focal, false},
        {"the vehicle behind the follow camera", 12, 60, focal, false},
        {"the eye inside the model", 12, 5, focal, false},
        {"not posed yet: no size", 0, 10000, focal, false},
        {"no image yet", 12, 10000, 0, false},
        {"a distance that is no number", 12, nan, focal, false},
    };
    for (const auto& c : cases) EXPECT_EQ(md2_draw_far(c.radius, c.distance, c.focal), c.far) << c.what;
}

// The generated models, loaded as the game loads them: the coarse list is much shorter,
// uses only the model's own vertices and still spans the model's whole extent, so a far
// forest keeps its outline.
TEST(Md2FarDetail, GeneratedModelsGetAShorterListOfTheSameOutline)
{
    const struct {
        const char* md2;
        double at_most; // of the full list
    } models[] = {
        {"media/objects/trees/tree.md2", 0.5},
        {"media/objects/pilz/pilz.md2", 0.3},
        {"media/objects/tree_lazy_boy/tree_lazy_boy.md2", 0.3},
        {"media/objects/hover/hover.md2", 0.3},
        {"media/objects/teddy/teddy.md2", 0.3},
    };
    for (const auto& m : models) {
        Md2Model model;
        ASSERT_TRUE(model.LoadData(game_file(m.md2).c_str())) << m.md2;
        const std::vector<float> texcoords = model.m_TexCoordArray;
        model.PrepareTriangles();
        ASSERT_GT(model.m_DrawIndexCount, 0) << m.md2;
        ASSERT_GT(model.m_FarIndexCount, 0) << m.md2;
        EXPECT_EQ(model.m_FarIndexCount % 3, 0) << m.md2;
        EXPECT_LE(model.m_FarIndexCount, m.at_most * model.m_DrawIndexCount) << m.md2;
        ASSERT_EQ(model.m_IndexArray.size(), size_t(model.m_DrawIndexCount + model.m_FarIndexCount)) << m.md2;

        const uint8_t* frame = model.FrameVertices(0, 0);
        auto extent = [&](size_t begin, size_t end) {
            std::array<int, 6> box = {255, 255, 255, 0, 0, 0};
            for (size_t i = begin; i < end; ++i) {
                const uint16_t r = model.m_IndexArray[i];
                EXPECT_LT(r, model.m_NumRenderVertices) << m.md2;
                if (r >= model.m_NumRenderVertices) continue;
                for (int axis = 0; axis < 3; ++axis) {
                    const int p = frame[size_t(model.m_RenderToVertex[r]) * 3 + axis];
                    box[axis] = std::min(box[axis], p);
                    box[3 + axis] = std::max(box[3 + axis], p);
                }
            }
            return box;
        };
        const size_t full_end = size_t(model.m_DrawIndexCount);
        const std::array<int, 6> full = extent(0, full_end), coarse = extent(full_end, model.m_IndexArray.size());
        for (int axis = 0; axis < 3; ++axis) {
            const int full_span = full[3 + axis] - full[axis], coarse_span = coarse[3 + axis] - coarse[axis];
            EXPECT_GE(coarse_span, 0.75 * full_span) << m.md2 << " axis " << axis;
        }
        EXPECT_EQ(texcoords.size(), model.m_TexCoordArray.size()) << "texture coordinates stay until uploaded";
    }
}

} // namespace
