#include "Physics/TerrainPhysics.h"

#include "Ai/AiManager.h"
#include "Common/DataDir.h"
#include "Common/ParameterFile.h"
#include "Common/Random.h"
#include "Physics/Stream.h"
#include "Physics/UserAllocator.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainTileMesh.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const KeyRange kTerrainKeys[] = {
    {"vertical_extent", -1e5, 1e5, "physics units below the ground the terrain's collision reaches"},
    {"static_friction", 0, 100, "not negative"},
    {"dynamic_friction", 0, 100, "not negative"},
};

TerrainPhysics make_terrain_physics()
{
    try {
        return TerrainPhysics(".\\config\\objects\\terrain.p");
    } catch (const BadValueException&) {
        report_bad_value();
        std::exit(1);
    }
}

} // namespace

// The physics world lives from the first step of main to the very end of the program: its
// destructor releases the scene and the SDK, after which the allocator prints its
// statistics and any leaks. Made on first use, it never depends on the order in which
// other files' objects are constructed.
TerrainPhysics& terrain_physics()
{
    static TerrainPhysics world = make_terrain_physics();
    return world;
}

TerrainPhysics::TerrainPhysics(const char* path)
{
    ParameterFile p(path, {kTerrainKeys});
    vertical_extent = p.getFloat("vertical_extent");
    static_friction = p.getFloat("static_friction");
    dynamic_friction = p.getFloat("dynamic_friction");
}

TerrainPhysics::~TerrainPhysics()
{
    release_physics();
}

void TerrainPhysics::release_physics()
{
    // The AI manager's objects hold actors: they go while the scene still exists.
    delete ai_manager;
    ai_manager = nullptr;
    if (sdk) sdk->release();
    sdk = nullptr;
    scene = nullptr;
    terrain_actor = plane_actor = nullptr;
    delete[] tile_meshes;
    tile_meshes = nullptr;
    tile_mesh_count = 0;
    delete allocator; // prints the statistics and any leaks
    allocator = nullptr;
}

bool TerrainPhysics::init_physics(const HeightMap& map, const TerrainScale& terrain_scale)
{
    scale = terrain_scale;
    if (!allocator) allocator = new UserAllocator();
    NxSDKCreateError error;
    sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION, allocator, &error_stream, NxPhysicsSDKDesc(), &error);
    if (!sdk) return false;
    sdk->setParameter(NX_SKIN_WIDTH, 0.025f);
    // Two switches of the debug visualisation: stored, though nothing draws the SDK's view.
    sdk->setParameter(static_cast<NxParameter>(29), 1.0f);
    sdk->setParameter(static_cast<NxParameter>(27), 1.0f);

    ai_manager = new AiManager();
    NxSceneDesc desc;
    desc.gravity = gravity;
    desc.maxTimestep = 1.0f / 60.0f;
    desc.maxIter = 8;
    desc.userTriggerReport = ai_manager;
    scene = sdk->createScene(desc);
    if (!scene) {
        std::printf("\nError: Unable to create a PhysX scene, exiting the sample.\n\n");
        return false;
    }
    ai_manager->scene = scene;

    NxMaterial* material = scene->getMaterialFromIndex(0);
    material->setRestitution(0);
    material->setStaticFriction(static_friction);
    material->setDynamicFriction(dynamic_friction);

    std::printf("Creating Terrainphysics ... \n");
    create_terrain_physics(map);

    // The ground plane at the water surface: graphics height h, in physics units.
    NxPlaneShapeDesc plane;
    plane.normal = NxVec3(0, 1, 0);
    plane.materialIndex = material->getMaterialIndex();
    const float water_height = scale.pgmland_offset;
    plane.d = -water_height / scale.iface[0];
    std::printf("plane.d in world = %f\n", water_height);
    std::printf("planeDesc.d = %f\n", plane.d);
    plane_d = plane.d;
    ai_manager->plane_d = plane.d;
    ai_manager->sample_height = scale.danger[1];
    NxActorDesc actor;
    actor.shapes.pushBack(&plane);
    plane_actor = scene->createActor(actor);
    return true;
}

void scratch_file_name(uint32_t t, char* out, size_t size)
{
    std::snprintf(out, size, "tmp_%u.bin", t);
}

