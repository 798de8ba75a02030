#include "Common/Random.h"

namespace {

uint32_t rand_state = 1;

} // namespace

int game_rand()
{
    rand_state = rand_state * 214013u + 2531011u;
    return static_cast<int>((rand_state >> 16) & 0x7FFFu);
}

float rand_uniform()
{
    return static_cast<float>(game_rand()) / 32768.0f;
}

void reset_game_rand(uint32_t state)
{
    rand_state = state;
}
