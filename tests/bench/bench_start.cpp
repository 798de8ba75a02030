// Prints what becomes of the player's hover driven at full power from where a game sets it down (the README's
// benchmark table lists the figures). The argument is the game directory (default: ../game beside this program).

#include "BenchKit.h"

#include "Common/Platform.h"
#include "Objects/HoverPhysics.h"

#include <cmath>
#include <deque>

namespace {

const float kStep = 1.0f / 30.0f; // a game at 60 frames a second

struct Drive {
    NxVec3 from, to;
    float heading = 0;
    float fall = 0;           // the hover's greatest loss of height within a second
    float lowest_up = 1;      // the up axis' lowest y: 1 level, 0 on its side
    float slowest = 1e9f;     // its slowest speed across once under way (after 1.5 s)
    float trouble = -1;       // when it first tilted past 30 degrees or stalled under way, or -1
};

struct Game {
    NxScene& scene;
    AiManager& ai;
    PlayerImpl& player;
    long clock_ms = 0;

    void frame()
    {
        clock_ms += static_cast<long>(kStep * 1000.0f);
        hold_process_clock(clock_ms);
        player.update(kStep);
        ai.update(kStep);
        ai.flush();
        physics_step(scene, kStep);
    }

    Drive drive(bool forward)
    {
        restart_level(ai);
        set_keys(player, PlayerControls());
        for (float t = 0; t < 1.0f; t += kStep) frame();
        Drive d;
        d.from = player.actor->getGlobalPosition();
        d.heading = heading_degrees(player.forward_axis());
        forward ? player.set_forward(true) : player.set_backward(true);
        std::deque<float> last_second;
        for (float t = 0; t < 6.0f; t += kStep) {
            frame();
            NxVec3 p = player.actor->getGlobalPosition();
            last_second.push_back(p.y);
            if (last_second.size() > static_cast<size_t>(1.0f / kStep)) last_second.pop_front();
            d.fall = std::max(d.fall, *std::max_element(last_second.begin(), last_second.end()) - p.y);
            d.lowest_up = std::min(d.lowest_up, player.up_axis().y);
            const NxVec3 v = player.actor->getLinearVelocity();
            const float speed = std::hypot(v.x, v.z);
            if (t > 1.5f) d.slowest = std::min(d.slowest, speed);
            const bool tilted = player.up_axis().y < std::cos(30.0f * 3.14159265f / 180.0f);
            if (d.trouble < 0 && (tilted || (t > 1.5f && speed < 2.0f))) d.trouble = t;
        }
        set_keys(player, PlayerControls());
        d.to = player.actor->getGlobalPosition();
        return d;
    }
};

} // namespace

int main(int argc, char** argv)
{
    BenchWorld bench = open_game_world(argc, argv, true);
    if (!bench.physics) return 1;
    TerrainPhysics* world = bench.physics.get();
    AiManager& ai = *world->ai_manager;
    const size_t scenery = plant_level_scenery(*world);
    PlayerImpl* player = add_level_vehicles(*world);
    Game game{*world->scene, ai, *player};

    // The ground along both ways from the player's place, every 10 units.
    quietly([&] { restart_level(ai); });
    const NxVec3 place = player->actor->getGlobalPosition(), nose = player->forward_axis();
    for (int way : {1, -1}) {
        std::printf("the ground %s from the place:", way > 0 ? "ahead" : "behind");
        for (int d = 0; d <= 90; d += 10) {
            NxVec3 at = place + nose * static_cast<float>(way * d);
            long x = static_cast<long>(at.x), z = static_cast<long>(at.z);
            float h = hmap.phys_inside(x, z) ? hmap.phys_at(x, z) * world->scale.danger[1] : 0;
            std::printf(" %d: %.1f", d, h);
        }
        std::printf("\n");
    }

    std::printf("The start among %zu scenery objects: the player's hover from its place on the restart circle, 6 s of "
                "physics at full power (physics units; the water is at %.1f)\n", scenery, world->plane_d);
    for (int g = 0; g < 6; ++g) {
        bool forward = g % 2 == 0;
        Drive d;
        quietly([&] { d = game.drive(forward); });
        std::printf("game %d, %-8s from (%5.1f %4.1f %5.1f) heading %5.1f to (%5.1f %4.1f %5.1f): %5.1f across, "
                    "greatest fall %4.1f in a second, tilt up to %4.1f deg, slowest %4.1f u/s, %s%.1f s\n",
                    g + 1, forward ? "Up" : "Down", d.from.x, d.from.y, d.from.z, d.heading, d.to.x, d.to.y, d.to.z,
                    std::hypot(d.to.x - d.from.x, d.to.z - d.from.z), d.fall,
                    std::acos(std::clamp(d.lowest_up, -1.0f, 1.0f)) * 180.0f / 3.14159265f, d.slowest,
                    d.trouble < 0 ? "no tilt past 30 deg nor a stall in " : "tilted past 30 deg or stalled after ",
                    d.trouble < 0 ? 6.0f : d.trouble);
    }
    hold_process_clock(-1);
    quietly([&] { world->release_physics(); });
    return 0;
}
