// What the benchmarks share: a clock in milliseconds, a way to run the game's chatty set-up
// without its console output, and the game's world made without a window.
#pragma once

#include "Ai/AiManager.h"
#include "Ai/EskelShip.h"
#include "Ai/Opponent.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Objects/Bridge.h"
#include "Objects/GenericObject.h"
#include "Objects/PlayerImpl.h"
#include "Objects/SceneryRules.h"
#include "Objects/StaticObject.h"
#include "Common/PlayerControls.h"
#include "Common/Random.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

inline double now_ms()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs `f` with standard output and standard error sent to /dev/null.
template <class F>
void quietly(F f)
{
    std::fflush(stdout);
    std::fflush(stderr);
    int saved_out = dup(1), saved_err = dup(2);
    FILE* null = std::fopen("/dev/null", "w");
    dup2(fileno(null), 1);
    dup2(fileno(null), 2);
    f();
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(saved_out, 1);
    dup2(saved_err, 2);
    close(saved_out);
    close(saved_err);
    std::fclose(null);
}

// The level's five bridges, without models. Their joints make the physics take every step
// longer than a sixtieth of a second in parts, as it does in the game.
inline std::vector<std::unique_ptr<Bridge>> build_bridges(TerrainPhysics& world)
{
    std::vector<std::unique_ptr<Bridge>> bridges;
    quietly([&] {
        const BridgeModelMaker no_plank_model = [](bool) -> Md2Instance* { return nullptr; };
        for (const char* f : {"config\\objects\\bridge.p", "config\\objects\\bridge3.p", "config\\objects\\bridge4.p",
                              "config\\objects\\bridge5.p", "config\\objects\\bridge6.p"})
            bridges.push_back(std::make_unique<Bridge>(f, world.scene, *world.ai_manager, no_plank_model));
    });
    return bridges;
}

// The game's world as a benchmark holds it, and the bridges built on it.
struct BenchWorld {
    std::unique_ptr<TerrainPhysics> physics;
    std::vector<std::unique_ptr<Bridge>> bridges;
};

// Changes into the game directory named by the first argument (default: ../game beside the
// program, as the build lays it out), where the game's relative paths hold, and makes the
// game's world there as the start-up does: the height map of the map file with its physics
// tiles, the physics set-up and the mapping to graphics units, and with `bridges` the level's
// five bridges. Quietly; no physics (with a line saying so) when the map or the physics cannot
// be made.
inline BenchWorld open_game_world(int argc, char** argv, bool bridges)
{
    namespace fs = std::filesystem;
    fs::current_path(argc > 1 ? fs::path(argv[1]) : fs::path(argv[0]).parent_path() / ".." / "game");
    auto world = std::make_unique<TerrainPhysics>(".\\config\\objects\\terrain.p");
    bool loaded = false;
    quietly([&] {
        ParameterFile map_file(".\\config\\map\\map1.p");
        ParameterFile gfx(".\\config\\gfx.p");
        if (hmap.readfile(map_file.getString("filename").c_str()) == -1) return;
        hmap.create_tiles(hmap.map_w / 8, hmap.map_h / 8, hmap.map_w / 16);
        // The terrain scale as the start-up derives it from the graphics file.
        const TerrainScale scale = terrain_scale_for(hmap.map_w, hmap.phys_map_w, gfx.getFloat("phys_minfact"),
                                                     gfx.getFloat("y_pgmland_scale"), waterlevel_frac);
        loaded = world->init_physics(hmap, scale);
        const float translate[3] = {0, scale.pgmland_offset, 0};
        GenericObject::set_physx2gfx_transform(scale.iface, translate);
    });
    if (!loaded) {
        std::printf("could not load the game's map and physics from %s\n", fs::current_path().c_str());
        return {};
    }
    world->scene->setTiming(0, 0, NX_TIMESTEP_VARIABLE);
    // Crystals without models: there is no window.
    EskelShip::make_crystal_instance = []() -> Md2Instance* { return nullptr; };
    BenchWorld out;
    if (bridges) out.bridges = build_bridges(*world);
    out.physics = std::move(world);
    return out;
}

