// What a player does at the keyboard, sent through the X server's own input as a keyboard
// sends it, and what the game does with it.
#include "e2e/GameRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One line of MOORHOLD_LOG_PLAYER: "player: <game seconds> <x> <y> <z> <heading> <speed>".
struct PlayerLine {
    double t = 0, x = 0, y = 0, z = 0, heading = 0, speed = 0;
};

// One line of MOORHOLD_LOG_STEERING: "steering: <game seconds> <physics step> <flags...>".
struct SteeringLine {
    double t = 0, step = 0;
    std::string flags;
};

// The log read line by line: the player's and the steering lines, and where each input mark
// of the player's script fell among them (the count of each kind of line before it).
struct PlayLog {
    std::vector<PlayerLine> player;
    std::vector<SteeringLine> steering;
    struct Mark {
        std::string name;
        size_t player = 0, steering = 0;
    };
    std::vector<Mark> marks;

    explicit PlayLog(const std::string& log)
    {
        std::istringstream in(log);
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string tag;
            words >> tag;
            PlayerLine p;
            SteeringLine s;
            std::string name;
            if (tag == "player:" && words >> p.t >> p.x >> p.y >> p.z >> p.heading >> p.speed) {
                player.push_back(p);
            } else if (tag == "steering:" && words >> s.t >> s.step) {
                std::getline(words, s.flags);
                steering.push_back(s);
            } else if (tag == "input:" && words >> name) {
                marks.push_back({name, player.size(), steering.size()});
            }
        }
    }

    const Mark* mark(const std::string& name) const
    {
        for (const Mark& m : marks)
            if (m.name == name) return &m;
        return nullptr;
    }

    // The last player line before the mark `name` (the hover as the key found it).
    const PlayerLine* before(const std::string& name) const
    {
        const Mark* m = mark(name);
        return m && m->player > 0 ? &player[m->player - 1] : nullptr;
    }

    // The seconds of physics in which `flag` was on, between the marks `from` and `to`.
    double steered(const std::string& flag, const std::string& from, const std::string& to) const
    {
        const Mark *a = mark(from), *b = mark(to);
        double seconds = 0;
        for (size_t i = a ? a->steering : 0; a && b && i < b->steering; ++i)
            if ((steering[i].flags + " ").find(" " + flag + " ") != std::string::npos) seconds += steering[i].step;
        return seconds;
    }
};

const double kPi = 3.141592653589793;

// The horizontal distance between two lines.
double moved(const PlayerLine& a, const PlayerLine& b) { return std::hypot(b.x - a.x, b.z - a.z); }

// The heading turned from line `from` to line `to` of one list, through every line between
// (degrees, a left turn positive).
double turned(const PlayerLine* from, const PlayerLine* to)
{
    double total = 0;
    for (const PlayerLine* p = from; p < to; ++p) total += std::remainder(p[1].heading - p[0].heading, 360.0);
    return total;
}

// A run in a small window that the player's `script` ends with Escape, with the seams of `env`.
GameRun played(const std::string& script, Env env = {})
{
    RunOptions opt;
    opt.frames = 1000000; // only the key ends these runs
    opt.screenshot = false;
    opt.timeout_seconds = 300;
    opt.env = std::move(env);
    opt.prepare = [](const std::filesystem::path& dir) { use_small_window(dir, 320, 240); };
    opt.player = script;
    return run_game(opt);
}

TEST(PlayerInput, EscapeFromTheKeyboardQuitsInOrderWithStatusZero)
{
    GameRun run = played("wait_for 'starting main loop' && sleep 1 && mark escape && press Escape");
    EXPECT_EQ(run.exit_code, 0) << run.log;
    EXPECT_TRUE(appear_in_order(run.log, {"starting main loop", "input: escape", "SDLGL destructor finished!"}))
        << run.log;
    EXPECT_TRUE(run.sanitizer_report().empty()) << run.log;
    EXPECT_EQ(count_of(run.log, "player: "), 0) << "the player's log is off unless asked for";
}

// The sanitized game may run at 5 frames a second, where every frame is cut to the frame-time
// cap (0.05 game seconds, a 0.1 s physics step) and the game runs slower than the clock: the
// run waits in game seconds, read from the log, and judges what the hover did, not how fast.
TEST(PlayerInput, AfterTheStartUpDrivesTheHoverAlongItsNoseAndATapOfLeftTurnsItALittle)
{
    // The first game starts at frame 12; by 3 game seconds the hover has settled on the ground.
    GameRun run = played("wait_for 'player: 3.' 240 && mark up && hold Up 2 && sleep 2.5 && "
                         "mark tap && tap Left && sleep 2 && mark done && press Escape",
                         {{"MOORHOLD_LOG_PLAYER", "1"}, {"MOORHOLD_LOG_STEERING", "1"}});
    ASSERT_EQ(run.exit_code, 0) << run.log;
    EXPECT_TRUE(run.sanitizer_report().empty()) << run.log;

    PlayLog play(run.log);
    ASSERT_GT(play.player.size(), 60u) << run.log;
    // A line every frame: game seconds rise by one frame's time, never more than the cap.
    for (size_t i = 1; i < play.player.size(); ++i) {
        double step = play.player[i].t - play.player[i - 1].t;
        ASSERT_TRUE(step >= 0 && step < 0.0505) << "line " << i << ": " << step;
    }
    const PlayerLine *start = play.before("up"), *tap = play.before("tap"), *done = play.before("done");
    ASSERT_TRUE(start && tap && done) << run.log;

    // Up: at 5 frames a second the 2 s are 1 s of physics, about 7 physics units (32 graphics
    // units each); a hover that only bobbed moves a few graphics units.
    EXPECT_GT(play.steered("forward", "up", "tap"), 0.5) << run.log;
    double distance = moved(*start, *tap);
    EXPECT_GT(distance, 5 * 32.0);
    double nose = start->heading * kPi / 180.0;
    double along = ((tap->x - start->x) * std::cos(nose) - (tap->z - start->z) * std::sin(nose)) / distance;
    EXPECT_GT(along, std::cos(20 * kPi / 180.0)) << "the hover drove off its nose's line";

    // The tap: a 0.1 s press is 0.2 s of physics while the game keeps 20 frames a second, and
    // then turns the hover 10 to 20 degrees. A slower game cuts each frame to a 0.1 s step and
    // the press falls on one frame or two; a loaded X server may hold it a little longer. For
    // as long as the key acted, the turn grows faster than that time and slower than its
    // square (the turn builds up while the key is held): 10 to 20 degrees at 0.2 s, scaled.
    double held = play.steered("left", "tap", "done");
    double turn = turned(tap, done);
    ASSERT_GT(held, 0.0) << "the tap was lost";
    ASSERT_LE(held, 0.5) << "the tap acted far longer than a 0.1 s press";
    const double r = held / 0.2;
    EXPECT_GE(turn, 10 * std::min(r, r * r)) << held << " s of physics";
    EXPECT_LE(turn, 20 * std::max(r, r * r)) << held << " s of physics";
    std::printf("the tap acted for %.3f s of physics and turned the hover %.1f degrees\n", held, turn);
}

} // namespace
