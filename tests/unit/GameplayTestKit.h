// A world for the gameplay tests, whose frames run in the game's order (forces once per frame, then one
// physics step of the frame's length), and height maps whose physics samples are chosen directly.
#pragma once

#include "Console.h"
#include "GameDir.h"
#include "PhysicsTestKit.h"
#include "TempDir.h"

#include "Ai/AiManager.h"
#include "Ai/Collectable.h"
#include "Ai/EskelShip.h"
#include "Ai/Opponent.h"
#include "Common/Globals.h"
#include "Common/Platform.h"
#include "Objects/MovingObject.h"
#include "Objects/PlayerImpl.h"
#include "Terrain/HeightMap.h"
#include "Terrain/TerrainScale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A map_w x map_w map, cut as the game's start-up does into a map_w / 8 physics map in tiles of `ts`.
inline void make_height_map(HeightMap& map, int map_w, unsigned ts, const std::function<uint16_t(int, int)>& phys)
{
    map.map_w = map.map_h = map_w;
    map.map_data = new uint16_t[static_cast<size_t>(map_w) * map_w];
    for (int y = 0; y < map_w; ++y)
        for (int x = 0; x < map_w; ++x) map.map_data[y * map_w + x] = phys(x / 8, y / 8);
    printed([&] { map.create_tiles(map_w / 8, map_w / 8, ts); });
}

// The game's terrain scale for `map`: one physics unit is 32 graphics units.
inline TerrainScale game_terrain_scale(const HeightMap& map)
{
    return terrain_scale_for(map.map_w, map.phys_map_w, 4.0f, 0.15625f, waterlevel_frac);
}

// Sets the mapping from physics to graphics units quietly (its report is judged where the game
// starts). It starts as the identity, and each test leaves it so.
inline void set_gfx_mapping(const NxVec3& s, const NxVec3& t)
{
    float scale[3], translate[3];
    s.get(scale);
    t.get(translate);
    printed([&] { GenericObject::set_physx2gfx_transform(scale, translate); });
}

struct PlayedSound {
    std::string name;
    NxVec3 at;
};

inline std::vector<PlayedSound> played_sounds;

inline int sounds_named(const std::string& name)
{
    return std::count_if(played_sounds.begin(), played_sounds.end(), [&](auto& s) { return s.name == name; });
}

class GameWorld : public ::testing::Test {
protected:
    void SetUp() override
    {
        sdk = NxCreatePhysicsSDK(NX_PHYSICS_SDK_VERSION);
        ai = new AiManager();
        scene = make_scene(*sdk, ai);
        ai->scene = scene;
        saved_sound = MovingObject::play_sound;
        MovingObject::play_sound = [](const char* name, const float p[3]) {
            played_sounds.push_back({name, NxVec3(p[0], p[1], p[2])});
        };
        played_sounds.clear();
        saved_crystal_maker = EskelShip::make_crystal_instance; // no models without a window
        EskelShip::make_crystal_instance = []() -> Md2Instance* { return nullptr; };
        clock_ms = 100000;
        hold_process_clock(clock_ms);
    }
    void TearDown() override
    {
        set_gfx_mapping(NxVec3(1, 1, 1), NxVec3(0, 0, 0));
        hold_process_clock(-1);
        MovingObject::play_sound = saved_sound;
        EskelShip::make_crystal_instance = saved_crystal_maker;
        delete ai;
        sdk->release();
    }

    void fresh_world()
    {
        TearDown();
        SetUp();
    }

    // Flat ground of `cells` x `cells` units at height `h`, its corner at the origin.
    void flat_ground(float h, unsigned cells = 96)
    {
        GridMesh grid(cells, [h](float, float) { return h; });
        MemoryStream cooked;
        ASSERT_TRUE(cook(grid.desc(), cooked));
        NxTriangleMesh* mesh = sdk->createTriangleMesh(cooked);
        ASSERT_NE(mesh, nullptr);
        make_mesh_actor(*scene, mesh);
    }

    // The ground plane at height `h` (the water surface of the game).
    void ground_plane(float h)
    {
        NxPlaneShapeDesc plane;
        plane.d = h;
        NxActorDesc actor;
        actor.shapes.pushBack(&plane);
        scene->createActor(actor);
        ai->plane_d = h;
    }

    PlayerImpl* make_player(const NxVec3& at)
    {
        PlayerImpl* p = new PlayerImpl(scene, at, false, false, false, game_file("config/objects/player.p").c_str());
        p->set_backward(false);
        ai->register_object(p);
        return p;
    }
    Opponent* make_opponent(const NxVec3& at, const std::string& path = game_file("config/objects/defaultHo.p"))
    {
        Opponent* o = new Opponent(path.c_str(), scene, at, nullptr);
        ai->register_object(o);
        return o;
    }
    Collectable* make_crystal(const NxVec3& at)
    {
        auto* c = new Collectable(game_file("config/objects/defaultCollectable.p").c_str(), scene, at, 10, nullptr);
        ai->register_object(c);
        return c;
    }

    // One frame of `dt` seconds of simulated time, in the game's order.
    void frame(float dt)
    {
        clock_ms += static_cast<long>(dt * 1000.0f);
        hold_process_clock(clock_ms);
        if (ai->player) ai->player->update(dt);
        ai->update(dt);
        ai->flush();
        scene->simulate(dt);
        scene->flushStream();
        scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    }

    void run(float seconds, float dt)
    {
        for (float t = 0; t < seconds; t += dt) frame(dt);
    }

    NxPhysicsSDK* sdk = nullptr;
    NxScene* scene = nullptr;
    AiManager* ai = nullptr;
    long clock_ms = 0;
    void (*saved_sound)(const char*, const float[3]) = nullptr;
    Md2Instance* (*saved_crystal_maker)() = nullptr;
    TempDir dir;
};
