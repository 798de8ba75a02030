#include "Ai/GameplayFrame.h"

#include "Ai/AiManager.h"
#include "Ai/Autopilot.h"
#include "Ai/HumanPilot.h"
#include "Ai/Opponent.h"
#include "Ai/RaceView.h"
#include "Common/Difficulty.h"
#include "Common/GameFlow.h"
#include "Common/Platform.h"
#include "Common/PlayerControls.h"
#include "Common/TestSeams.h"
#include "Gfx/RingTrail.h"
#include "Objects/GenericObject.h"
#include "Objects/LevelPopulation.h"
#include "Objects/PlayerImpl.h"
#include "Physics/TerrainPhysics.h"
#include "Terrain/HeightMap.h"

#include <cstdio>


namespace {

Autopilot autopilot;
HumanPilot human_pilot;
const std::vector<int> no_scores;

AiManager* manager()
{
    return terrain_physics().ai_manager;
}

void print_score(MovingObject* collector, int opponent_index, int points, int value, int multiplier)
{
    if (opponent_index < 0 && collector && collector->type == OBJECT_PLAYER)
        std::printf("score: player %d (crystal %dx%d)\n", points, value, multiplier);
    else
        std::printf("score: opponent %d %d (crystal %dx%d)\n", opponent_index, points, value, multiplier);
    std::fflush(stdout);
}

struct RingFrame {
    float time_now, dt, clock_dt, height_limit;
    std::vector<const RingTrail*>* seen;
};

void leave_rings_of(MovingObject* o, void* arg)
{
    if (o->type == OBJECT_STATIC || o->type == OBJECT_ESKEL_SHIP) return;
    const RingFrame& f = *static_cast<const RingFrame*>(arg);
    update_ring_trail(o->rings, o->type, o->physx_position[1], o->gfx_position[0], o->gfx_position[2], f.time_now,
                      f.dt, f.clock_dt, f.height_limit, *f.seen);
}

} // namespace

void steer_player(float time_now)
{
    PlayerImpl* p = game_player;
    if (!p) return;
    PlayerControls c = player_controls;
    if (test_seams.autopilot && manager()) {
        PlayerControls a = autopilot.steer(*p, *manager(), process_clock_ms());
        c.forward |= a.forward, c.backward |= a.backward, c.left |= a.left, c.right |= a.right;
        c.jump |= a.jump, c.set_upright |= a.set_upright;
    }
    if (test_seams.human_pilot) {
        PlayerControls a = human_pilot.act(game_flow.time_total);
        c.forward |= a.forward, c.backward |= a.backward, c.left |= a.left, c.right |= a.right;
        c.jump |= a.jump;
    }
    p->set_forward(c.forward);
    p->set_backward(c.backward);
    p->set_left(c.left);
    p->set_right(c.right);
    if (c.jump) p->jump(time_now);
    if (c.set_upright) p->set_upright(p->up_axis(), p->shoot_min_slope, true);
    player_controls.jump = player_controls.set_upright = false;
}

void update_game_objects(float seconds)
{
    if (game_player) game_player->update(seconds);
    if (AiManager* ai = manager()) {
        ai->update(seconds);
        ai->flush();
    }
}

void sync_player()
{
    if (game_player) game_player->sync();
}

void log_player(float game_seconds, float time_scale)
{
    PlayerImpl* p = game_player;
    if (!test_seams.log_player || !p || !p->actor) return;
    const float* g = p->gfx_position;
    NxVec3 v = p->actor->getLinearVelocity();
    const float* s = GenericObject::physx2gfx_scale;
    NxVec3 gfx_velocity(v.x * s[0], v.y * s[1], v.z * s[2]);
    std::printf("player: %.3f %.2f %.2f %.2f %.2f %.2f\n", game_seconds, g[0], g[1], g[2],
                heading_degrees(p->forward_axis()), gfx_velocity.magnitude() * time_scale);
}

void log_steering(float game_seconds, float step)
{
    PlayerImpl* p = game_player;
    if (!test_seams.log_steering || !p || !(p->forward || p->backward || p->left || p->right)) return;
    std::printf("steering: %.3f %.3f%s%s%s%s\n", game_seconds, step, p->forward ? " forward" : "",
                p->backward ? " backward" : "", p->left ? " left" : "", p->right ? " right" : "");
}

void player_gfx_position(float out[3])
{
    for (int k = 0; k < 3; ++k) out[k] = game_player ? game_player->gfx_position[k] : 0.0f;
}

const std::vector<const RingTrail*>& leave_rings(float time_now, float frame_dt, float time_scale)
{
    static std::vector<const RingTrail*> seen;
    seen.clear();
    AiManager* ai = manager();
    if (!ai) return seen;
    const float height_limit = ring_height_limit(terrain_physics().scale.iface[0], terrain_physics().plane_d);
    RingFrame f{time_now, time_scale * frame_dt, frame_dt, height_limit, &seen};
    ai->for_each(leave_rings_of, &f);
    return seen;
}

void human_pilot_look(const RaceOverlay& overlay, const RaceView& view, int width, int height, float fov_deg)
{
    if (!test_seams.human_pilot || !view.has_player) return;
    ScreenFacts facts;
    facts.width = width, facts.height = height, facts.fov_deg = fov_deg;
    facts.units_per_metre = view.units_per_metre;
    human_pilot.look(overlay, facts, game_flow.time_total, view.player);
}

void read_race(RaceView& out)
{
    if (AiManager* ai = manager()) {
        read_race_view(*ai, out);
        return;
    }
    out.has_player = out.has_ship = false;
    out.opponents.clear();
    out.crystals.clear();
}

int player_score()
{
    return manager() ? manager()->player_points() : 0;
}

const std::vector<int>& opponent_scores()
{
    return manager() ? manager()->opponent_score_table() : no_scores;
}

void restart_game_objects()
{
    AiManager* ai = manager();
    if (!ai) return;
    // A level chosen during the last game drives from this one on.
    if (difficulty_choice.chosen != difficulty_choice.in_use) {
        difficulty_choice.in_use = difficulty_choice.chosen;
        for (Opponent* o : ai->opponents) o->drive_by(opponent_file(difficulty_choice.in_use));
    }
    ai->restart(NxVec3(hmap.phys_map_w * 0.5f, 20.0f, hmap.phys_map_h * 0.5f), 128.0f);
    human_pilot.reset();
    if (test_seams.has_player_start && game_player && game_player->actor) {
        const double* s = test_seams.player_start;
        float x = static_cast<float>(s[0]), z = static_cast<float>(s[1]);
        NxMat34 pose;
        pose.M.rotY(static_cast<float>(s[2] * 3.141592653589793 / 180.0));
        pose.t = NxVec3(x, spawn_height(hmap, ai->sample_height, ai->plane_d, x, z) + game_player->half_extents.y, z);
        game_player->actor->setGlobalPose(pose);
    }
}

void log_game_end(bool was_over, bool is_over, bool player_won, int winning_points)
{
    if (!test_seams.log_scores || was_over || !is_over) return;
    if (player_won) {
        std::printf("game over: player\n");
    } else {
        // The HUD looks at the opponents from the last one down; the first at the
        // threshold ended the game.
        const std::vector<int>& scores = opponent_scores();
        int winner = -1;
        for (int i = static_cast<int>(scores.size()) - 1; i >= 0 && winner < 0; --i)
            if (scores[i] >= winning_points) winner = i;
        std::printf("game over: opponent %d\n", winner);
    }
    std::fflush(stdout);
}

void enable_score_log()
{
    if (test_seams.log_scores && manager()) manager()->on_score = print_score;
}
