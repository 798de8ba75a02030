#include "Common/GameFlow.h"

GameFlow game_flow;

float cap_frame_time(float dt, bool check_cap, float max_step)
{
    if (check_cap && dt > max_step) return max_step;
    return dt;
}

float physics_step(unsigned int frame, float frame_dt, float time_scale)
{
    return frame < 10 ? time_scale * 0.02f : time_scale * frame_dt;
}

double frame_cap_sleep(double frame_seconds, int max_fps, bool swap_control)
{
    if (swap_control || max_fps <= 0) return 0.0;
    const double share = 1.0 / max_fps;
    return frame_seconds < share ? share - (frame_seconds > 0.0 ? frame_seconds : 0.0) : 0.0;
}

GameEndBanners evaluate_game_end(GameFlow& flow, int player_score, const std::vector<int>& opponent_scores,
                                 float now, const std::function<int()>& roll)
{
    GameEndBanners out;
    if (player_score >= flow.winning_points || flow.player_won) {
        if (!flow.game_over) {
            flow.player_won = true;
            flow.banner_roll = roll() % 100;
            flow.game_over = true;
            flow.game_over_time = now;
        }
        if (flow.banner_roll < 25)
            out.you_are_the_bromel = true;
        else if (flow.banner_roll < 100)
            out.you_win = true;
    }
    for (int i = static_cast<int>(opponent_scores.size()) - 1; i >= 0; --i) {
        if (opponent_scores[i] >= flow.winning_points && !flow.player_won) {
            if (!flow.game_over) {
                flow.banner_roll = 100;
                ++out.you_lose;
            } else if (flow.banner_roll == 100) {
                ++out.you_lose;
            }
            if (!flow.game_over) {
                flow.game_over = true;
                flow.game_over_time = now;
            }
        }
    }
    return out;
}

bool restart_due(const GameFlow& flow, float now)
{
    return flow.game_over && now - flow.game_over_time > 4.0f;
}

InputStep input_step(bool paused, bool game_over, bool restart_due)
{
    if (paused) return InputStep::WindowOnly;
    if (!game_over) return InputStep::Play;
    return restart_due ? InputStep::Restart : InputStep::WindowOnly;
}

void begin_new_game(GameFlow& flow)
{
    flow.game_over = false;
    // Left set, a won game would end the next one at once with another win banner.
    flow.player_won = false;
}

int option_message(float now, float culling_changed_at, float filter_changed_at,
                   float transparency_changed_at, float volume_changed_at)
{
    if (now - culling_changed_at < 2.0f) return 1;
    if (now - filter_changed_at < 2.0f) return 2;
    if (now - transparency_changed_at < 2.0f) return 3;
    if (now - volume_changed_at < 2.0f) return 4;
    return 0;
}

void FpsRing::push(unsigned int elapsed_ms)
{
    index = (index + 1) % 24;
    // A frame faster than the millisecond clock would divide by zero; count it as 1 ms.
    samples[index] = 1000.0f / static_cast<float>(elapsed_ms ? elapsed_ms : 1);
}

float FpsRing::mean() const
{
    float sum = 0;
    for (float s : samples) sum += s;
    return sum / 24.0f;
}
