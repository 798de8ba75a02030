// What draws the race without being GL: the overlay's atlas of marks, the radar's land image and the
// crystals' beams.
#include "GameplayTestKit.h"

#include "Common/Camera.h"
#include "Common/OverlayAtlas.h"
#include "Common/RadarLand.h"
#include "Gfx/CrystalBeams.h"

#include <cmath>

namespace {

uint8_t alpha_at(const std::vector<uint8_t>& atlas, AtlasShape shape, int x, int y)
{
    return atlas[(size_t(y) * kAtlasWidth + size_t(shape) * kAtlasCell + x) * 4 + 3];
}

} // namespace

TEST(OverlayAtlas, EachShapeIsWhiteWithADarkRimInsideItsCell)
{
    std::vector<uint8_t> atlas;
    overlay_atlas_image(atlas);
    ASSERT_EQ(atlas.size(), size_t(kAtlasWidth) * kAtlasHeight * 4);
    const int c = kAtlasCell / 2;
    for (AtlasShape shape : {ATLAS_RING, ATLAS_DISC, ATLAS_DIAMOND, ATLAS_ARROW, ATLAS_SQUARE}) {
        // The cell's outer two pixels stay clear, so that smaller copies of the image never mix
        // one shape into its neighbour.
        for (int k = 0; k < kAtlasCell; ++k)
            for (int b : {0, 1, kAtlasCell - 2, kAtlasCell - 1}) {
                EXPECT_EQ(alpha_at(atlas, shape, k, b), 0) << shape << " " << k;
                EXPECT_EQ(alpha_at(atlas, shape, b, k), 0) << shape << " " << k;
            }
        // Going out from the middle along +u (the arrow's tip): white, then the dark rim.
        int white = 0, dark = 0;
        for (int x = c; x < kAtlasCell; ++x) {
            const uint8_t* p = &atlas[(size_t(c) * kAtlasWidth + size_t(shape) * kAtlasCell + x) * 4];
            white += p[3] > 200 && p[0] > 230;
            dark += p[3] > 150 && p[0] < 60;
        }
        EXPECT_GE(white, 2) << shape;
        EXPECT_GE(dark, 1) << shape;
    }
    // The ring is open in the middle (the crystal shows through it); the disc is not.
    EXPECT_EQ(alpha_at(atlas, ATLAS_RING, c, c), 0);
    EXPECT_GT(alpha_at(atlas, ATLAS_DISC, c, c), 200);
    // The arrow points along +u: its tip reaches farther right than its back reaches left.
    EXPECT_LT(atlas_shape_distance(ATLAS_ARROW, 0.6f, 0), 0);
    EXPECT_GT(atlas_shape_distance(ATLAS_ARROW, -0.6f, 0), 0);
    // The solid cell is read at one texel's middle.
    const AtlasCell solid = atlas_cell(ATLAS_SOLID);
    EXPECT_EQ(solid.s0, solid.s1);
    EXPECT_EQ(alpha_at(atlas, ATLAS_SOLID, c, c), 255);
}

TEST(RadarLand, WaterIsBlueLandGreenAndBeyondTheMapDeepWater)
{
    struct Case {
        const char* what;
        uint16_t sample;
        bool blue;
    };
    const Case cases[] = {{"deep water", 2000, true}, {"just under the water level", 16000, true},
                          {"the moor", 26000, false}, {"high ground", 60000, false}};
    for (const Case& c : cases) {
        HeightMap map;
        make_height_map(map, 64, 8, [&](int, int) { return c.sample; });
        std::vector<uint8_t> image;
        radar_land_image(map, 16, 0.25f, image);
        ASSERT_EQ(image.size(), 16u * 16 * 4);
        const uint8_t* middle = &image[(8 * 16 + 8) * 4];
        EXPECT_EQ(middle[2] > middle[0] + 40 && middle[2] > middle[1], c.blue) << c.what;
        const uint8_t* corner = &image[0];
        EXPECT_GT(corner[2], corner[0] + 40) << c.what << ": the border is water";
    }
    float moor[3], rock[3];
    radar_land_colour(0.4f, 0.25f, moor);
    radar_land_colour(0.95f, 0.25f, rock);
    EXPECT_GT(moor[1], moor[0] + 0.1f);
    EXPECT_LT(std::fabs(rock[0] - rock[1]), 0.05f) << "grey";

    // The light comes from the image's first corner: a slope rising away from it faces it and is
    // lighter than one falling the same way, at the same height.
    HeightMap up, down;
    make_height_map(up, 64, 8, [](int x, int) { return uint16_t(20000 + 3000 * x); });
    make_height_map(down, 64, 8, [](int x, int) { return uint16_t(20000 + 3000 * (6 - x)); });
    std::vector<uint8_t> a, b;
    radar_land_image(up, 16, 0.25f, a);
    radar_land_image(down, 16, 0.25f, b);
    const size_t middle = (7 * 16 + 7) * 4;
    EXPECT_GT(a[middle + 1], b[middle + 1]);
}

TEST(CrystalBeams, AColumnTurnedToTheEyeFadingUpwardAndWithDistance)
{
    struct Case {
        float distance;
        float fade;
    };
    // Faint at the eye, whole from a few hundred units, under half far across the map.
    const Case fades[] = {{0, 0}, {150, 0}, {1000, 1}, {2000, 1}, {12000, 0.45f}, {40000, 0.45f}};
    for (const Case& c : fades) EXPECT_NEAR(beam_fade(c.distance), c.fade, 1e-4) << c.distance;
    EXPECT_GT(beam_fade(400), 0.1f);
    EXPECT_LT(beam_fade(400), 0.9f);

    Camera eye(60, 1.5f, 350000);
    RaceView v;
    RaceCrystal c;
    c.pos[0] = 0, c.pos[1] = 50, c.pos[2] = -1000;
    c.points = 10;
    v.crystals = {c};
    BeamLook look;
    std::vector<BeamVertex> beams;
    build_crystal_beams(v, eye, 0.05f, look, beams);
    ASSERT_EQ(beams.size(), 16u);
    // The middle of the base is the brightest, the edges and the top add nothing.
    EXPECT_NEAR(beams[0].y, 50, 1e-4);
    EXPECT_NEAR(beams[0].a, look.strength * beam_fade(std::sqrt(1000.0f * 1000 + 50 * 50)), 1e-4);
    EXPECT_EQ(beams[1].a, 0);
    EXPECT_NEAR(beams[6].y, 50 + look.height, 1e-3);
    EXPECT_EQ(beams[7].a, 0);
    // Turned to the eye along z: the strip spreads along x, here by its least width, 3 pixels at
    // 0.05 per pixel and 1001 units.
    EXPECT_NEAR(std::fabs(beams[1].x), 0.5f * 3 * 0.05f * 1001.25f, 0.05f);
    EXPECT_NEAR(beams[1].z, -1000, 1e-3);
    // Near by, its own width; a crystal under the water shines from the surface.
    v.crystals[0].pos[2] = -300, v.crystals[0].pos[1] = -40;
    build_crystal_beams(v, eye, 0.01f, look, beams);
    ASSERT_EQ(beams.size(), 16u);
    EXPECT_NEAR(std::fabs(beams[1].x), look.half_width, 1e-4);
    EXPECT_EQ(beams[0].y, 0);
    // None within a few steps of the eye.
    v.crystals[0].pos[2] = -100, v.crystals[0].pos[1] = 0;
    build_crystal_beams(v, eye, 0.01f, look, beams);
    EXPECT_TRUE(beams.empty());
}
