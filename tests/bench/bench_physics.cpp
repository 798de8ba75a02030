// Prints what the physics costs: the start-up work of building, cooking and loading the
// terrain tiles of a 4096 x 4096 map (a 512 x 512 physics map in 4 tiles of 256), and one
// simulate + fetchResults with 100 boxes resting on that terrain.

#include "BenchKit.h"
#include "unit/PhysicsTestKit.h"

#include "Terrain/TerrainTileMesh.h"

#include <cmath>
#include <fstream>
#include <string>

int main()
{
    const int W = 4096;
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("moorhold-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);
    std::ofstream("terrain.p") << "vertical_extent=-20.0\nstatic_friction=0.5\ndynamic_friction=0.4\n";

    HeightMap map;
    map.map_w = map.map_h = W;
    map.map_data = new uint16_t[size_t(W) * W];
    for (int y = 0; y < W; ++y)
        for (int x = 0; x < W; ++x)
            map.map_data[size_t(y) * W + x] =
                uint16_t(30000 + 12000 * std::sin(x * 0.003) * std::cos(y * 0.0021) + 4000 * std::sin((x + y) * 0.011));
    quietly([&] { map.create_tiles(W / 8, W / 8, W / 16); });
    const TerrainScale scale = terrain_scale_for(W, map.phys_map_w, 4.0f, 0.15625f, waterlevel_frac);

    std::printf("physics map %u x %u, %u tiles of %u (%u vertices, %u triangles each)\n", map.phys_map_w,
                map.phys_map_h, map.tile_cnt, map.phys_ts, (map.phys_ts + 1) * (map.phys_ts + 1),
                2 * map.phys_ts * map.phys_ts);

    // The parts of the start-up one by one.
    double t0 = now_ms();
    TerrainTileMesh* meshes = new TerrainTileMesh[map.tile_cnt];
    quietly([&] {
        for (uint32_t t = 0; t < map.tile_cnt; ++t) {
            meshes[t].build_tile_mesh(map, t, scale);
            smooth_tile_normals(meshes[t], t);
        }
    });
    std::printf("build tile meshes:        %8.1f ms\n", now_ms() - t0);
    delete[] meshes;

    // The whole set-up as the game runs it: build, cook to the scratch files, load, actors.
    TerrainPhysics physics("terrain.p");
    t0 = now_ms();
    bool ok = false;
    quietly([&] { ok = physics.init_physics(map, scale); });
    if (!ok) {
        std::printf("the physics set-up failed\n");
        return 1;
    }
    std::printf("set-up with all tiles:    %8.1f ms (build, cook, scratch files, load, actors)\n", now_ms() - t0);

    // 100 boxes dropped onto the terrain and left to settle.
    NxScene& scene = *physics.scene;
    scene.setTiming(0, 0, NX_TIMESTEP_VARIABLE);
    for (int i = 0; i < 100; ++i) {
        float x = 40.0f + 43.0f * (i % 10), z = 40.0f + 43.0f * (i / 10);
        float h = map.phys_at(long(x), long(z)) * scale.danger[1];
        make_box(scene, NxVec3(x, h + 3, z), NxVec3(0.5f, 0.4f, 0.7f), true, NX_SF_VISUALIZATION, 0, 10);
    }
    step(scene, 300);
    int awake = 0;
    for (NxU32 i = 0; i < scene.getNbActors(); ++i)
        awake += scene.getActors()[i]->isDynamic() && !scene.getActors()[i]->isSleeping();
    const int steps = 200;
    t0 = now_ms();
    step(scene, steps);
    std::printf("simulate + fetchResults:  %8.3f ms per step, 100 resting boxes (%d still awake)\n",
                (now_ms() - t0) / steps, awake);

    // The same with every box kept awake, as when vehicles drive among them.
    t0 = now_ms();
    for (int i = 0; i < steps; ++i) {
        for (NxU32 k = 0; k < scene.getNbActors(); ++k)
            if (scene.getActors()[k]->isDynamic()) scene.getActors()[k]->wakeUp();
        step(scene, 1);
    }
    std::printf("simulate + fetchResults:  %8.3f ms per step, 100 boxes kept awake\n", (now_ms() - t0) / steps);

    quietly([&] { physics.release_physics(); });
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
    return 0;
}
