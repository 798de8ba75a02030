// Prints how the hovers answer their keys, in simulated time on the game's world out over the open sea (the
// README's benchmark table says what each figure is). A tap is a key held for 0.2 s of simulated time, a 0.1 s
// press at 20 frames a second or more. The argument is the game directory (default: ../game beside this program).

#include "BenchKit.h"

#include "Common/Platform.h"
#include "Objects/HoverPhysics.h"

#include <cmath>
#include <functional>

namespace {

// One hover as the measurements drive it: its keys, its pose and its update, and where it is
// set down before each measurement (its nose along +x).
struct Driven {
    const char* name;
    NxActor* actor = nullptr;
    NxMat34 start;
    std::function<void(bool forward, bool left)> keys;
    std::function<NxVec3()> nose; // the direction it drives, in world space
    std::function<void(float seconds)> update;
};

// The player's hover, keys set as the input sets them; +x is its nose already.
Driven driven_player(PlayerImpl& p, const NxVec3& at)
{
    return {"player", p.actor, NxMat34(NxMat33(), at),
            [&p](bool forward, bool left) {
                p.set_forward(forward), p.set_backward(false), p.set_left(left), p.set_right(false);
            },
            [&p] { return p.forward_axis(); }, [&p](float seconds) { p.update(seconds); }};
}

// An opponent's hover through its own steering: with something in its sensor it turns on the
// spot (positive: to the left); with nothing to chase and no ship it drives straight on, which
// it does with no thrust while the measurement wants it idle. Its nose is -z: it is turned
// so that -z points along +x.
Driven driven_opponent(Opponent& o, const NxVec3& at)
{
    const NxMat33 nose_along_x(NxVec3(0, 0, -1), NxVec3(0, 1, 0), NxVec3(1, 0, 0)); // rows
    return {"opponent", o.actor, NxMat34(nose_along_x, at),
            [&o, force_forward = o.force_forward](bool forward, bool left) {
                o.sensor_count = left ? 1 : 0;
                o.turn_side = true;
                o.force_forward = forward ? force_forward : 0.0f;
            },
            [&o] { return -o.actor->getGlobalOrientation().getColumn(2); }, [&o](float seconds) { o.update(seconds); }};
}

struct World {
    NxScene* scene;
    long clock_ms = 0;
    float dt;

