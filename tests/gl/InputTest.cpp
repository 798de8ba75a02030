#include "Common/GameFlow.h"
#include "Common/HelpScreen.h"
#include "Common/Input.h"
#include "Common/Pause.h"
#include "Common/PlayerControls.h"
#include "Gfx/DisplayToggles.h"
#include "GlFixture.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace {

class InputTest : public GlFixture {
protected:
    InputTest() : eye(60, 1.5f, 350000), aux(eye), keys(SDLK_LAST, 0) {}

    void SetUp() override
    {
        GlFixture::SetUp();
        sdlgl->settings.cam_speed = 2.0f;
        sdlgl->settings.cam_move_fast_multiplier = 4.0f;
        sdlgl->settings.cam_move_slow_divider = 8.0f;
        key_timers = KeyTimers();
        player_controls = PlayerControls();
        new_game_requested = false;
        display = DisplayOptions();
    }

    void frame(Uint32 ticks, std::initializer_list<SDLKey> held, SDLMod mods = KMOD_NONE)
    {
        std::fill(keys.begin(), keys.end(), 0);
        for (SDLKey k : held) keys[k] = 1;
        InputFrame in;
        in.keys = keys.data();
        in.mods = mods;
        in.ticks = ticks;
        apply_input(*sdlgl, eye, aux, in);
    }

    Camera eye, aux;
    std::vector<Uint8> keys;
};

TEST_F(InputTest, FollowModeSteersTheHoverAndFreeModeFliesTheCamera)
{
    sdlgl->camera_mode = 1;
    frame(1000, {SDLK_w, SDLK_LEFT, SDLK_r, SDLK_f});
    EXPECT_TRUE(player_controls.forward && player_controls.left && !player_controls.backward);
    EXPECT_DOUBLE_EQ(eye.pos.length(), 0.0); // R and F do nothing in follow mode
    frame(1010, {});
    EXPECT_FALSE(player_controls.forward); // cleared every frame

    // The free camera flies, faster or slower with the shift keys.
    sdlgl->camera_mode = 0;
    frame(1020, {SDLK_UP});
    EXPECT_DOUBLE_EQ(eye.pos.z, -10); // 5 x 2 along -dir
    frame(1030, {SDLK_r}, KMOD_LSHIFT);
    EXPECT_DOUBLE_EQ(eye.pos.y, 40); // move_up(-5 x 8)
    frame(1040, {SDLK_f}, SDLMod(KMOD_LSHIFT | KMOD_RSHIFT));
    EXPECT_DOUBLE_EQ(eye.pos.y, 35); // 2 x 4 / 8 = 1 -> 5 down
    EXPECT_FALSE(player_controls.forward);
}

// The keys read every frame: 0 and L share one 250 ms timer and K has its own, Space waits
// 350 ms, F5 steps through three filters, and a held key toggles once.
TEST_F(InputTest, KeysToggleOnceAndWaitOutTheirDeadTimes)
{
    sdlgl->time_now = 42.0f;
    struct Step {
        Uint32 ticks;
        SDLKey key;
        std::function<bool()> holds;
    };
    const Step steps[] = {
        {1000, SDLK_0, [] { return new_game_requested; }},
        {1100, SDLK_l, [] { return !display.freeze_waves; }}, // within 250 ms of the 0 key
        {1251, SDLK_l, [] { return display.freeze_waves; }},
        {2000, SDLK_SPACE, [] { return std::exchange(player_controls.jump, false); }},
        {2300, SDLK_SPACE, [] { return !player_controls.jump; }},
        {2351, SDLK_SPACE, [] { return player_controls.jump; }},
        {3000, SDLK_F8, [this] { return !display.culling && sdlgl->culling_changed_at == 42.0f; }},
        {3300, SDLK_F5, [this] { return sdlgl->filter_mode == 1; }},
        {3600, SDLK_F5, [this] { return sdlgl->filter_mode == 2; }},
        {3900, SDLK_F5, [this] { return sdlgl->filter_mode == 0; }},
        {4200, SDLK_TAB, [this] { return sdlgl->camera_mode == 0; }},
        {4500, SDLK_c, [] { return display.cull_margin == 1000.0f; }},
        {4800, SDLK_b, [] { return display.parallax_mode == 0; }},
        {4801, SDLK_k, [] { return display.skip_subpass; }},
    };
    for (const Step& s : steps) {
        frame(s.ticks, {s.key});
        EXPECT_TRUE(s.holds()) << SDL_GetKeyName(s.key) << " at " << s.ticks;
    }
    for (Uint32 t = 6000; t < 6240; t += 16) frame(t, {SDLK_F3});
    EXPECT_TRUE(display.wireframe);
}

