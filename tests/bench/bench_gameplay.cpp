// Prints the game logic's cost per frame (median and 95th percentile of each part) with the whole level on the game's
// map: the autopilot's player, five opponents, the eskel ship, two ducks and 30 crystals; then again with the five
// bridges built. The argument is the game directory (default: ../game beside this program, as the build lays it out).

#include "BenchKit.h"

#include "Ai/Autopilot.h"
#include "Ai/Collectable.h"
#include "Common/Platform.h"

int main(int argc, char** argv)
{
    BenchWorld world = open_game_world(argc, argv, false);
    if (!world.physics) return 1;
    TerrainPhysics& terrain_physics = *world.physics;
    NxScene& scene = *terrain_physics.scene;
    AiManager& ai = *terrain_physics.ai_manager;

    place_ducks(terrain_physics);
    PlayerImpl* player = add_level_vehicles(terrain_physics);
    quietly([&] {
        restart_level(ai);
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
        // Player update, AiManager update + flush, player sync, the physics step, the whole.
        std::vector<double> parts[5];
        quietly([&] {
            for (int f = 0; f < frames; ++f) {
                set_keys(*player, pilot.steer(*player, ai, process_clock_ms()));
                double t[5] = {now_ms()};
                player->update(2 * dt);
                t[1] = now_ms();
                ai.update(2 * dt);
                ai.flush();
                t[2] = now_ms();
                player->sync();
                t[3] = now_ms();
                physics_step(scene, 2 * dt);
                t[4] = now_ms();
                for (int p = 0; p < 4; ++p) parts[p].push_back(t[p + 1] - t[p]);
                parts[4].push_back(t[4] - t[0]);
            }
        });
        std::printf("%s: %d frames, %zu objects (%zu crystals left, player %d points, opponents", title, frames,
                    ai.all_objects.size(), ai.collectables.size(), ai.player_points());
        for (int s : ai.opponent_score_table()) std::printf(" %d", s);
        std::printf(")\n");
        const char* names[5] = {"player update:", "AiManager update + flush (syncs):", "player sync:",
                                "simulate + fetchResults:", "game logic per frame:"};
        for (int p = 0; p < 5; ++p)
            std::printf("%-34s median %7.3f ms   p95 %7.3f ms\n", names[p], quantile(parts[p], 0.5),
                        quantile(parts[p], 0.95));
    };
    measure(600, "the race");
    // The five bridges make the physics take the frame's step in sub-steps (their joints need them).
    world.bridges = build_bridges(terrain_physics);
    measure(300, "the race with the five bridges");
    quietly([&] { terrain_physics.release_physics(); });
    return 0;
}
