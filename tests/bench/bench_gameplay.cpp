// Prints the game logic's cost per frame (median and 95th percentile of each part) with the whole level on the game's
// map: the autopilot's player, five opponents, the eskel ship, two ducks and 30 crystals; then again with the five
// bridges built. The argument is the game directory (default: ../game beside this program, as the build lays it out).

#include "BenchKit.h"

#include "Ai/AiManager.h"
#include "Ai/Autopilot.h"
#include "Ai/Collectable.h"
#include "Ai/EskelShip.h"
#include "Ai/Opponent.h"
#include "Common/Globals.h"
#include "Common/ParameterFile.h"
#include "Common/Platform.h"
#include "Objects/Bridge.h"
#include "Objects/GenericObject.h"
#include "Objects/PlayerImpl.h"
#include "Objects/StaticObject.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/HeightMap.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

struct Figures {
    std::vector<double> samples;
    void add(double ms) { samples.push_back(ms); }
    double at(double q)
    {
        std::vector<double> s = samples;
        std::sort(s.begin(), s.end());
        return s.empty() ? 0 : s[std::min(s.size() - 1, static_cast<size_t>(q * s.size()))];
    }
    void print(const char* what)
    {
        std::printf("%-34s median %7.3f ms   p95 %7.3f ms\n", what, at(0.5), at(0.95));
    }
};

} // namespace

int main(int argc, char** argv)
{
    BenchWorld world = open_game_world(argc, argv, false);
    if (!world.physics) return 1;
    TerrainPhysics& terrain_physics = *world.physics;
    NxScene& scene = *terrain_physics.scene;
    AiManager& ai = *terrain_physics.ai_manager;

    quietly([&] {
        const float ducks[2][3] = {{102.0f, 20.0f, 294.5f}, {136.0f, 20.5f, 294.5f}};
        for (const auto& d : ducks)
            ai.register_object(new StaticObject(".\\config\\objects\\defaultDuckStatic.p", &scene, d, nullptr,
                                                NxVec3(1, 0, 0), NxVec3(0, 1, 0), NxVec3(0, 0, 1)));
    });
    PlayerImpl* player = add_level_vehicles(terrain_physics);
    quietly([&] {
        ai.restart(NxVec3(hmap.phys_map_w * 0.5f, 20, hmap.phys_map_h * 0.5f), 128);
        // 30 crystals on the land around the circle's centre.
        for (int i = 0; i < 30; ++i) {
            float x = 180.0f + 15.0f * (i % 6), z = 180.0f + 30.0f * (i / 6);
            float y = std::max(terrain_physics.plane_d, hmap.phys_at(long(x), long(z)) * terrain_physics.scale.danger[1]) + 2;
            ai.register_object(new Collectable(".\\config\\objects\\defaultCollectable.p", &scene, NxVec3(x, y, z), 10,
                                               nullptr));
        }
    });
    if (ai.ship) ai.ship->next_drop_time = process_clock_ms() + 3600 * 1000; // 30 crystals stay 30

    Autopilot pilot;
    const float dt = 0.05f; // the capped frame of a slow machine
    // Runs `frames` frames of the game logic and prints their figures.
    auto measure = [&](int frames, const char* title) {
        Figures player_update, manager, sync, physics, total;
        quietly([&] {
            for (int f = 0; f < frames; ++f) {
                PlayerControls c = pilot.steer(*player, ai, process_clock_ms());
                player->set_forward(c.forward), player->set_backward(c.backward);
                player->set_left(c.left), player->set_right(c.right);
                double t0 = now_ms();
                player->update(2 * dt);
                double t1 = now_ms();
                ai.update(2 * dt);
                ai.flush();
                double t2 = now_ms();
                player->sync();
                double t3 = now_ms();
                scene.simulate(2 * dt);
                scene.flushStream();
                scene.fetchResults(NX_RIGID_BODY_FINISHED, true);
                double t4 = now_ms();
                player_update.add(t1 - t0), manager.add(t2 - t1), sync.add(t3 - t2), physics.add(t4 - t3);
                total.add(t4 - t0);
            }
        });
        std::printf("%s: %d frames, %zu objects (%zu crystals left, player %d points, opponents", title, frames,
                    ai.all_objects.size(), ai.collectables.size(), ai.player_points());
        for (int s : ai.opponent_score_table()) std::printf(" %d", s);
        std::printf(")\n");
        for (auto [figures, what] : {std::pair{&player_update, "player update:"},
                                     {&manager, "AiManager update + flush (syncs):"}, {&sync, "player sync:"},
                                     {&physics, "simulate + fetchResults:"}, {&total, "game logic per frame:"}})
            figures->print(what);
    };
    measure(600, "the race");
    // The five bridges make the physics take the frame's step in sub-steps (their joints need them).
    world.bridges = build_bridges(terrain_physics);
    measure(300, "the race with the five bridges");
    quietly([&] { terrain_physics.release_physics(); });
    return 0;
}
