// The physics world of the game: the SDK, the one scene, the default material, one static
// actor per cooked terrain tile, the ground plane at the water surface and the AI manager
// that receives trigger reports. One global object (defined by the main program) lives for
// the whole run; the SDK objects are released only when it is destroyed at program end,
// after which the allocator prints its statistics.
#pragma once

#include "Physics/ErrorStream.h"
#include "Physics/NxPhysics.h"
#include "Terrain/TerrainScale.h"

#include <cstdint>
#include <vector>

class AiManager;
class HeightMap;
class UserAllocator;
struct TerrainTileMesh;

// The ground's slope at one sample of the physics map: the two tangents along x and z (not
// normalised: their rise spans two samples while their run is 1) and the unit normal.
struct TerrainSlope {
    NxVec3 tx;
    NxVec3 normal;
    NxVec3 tz;
};

class TerrainPhysics {
public:
    // Reads vertical_extent, static_friction and dynamic_friction from the parameter file.
    explicit TerrainPhysics(const char* path);
    ~TerrainPhysics();
    TerrainPhysics(const TerrainPhysics&) = delete;
    TerrainPhysics& operator=(const TerrainPhysics&) = delete;

    // The set-up: SDK, scene with the AI manager as trigger receiver, default material,
    // the terrain tiles of `map` (cut by create_tiles) in the physics units of `scale`, kept
    // for the run, and the ground plane at the water surface (graphics height
    // scale.pgmland_offset). False when the SDK or the scene cannot be created.
    bool init_physics(const HeightMap& map, const TerrainScale& scale);

    // Builds, cooks and loads one static actor per tile of `map`. Ends the program (status 1)
    // when cooking fails.
    void create_terrain_physics(const HeightMap& map);

    // Releases the scene and the SDK, then the allocator, which prints its statistics.
    void release_physics();

    // The height of the height map `hmap` at physics-map sample (x, z), in physics units.
    float ground_height(long x, long z) const;

    // The slope of the height map `hmap` at physics-map sample (x, z); a neighbour beyond
    // the map's edge is replaced by the sample itself.
    TerrainSlope terrain_normal(long x, long z) const;

    // Up to n places for scenery, drawn at random from the game's generator over the
    // physics map of `hmap`: ground strictly between min_height and min_height +
    // height_range, less steep than reject_slope (1 - |normal.y|), and no place nearer than
    // min_distance to one found before. At most n * n candidates are drawn. Prints how many
    // were tried and found.
    std::vector<NxVec3> find_positions(int n, float min_height, float height_range, float min_distance,
                                       float reject_slope) const;

    float vertical_extent;
    float static_friction;
    float dynamic_friction;
    ErrorStream error_stream;
    UserAllocator* allocator = nullptr;
    NxPhysicsSDK* sdk = nullptr;
    NxScene* scene = nullptr;
    NxVec3 gravity{0, -9.81f, 0};
    TerrainTileMesh* tile_meshes = nullptr;
    uint32_t tile_mesh_count = 0;
    NxActor* terrain_actor = nullptr; // the last tile's actor
    NxActor* plane_actor = nullptr;
    AiManager* ai_manager = nullptr;
    TerrainScale scale;               // the height map in graphics and physics units
    float plane_d = 0;                // the ground plane's height in physics units
};

// The game's physics world: made on the first call (the main program's first step; a bad
// value in the terrain's file ends the program there) and kept to the end of the program.
TerrainPhysics& terrain_physics();

// Fills tile t's smooth vertex normals from its vertices and triangles.
void smooth_tile_normals(TerrainTileMesh& tile, uint32_t t);

// The file name of tile t's cooked mesh: "tmp_%d.bin".
void scratch_file_name(uint32_t t, char* out, size_t size);