// A tap shorter than a frame: SDL's key state has it up again by the time the frame reads the
// keyboard, and only its press waits in the queue.
TEST_F(InputTest, AKeyPressedAndLetGoWithinAFrameCountsForThatFrame)
{
    SDL_Event press{};
    press.type = press.key.type = SDL_KEYDOWN;
    press.key.state = SDL_PRESSED;
    press.key.keysym.sym = SDLK_LEFT;
    ASSERT_EQ(SDL_PushEvent(&press), 0);
    for (int queued : {1, 0}) {
        std::fill(keys.begin(), keys.end(), 0);
        add_pending_presses(keys.data(), static_cast<int>(keys.size()));
        EXPECT_EQ(keys[SDLK_LEFT], queued);
        EXPECT_EQ(std::count(keys.begin(), keys.end(), 1), queued) << "once drained, nothing is pressed";
        SDL_Event left;
        EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_GETEVENT, SDL_EVENTMASK(SDL_KEYDOWN)), queued) << "stays queued";
    }
}

// The keys that act once per press, at any time: the help and the pause, and Enter alone is not
// Alt+Enter. Full screen and back, Escape, and the first game's start by a driving key are judged
// in the game: WindowTest, PlayerInputTest, HelpAndPauseTest.
TEST_F(InputTest, PressesShowTheHelpAndPause)
{
    help_shown = false;
    const std::pair<SDLKey, std::function<bool()>> presses[] = {
        {SDLK_F1, [] { return help_shown; }},
        {SDLK_h, [] { return !help_shown; }},
        {SDLK_PAUSE, [] { return pause_state.reason == PauseReason::Player; }},
        {SDLK_w, [] { return pause_state.reason == PauseReason::Player; }}, // no end to the player's pause
        {SDLK_t, [] { return !pause_state.paused(); }},
        {SDLK_RETURN, [this] { return !(sdlgl->video_flags & SDL_FULLSCREEN) && !sdlgl->quit_requested; }},
    };
    for (const auto& [key, holds] : presses) {
        sdlgl->on_key(key);
        EXPECT_TRUE(holds()) << SDL_GetKeyName(key);
    }
}

// A window resized by its edge takes the eye's aspect at once. The video mode, the projection and
// the message are judged in the game (WindowTest), which does not judge the aspect.
TEST_F(InputTest, AResizeSetsTheEyesAspect)
{
    eyecam = new Camera(60, 1.5f, 350000); // of aspect 1 until the window gives it its own
    printed([&] { sdlgl->set_window_size(640, 480); });
    EXPECT_FLOAT_EQ(eyecam->aspect, 640.0f / 480.0f);
}

int games_started = 0;
void count_game() { ++games_started; }

// The input step of a frame: with the banner showing or the game paused no keys are read, and
// the hover lets go of what the last keys asked (a hover driven forward as the game ended
// would drive on through the banner).
TEST_F(InputTest, AFrameWhoseKeysAreNotReadLetsGoOfTheHover)
{
    GameFlow flow;
    eyecam = new Camera(60, 1.5f, 350000);
    auxcam = new Camera(*eyecam);
    flow.game_over_time = 8;
    // The game's time, whether it is over and paused, and the games started by then.
    for (auto [now, over, paused, started, what] : {std::tuple{10.0f, true, false, 0, "the banner shows"},
                                                    {12.5f, true, false, 1, "the restart's frame, 4.5 s on"},
                                                    {12.5f, false, true, 1, "paused"}}) {
        sdlgl->time_now = now;
        flow.game_over = over;
        if (paused) pause_game(PauseReason::Player, SDL_GetTicks());
        player_controls = PlayerControls();
        player_controls.forward = player_controls.left = player_controls.jump = true;
        read_frame_input(*sdlgl, flow, count_game);
        EXPECT_FALSE(player_controls.forward || player_controls.left || player_controls.jump) << what;
        EXPECT_EQ(games_started, started) << what;
    }
    resume_game(SDL_GetTicks());

    // A game running: the keys are read (none is down here), and a new game asked for starts.
    new_game_requested = true;
    read_frame_input(*sdlgl, flow, count_game);
    EXPECT_EQ(games_started, 2);
    EXPECT_FALSE(new_game_requested);
}

} // namespace
