// Plays whole races without a window and prints how the human model of the player fares against each level
// of the opponents (the README's benchmark table says how), seeing only what a 1024 x 768 window would show.
//
//   race_balance <game directory> [games per level, 20] [levels: easy normal hard]

#include "BenchKit.h"

#include "Ai/HumanPilot.h"
#include "Ai/RaceView.h"
#include "Common/Camera.h"
#include "Common/Difficulty.h"
#include "Common/FollowCamera.h"
#include "Common/Platform.h"
#include "Common/RaceOverlay.h"

#include <cstdlib>

namespace {

const float kFrame = 1.0f / 60.0f;   // game seconds a frame
const float kTimeScale = 2.0f;       // physics seconds a game second, as the game runs them
const float kLongestGame = 1200.0f;  // game seconds before a game counts as lost to the clock

struct Race {
    TerrainPhysics& world;
    PlayerImpl& player;
    int winning_points = 0;
    double clock_ms = 0;
    Camera eye{60.0f, 1.5f, 350000.0f};
    EasedLift lift;
    HumanPilot pilot;
    RaceView view;
    RaceOverlay overlay;
    OverlaySettings settings;
    ScreenFacts facts;

    Race(TerrainPhysics& w, PlayerImpl& p, int points) : world(w), player(p), winning_points(points)
    {
        settings.width = facts.width = 1024;
        settings.height = facts.height = 768;
        eye.set_aspect(float(settings.width) / float(settings.height));
        facts.fov_deg = eye.fov;
        const float* pgmland = world.scale.pgmland;
        settings.map_size[0] = pgmland[0] > 0 ? 1.0f / pgmland[0] : 0.0f;
        settings.map_size[1] = pgmland[2] > 0 ? 1.0f / pgmland[2] : 0.0f;
    }

    // One frame in the game's order: the keys, the objects' update, the camera, the physics
    // step, the screen (which the model looks at), the trigger reports.
    void frame(float game_seconds)
    {
        clock_ms += kFrame * 1000.0;
        hold_process_clock(static_cast<long>(clock_ms));
        const PlayerControls c = pilot.act(game_seconds);
        set_keys(player, c);
        if (c.jump) player.jump(game_seconds);
        const float step = kTimeScale * kFrame;
        player.update(step);
        world.ai_manager->update(step);
        world.ai_manager->flush();
        player.sync();
        const float* p = player.gfx_position;
        const NxVec3 nose = player.forward_axis();
        follow_hover(eye, Vec3d(p[0], p[1], p[2]), Vec3d(nose.x, nose.y, nose.z), hmap, world.scale, lift, kFrame);
        world.scene->simulate(step);
        world.scene->flushStream();
        read_race_view(*world.ai_manager, view);
        facts.units_per_metre = view.units_per_metre;
        layout_race_overlay(view, eye, settings, overlay);
        pilot.look(overlay, facts, game_seconds, view.player);
        world.scene->fetchResults(NX_RIGID_BODY_FINISHED, true);
    }

    // A game from the restart to its end: true when the player won; its length in game seconds.
    bool play(float& seconds)
    {
        AiManager& ai = *world.ai_manager;
        restart_level(ai);
        pilot.reset();
        lift = EasedLift();
        for (seconds = 0; seconds < kLongestGame;) {
            seconds += kFrame;
            frame(seconds);
            // As the display judges: the player first.
            if (ai.player_points() >= winning_points) return true;
            for (int s : ai.opponent_score_table())
                if (s >= winning_points) return false;
        }
        return false;
    }
};

float median(std::vector<float> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5f * (v[n / 2 - 1] + v[n / 2]);
}

} // namespace

int main(int argc, char** argv)
{
    const int games = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::vector<Difficulty> levels;
    for (int i = 3; i < argc; ++i) {
        Difficulty d;
        if (!parse_difficulty(argv[i], d)) {
            std::fprintf(stderr, "race_balance: no level \"%s\" (easy, normal or hard)\n", argv[i]);
            return 2;
        }
        levels.push_back(d);
    }
    if (levels.empty()) levels = {Difficulty::Easy, Difficulty::Normal, Difficulty::Hard};

    // The clock stands from the start: what the world sets up from it (the ship's first
    // waypoint and drop) must not depend on how long the loading took.
    hold_process_clock(0);
    BenchWorld bench = open_game_world(std::min(argc, 2), argv, true);
    if (!bench.physics) return 1;
    TerrainPhysics& world = *bench.physics;
    AiManager& ai = *world.ai_manager;
    plant_level_scenery(world);
    place_ducks(world);
    PlayerImpl* player = add_level_vehicles(world);
    if (ai.ship) quietly([&] { ai.ship->prepare_crystals(); });

    static const KeyRange level_keys[] = {{"winning_points", 1, 1e6, nullptr}};
    Race race(world, *player, ParameterFile(".\\config\\levels\\level1.p", {level_keys}).getInt("winning_points"));

    for (Difficulty d : levels) {
        quietly([&] { for (Opponent* o : ai.opponents) o->drive_by(opponent_file(d)); });
        int wins = 0;
        std::vector<float> lengths;
        for (int g = 0; g < games; ++g) {
            float seconds = 0;
            bool won = false;
            quietly([&] { won = race.play(seconds); });
            wins += won ? 1 : 0;
            lengths.push_back(seconds);
            std::fprintf(stderr, "%s game %d: %s after %.0f s (you %d, opponents", difficulty_name(d), g + 1,
                         won ? "won" : "lost", seconds, ai.player_points());
            for (int s : ai.opponent_score_table()) std::fprintf(stderr, " %d", s);
            std::fprintf(stderr, ")\n");
        }
        std::printf("balance: %s wins %.0f%% median %.0f s over %d games\n", difficulty_name(d),
                    100.0 * wins / games, median(lengths), games);
        std::fflush(stdout);
    }
    hold_process_clock(-1);
    quietly([&] { world.release_physics(); });
    return 0;
}