    void step(Driven& d)
    {
        clock_ms += static_cast<long>(dt * 1000.0f);
        hold_process_clock(clock_ms);
        d.update(dt);
        physics_step(*scene, dt);
    }
};

// Sets the hover down at its start, still, and lets it settle on the water.
void set_down(World& w, Driven& d)
{
    d.actor->setGlobalPose(d.start);
    d.actor->setLinearVelocity(NxVec3(0, 0, 0));
    d.actor->setAngularVelocity(NxVec3(0, 0, 0));
    d.keys(false, false);
    for (float t = 0; t < 3.0f; t += w.dt) w.step(d);
}

struct Feel {
    float tap = 0, overshoot = 0, stop = 0;     // degrees, degrees, seconds after the release
    int tap_steps = 0;                         // the steps of a tap; a 0.1 s press lands on one more or fewer
    float fewer = 0, more = 0;                 // degrees, a tap on one step fewer and one more
    float circle = 0;                          // seconds
    float top_speed = 0, to_top = 0;           // physics units per second, seconds to 95 % of it
};

// The heading turned since `from`, unwrapped through every step.
struct Turned {
    float last, total = 0;
    explicit Turned(float start) : last(start) {}
    float add(float heading)
    {
        float d = heading - last;
        if (d > 180) d -= 360;
        if (d < -180) d += 360;
        last = heading;
        return total += d;
    }
};

// Left held for `steps` steps from rest, then 3 s without keys: the turn after every step
// from the release on.
std::vector<float> measure_tap(World& w, Driven& d, int steps)
{
    Turned turned(heading_degrees(d.nose()));
    d.keys(false, true);
    for (int i = 0; i < steps; ++i) w.step(d);
    d.keys(false, false);
    std::vector<float> since_release{turned.add(heading_degrees(d.nose()))};
    for (float t = 0; t < 3.0f; t += w.dt) {
        w.step(d);
        since_release.push_back(turned.add(heading_degrees(d.nose())));
    }
    return since_release;
}

Feel measure(World& w, Driven& d)
{
    Feel f;
    f.tap_steps = static_cast<int>(std::lround(0.2f / w.dt));
    set_down(w, d);
    const std::vector<float> tap = measure_tap(w, d, f.tap_steps);
    f.tap = tap.back();
    f.overshoot = f.tap - tap.front();
    // From when on (after the release) the heading stood within half a degree of where it ended.
    for (size_t i = 0; i < tap.size(); ++i)
        if (std::fabs(tap[i] - f.tap) > 0.5f) f.stop = static_cast<float>(i + 1) * w.dt;
    set_down(w, d);
    f.fewer = measure_tap(w, d, f.tap_steps - 1).back();
    set_down(w, d);
    f.more = measure_tap(w, d, f.tap_steps + 1).back();

    set_down(w, d);
    Turned turned(heading_degrees(d.nose()));
    d.keys(false, true);
    for (f.circle = 0; turned.add(heading_degrees(d.nose())) < 360.0f && f.circle < 20.0f; f.circle += w.dt) w.step(d);

    set_down(w, d);
    d.keys(true, false);
    std::vector<float> speeds;
    for (float t = 0; t < 12.0f; t += w.dt) {
        w.step(d);
        const NxVec3 v = d.actor->getLinearVelocity();
        speeds.push_back(std::hypot(v.x, v.z));
    }
    f.top_speed = *std::max_element(speeds.begin(), speeds.end());
    for (size_t i = 0; f.to_top == 0; ++i)
        if (speeds[i] >= 0.95f * f.top_speed) f.to_top = static_cast<float>(i + 1) * w.dt;
    d.keys(false, false);
    return f;
}

void print_feel(const char* who, float dt, const Feel& f)
{
    std::printf("%-8s step %.3f s: tap %5.1f deg, overshoot %4.1f deg, stopped %.2f s after the release;"
                " circle %.2f s; top speed %5.2f u/s (%4.0f graphics units per game second), 95%% of it after %.2f s\n",
                who, dt, f.tap, f.overshoot, f.stop, f.circle, f.top_speed,
                f.top_speed * GenericObject::physx2gfx_scale[0] * 2.0f, f.to_top);
    std::printf("%-8s step %.3f s: a 0.1 s press on %d steps turns %4.1f deg, on %d steps %4.1f deg\n", who, dt,
                f.tap_steps - 1, f.fewer, f.tap_steps + 1, f.more);
}

} // namespace

int main(int argc, char** argv)
{
    BenchWorld bench = open_game_world(argc, argv, true);
    if (!bench.physics) return 1;
    TerrainPhysics* world = bench.physics.get();
    NxScene& scene = *world->scene;

    // Far out over the sea east of the island (the map ends at 512): nothing but water ahead.
    const NxVec3 sea(700, world->plane_d + 2.5f, 256);
    std::unique_ptr<PlayerImpl> player;
    std::unique_ptr<Opponent> opponent;
    quietly([&] {
        player = std::make_unique<PlayerImpl>(&scene, sea, false, false, false);
        opponent = std::make_unique<Opponent>(".\\config\\objects\\defaultHo.p", &scene, sea + NxVec3(0, 0, 60), nullptr);
    });
    Driven p = driven_player(*player, sea), o = driven_opponent(*opponent, sea + NxVec3(0, 0, 60));

    std::printf("The feel, in simulated seconds and physics units (a tap: the key held 0.2 s of simulated time)\n");
    for (float dt : {1.0f / 30.0f, 0.1f}) {
        World w{&scene, 0, dt};
        Feel player_feel, opponent_feel;
        quietly([&] {
            player_feel = measure(w, p);
            opponent_feel = measure(w, o);
        });
        print_feel(p.name, dt, player_feel);
        print_feel(o.name, dt, opponent_feel);
    }
    hold_process_clock(-1);
    quietly([&] { world->release_physics(); });
    return 0;
}