void TerrainPhysics::create_terrain_physics(const HeightMap& map)
{
    std::printf("B4 load\n");
    std::printf("\n\tPHYS - hmap should already exist\n\n");
    std::printf("after load\n");

    delete[] tile_meshes;
    tile_mesh_count = map.tile_cnt;
    tile_meshes = new TerrainTileMesh[tile_mesh_count];
    NxMaterialIndex material = scene->getMaterialFromIndex(0)->getMaterialIndex();
    std::vector<NxTriangleMesh*> meshes;

    for (uint32_t i = 0; i < map.tile_cnt; ++i) {
        std::printf("hmap.phys_ts = %u idx = %u\n", map.phys_ts, i);
        TerrainTileMesh& tile = tile_meshes[i];
        tile.build_tile_mesh(map, i, scale);
        smooth_tile_normals(tile, i);
        std::printf("hmap.phys_ts%u\n", map.phys_ts);
        std::printf("Terrain data from liled_outfile created ...\n");

        NxTriangleMeshDesc desc;
        desc.numVertices = tile.vertex_count;
        desc.numTriangles = tile.triangle_count;
        desc.pointStrideBytes = 12;
        desc.triangleStrideBytes = 12;
        desc.points = tile.vertices;
        desc.triangles = tile.triangles;
        desc.flags = 0;
        desc.heightFieldVerticalAxis = NX_Y;
        desc.heightFieldVerticalExtent = vertical_extent;

        if (!NxInitCooking(allocator, &error_stream)) {
            std::printf("Unable to initialize the cooking library. Please make sure that you have correctly "
                        "installed the latest version of the AGEIA PhysX SDK.");
            std::exit(1);
        }
        char file_name[32];
        scratch_file_name(i, file_name, sizeof file_name);
        const std::string path = scratch_path(file_name);
        const char* name = path.c_str();
        std::printf("Try to start cooking from file ...\n\n");
        bool cooked;
        {
            UserStream out(name, false);
            cooked = NxCookTriangleMesh(desc, out);
            if (cooked) out.commit();
        }
        if (!cooked) {
            std::printf("Unable to cook a triangle mesh from file !");
            std::exit(1);
        }
        NxTriangleMesh* mesh;
        {
            UserStream in(name, true);
            mesh = sdk->createTriangleMesh(in);
        }
        if (!mesh) {
            // A scratch file that does not read back as it was written (the disk changed it
            // under us) leaves the landscape without collision: as fatal as failed cooking.
            std::printf("Unable to cook a triangle mesh from file !");
            std::exit(1);
        }

        meshes.push_back(mesh);
        NxCloseCooking();
    }

    // The actors come once every tile is cooked: each waits for its mesh's tree, and the
    // trees build side by side meanwhile.
    for (NxTriangleMesh* mesh : meshes) {
        NxTriangleMeshShapeDesc shape;
        shape.meshData = mesh;
        shape.materialIndex = material;
        NxActorDesc actor;
        actor.shapes.pushBack(&shape);
        terrain_actor = scene->createActor(actor);
        terrain_actor->userData = nullptr;
    }
}

float TerrainPhysics::ground_height(long x, long z) const
{
    return static_cast<float>(hmap.phys_at(x, z)) * scale.danger[1];
}

TerrainSlope TerrainPhysics::terrain_normal(long x, long z) const
{
    const long w = static_cast<long>(hmap.phys_map_w), h = static_cast<long>(hmap.phys_map_h);
    long right = x + 1 < w ? x + 1 : x, left = x - 1 >= 0 ? x - 1 : x;
    long down = z + 1 < h ? z + 1 : z, up = z - 1 >= 0 ? z - 1 : z;
    TerrainSlope s;
    s.tx = NxVec3(1, ground_height(right, z) - ground_height(left, z), 0);
    s.tz = NxVec3(0, ground_height(x, down) - ground_height(x, up), 1);
    s.normal = s.tz.cross(s.tx);
    s.normal.normalize();
    return s;
}

std::vector<NxVec3> TerrainPhysics::find_positions(int n, float min_height, float height_range,
                                                   float min_distance, float reject_slope) const
{
    const float W = static_cast<float>(hmap.phys_map_w) * scale.danger[0];
    const float H = static_cast<float>(hmap.phys_map_h) * scale.danger[2];
    const float upper = min_height + height_range;
    const float d2 = min_distance * min_distance;
    // A count below zero wants nothing, like zero (its square would ask for draws).
    const long long max_tries = n > 0 ? static_cast<long long>(n) * n : 0;
    std::vector<NxVec3> found;
    long long tries = 0;
    while (tries < max_tries) {
        ++tries;
        const long x = static_cast<long>(W * rand_uniform());
        const long z = static_cast<long>(H * rand_uniform());
        const float h = ground_height(x, z);
        const NxVec3 normal = terrain_normal(x, z).normal;
        if (!(h > min_height && upper > h && reject_slope > 1.0f - std::fabs(normal.y))) continue;
        const NxVec3 candidate(static_cast<float>(x), h, static_cast<float>(z));
        bool crowded = false;
        for (const NxVec3& p : found) {
            const NxVec3 d = candidate - p;
            if (d2 > d.x * d.x + d.y * d.y + d.z * d.z) {
                crowded = true;
                break;
            }
        }
        if (crowded) continue;
        found.push_back(candidate);
        if (found.size() == static_cast<size_t>(n)) break;
    }
    std::fprintf(stderr, "tried %lld positions and found %zu valid tree positions\n", tries, found.size());
    return found;
}

static_assert(sizeof(NxVec3) == 3 * sizeof(float), "the tile's arrays are handed to the physics SDK as NxVec3");

void smooth_tile_normals(TerrainTileMesh& tile, uint32_t t)
{
    delete[] tile.normals;
    tile.normals = new float[static_cast<size_t>(tile.vertex_count) * 3];
    NxGetUtilLib()->NxBuildSmoothNormals(tile.triangle_count, tile.vertex_count,
                                         reinterpret_cast<const NxVec3*>(tile.vertices), tile.triangles, nullptr,
                                         reinterpret_cast<NxVec3*>(tile.normals), true);
    std::printf("Init terrain normals done ... idx = %d\n", t);
}