// The level's vehicles where the population puts them, quietly: the eskel ship, five
// opponents and the player's hover (returned), all registered with the world's AI manager.
inline PlayerImpl* add_level_vehicles(TerrainPhysics& world)
{
    PlayerImpl* player = nullptr;
    quietly([&] {
        NxScene* scene = world.scene;
        AiManager& ai = *world.ai_manager;
        EskelShip* ship = new EskelShip(".\\config\\objects\\defaultEskel.p", scene, NxVec3(100, 55, 100), nullptr);
        ship->sample_height = world.scale.danger[1];
        ai.register_object(ship);
        for (int i = 0; i < 5; ++i)
            ai.register_object(new Opponent(".\\config\\objects\\defaultHo.p", scene, NxVec3(20.0f * i, 35, 120), nullptr));
        player = new PlayerImpl(scene, NxVec3(50, 35, 50), false, false, false);
        ai.register_object(player);
    });
    return player;
}

// The level's scenery as the population plants it (the same draws in the same order), without
// models, quietly; returns how many objects the world holds then.
inline size_t plant_level_scenery(TerrainPhysics& world)
{
    AiManager& ai = *world.ai_manager;
    quietly([&] {
        reset_game_rand();
        for (SceneryKind kind : {SceneryKind::tree, SceneryKind::mushroom, SceneryKind::lazyboy}) {
            const SceneryGroup& g = scenery_group(kind);
            const ScatterGroupKeys k = read_group_keys(ParameterFile(g.group_file));
            const std::vector<NxVec3> found = world.find_positions(
                k.obj_cnt, k.world_y_offset, k.world_y_height_range, k.world_min_distance, k.reject_slope);
            for (const SceneryItem& item : plan_scenery(world, kind, found,
                                                        read_model_keys(ParameterFile(g.model_file), kind),
                                                        k.gfx_y_translate)) {
                float at[3];
                item.pose.position.get(at);
                ai.register_object(new StaticObject(g.group_file, world.scene, at, nullptr, item.pose.rows[0],
                                                    item.pose.rows[1], item.pose.rows[2]));
            }
        }
    });
    return ai.all_objects.size();
}

// One physics step of `seconds`, as the frame runs it.
inline void physics_step(NxScene& scene, float seconds)
{
    scene.simulate(seconds);
    scene.flushStream();
    scene.fetchResults(NX_RIGID_BODY_FINISHED, true);
}

// Everybody back on the restart circle around the map's middle, as a new game puts them.
inline void restart_level(AiManager& ai)
{
    ai.restart(NxVec3(hmap.phys_map_w * 0.5f, 20, hmap.phys_map_h * 0.5f), 128);
}

inline void set_keys(PlayerImpl& p, const PlayerControls& c)
{
    p.set_forward(c.forward);
    p.set_backward(c.backward);
    p.set_left(c.left);
    p.set_right(c.right);
}

// The level's two ducks, without models, quietly.
inline void place_ducks(TerrainPhysics& world)
{
    quietly([&] {
        const float ducks[2][3] = {{102.0f, 20.0f, 294.5f}, {136.0f, 20.5f, 294.5f}};
        for (const auto& d : ducks)
            world.ai_manager->register_object(new StaticObject(".\\config\\objects\\defaultDuckStatic.p", world.scene, d,
                                                               nullptr, NxVec3(1, 0, 0), NxVec3(0, 1, 0), NxVec3(0, 0, 1)));
    });
}

// The value at quantile `q` (0.5 the median) of `samples`; 0 when there are none.
inline double quantile(std::vector<double> samples, double q)
{
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[std::min(samples.size() - 1, static_cast<size_t>(q * samples.size()))];
}
