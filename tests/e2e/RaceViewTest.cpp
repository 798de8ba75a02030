// Seeing the race, judged from the screenshot as a player would: a crystal ahead carries its
// marker and its beam, the radar in the top-right corner shows the land and everybody in the
// race, an arrow at the window's edge points to the nearest crystal when none is in view, and
// X (pressed through the X server) puts the radar away.
#include "e2e/GameRunner.h"
#include "e2e/LandscapeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- the overlay of the last frame, as MOORHOLD_LOG_OVERLAY prints it (window pixels, y up) ----

struct Mark {
    std::string kind; // "marker", "arrow", or a radar mark's kind
    double x = 0, y = 0, size = 0;
};

struct OverlayLog {
    int w = 0, h = 0;
    std::vector<Mark> markers, radar_marks;
    bool has_arrow = false, has_radar = false;
    Mark arrow;
    double arrow_angle = 0; // degrees: 0 right, 90 up
    double radar_x = 0, radar_y = 0, radar_radius = 0;
    std::string lines; // for the failure messages
};

OverlayLog read_overlay(const std::string& log)
{
    OverlayLog o;
    std::istringstream in(log);
    const std::regex window(R"(overlay: window (\d+) (\d+))");
    const std::regex marker(R"(overlay: marker (\S+) (\S+) size (\S+) points \d+ distance \S+ m)");
    const std::regex arrow(R"(overlay: arrow (\S+) (\S+) angle (\S+) size (\S+) distance \S+ m( behind)?)");
    const std::regex radar(R"(overlay: radar at (\S+) (\S+) radius (\S+))");
    const std::regex radar_mark(R"(overlay: radar-mark (\w+) \d+ (\S+) (\S+) size (\S+)( rim)?)");
    std::smatch m;
    auto at = [&m](int i) { return std::stod(m[i]); };
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("overlay: ", 0) != 0) continue;
        o.lines += line + "\n";
        if (std::regex_match(line, m, window)) {
            o.w = std::stoi(m[1]);
            o.h = std::stoi(m[2]);
        } else if (std::regex_match(line, m, marker)) {
            o.markers.push_back({"marker", at(1), at(2), at(3)});
        } else if (std::regex_match(line, m, arrow)) {
            o.has_arrow = true;
            o.arrow = {"arrow", at(1), at(2), at(4)};
            o.arrow_angle = at(3);
        } else if (std::regex_match(line, m, radar)) {
            o.has_radar = true;
            o.radar_x = at(1);
            o.radar_y = at(2);
            o.radar_radius = at(3);
        } else if (std::regex_match(line, m, radar_mark)) {
            o.radar_marks.push_back({m[1], at(2), at(3), at(4)});
        }
    }
    return o;
}

// ---- what the overlay's pixels look like ----

// The worth colours of the marks (cyan, yellow, magenta and between): one channel near full,
// one low. Neither the moor, the water, the sky, the HUD's texts nor a beam's light is both.
bool overlay_tint(const unsigned char* p)
{
    const int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
    return hi >= 225 && lo <= 120;
}
bool radar_white(const unsigned char* p) { return p[0] >= 215 && p[1] >= 215 && p[2] >= 215; }
bool radar_red(const unsigned char* p) { return p[0] >= 190 && p[1] <= 100 && p[2] <= 90; }
bool radar_lavender(const unsigned char* p) { return p[2] >= 200 && p[0] >= 160 && p[1] >= 100 && p[1] < p[0] - 30; }

// The image row of window height y (the overlay counts from the bottom).
int row_of(const Image& img, double y) { return img.height - 1 - int(std::floor(y)); }

// Share of the pixels at distance r0..r1 from (x, y) that pass `is`.
template <class F>
double ring_share(const Image& img, double x, double y, double r0, double r1, F is)
{
    int hit = 0, n = 0;
    const int cx = int(std::floor(x)), cy = row_of(img, y), r = int(std::ceil(r1));
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const double d = std::hypot(dx, dy);
            const int px = cx + dx, py = cy + dy;
            if (d < r0 || d > r1 || px < 0 || py < 0 || px >= img.width || py >= img.height) continue;
            ++n;
            hit += is(img.pixel(px, py));
        }
    return n ? double(hit) / n : 0;
}

// The marks no later mark of the list is drawn over.
std::vector<Mark> uncovered(const std::vector<Mark>& marks)
{
    std::vector<Mark> out;
    for (size_t i = 0; i < marks.size(); ++i) {
        bool covered = false;
        for (size_t j = i + 1; j < marks.size(); ++j)
            covered |= std::hypot(marks[i].x - marks[j].x, marks[i].y - marks[j].y) < 0.5 * (marks[i].size + marks[j].size) + 1;
        if (!covered) out.push_back(marks[i]);
    }
    return out;
}

// Crystals in play from the start of a game, where a test can look for them: the ship holds
// still over the tor in the middle of the map (where every game puts it) and drops two every two
// seconds, which tumble onto the tor; the opponents hold still instead of taking them.
void crystals_on_the_tor(const std::filesystem::path& dir)
{
    // Large enough that a marker of the lowest worth shows its ring a few pixels wide.
    use_small_window(dir, 640, 480);
    const std::filesystem::path ship = dir / "config/objects/defaultEskel.p";
    for (auto [key, value] : {std::pair{"numBoxes", "2"}, {"minDrop", "20"}, {"maxDrop", "20"},
                              {"force_forward", "0.0"}, {"force_torque", "0.0"}})
        set_key(ship, key, value);
    for (const char* key : {"force_forward", "force_backward", "force_torque"})
        set_key(dir / "config/objects/defaultHo.p", key, "0.0");
}

// The player 74 m east of the tor, facing east, away from it; `env` adds to that.
GameRun run_race_view(Env env, const std::string& player = "")
{
    env.insert(env.end(), {{"MOORHOLD_PLAYER_START", "330 256 0"}, {"MOORHOLD_LOG_OVERLAY", "1"}});
    RunOptions opt;
    opt.frames = 150;
    opt.timeout_seconds = 400;
    opt.env = std::move(env);
    opt.prepare = crystals_on_the_tor;
    opt.player = player;
    return run_game(opt);
}

} // namespace

TEST(RaceView, ACrystalAheadShowsItsMarkerAndBeamAndTheRadarShowsEverybody)
{
    // An eye 117 m east of the tor, level with its upper slopes, looking west at it: the crystals
    // lie on the tor and in the air over it, with the sky above them.
    GameRun run = run_race_view({{"MOORHOLD_EYE", "12000 1200 8192 -90 0"}});
    ASSERT_TRUE(ran_cleanly(run));
    const Image& img = run.screenshot;
    const OverlayLog o = read_overlay(run.log);
    ASSERT_EQ(o.w, img.width) << o.lines;
    ASSERT_FALSE(o.markers.empty()) << o.lines;
    EXPECT_FALSE(o.has_arrow) << o.lines;

    // Crystals lie close together on the tor, where one's ring or worth may cover another's: the
    // rings are judged where they show whole, and one of them at least does.
    int rings = 0, beams = 0;
    for (const Mark& m : uncovered(o.markers)) {
        // The ring around the crystal's place, in its worth's colour (its middle lies at a little
        // over a quarter of the marker's size from the centre).
        rings += ring_share(img, m.x, m.y, 0.265 * m.size - 1, 0.265 * m.size + 1, overlay_tint) > 0.35;
        // The beam over it, above the worth's label: lighter than the ground or sky beside it.
        const int x = int(m.x), top = row_of(img, m.y + 0.5 * m.size + 18);
        if (top - 20 < 0 || x - 14 < 0 || x + 15 > img.width) continue;
        double column = brightness(mean_colour(img, x - 1, top - 20, x + 2, top));
        double beside = 0.5 * (brightness(mean_colour(img, x - 14, top - 20, x - 11, top)) +
                               brightness(mean_colour(img, x + 12, top - 20, x + 15, top)));
        beams += column > beside + 12;
    }
    EXPECT_GE(rings, 1) << o.lines;
    EXPECT_GE(beams, 1) << o.lines;

    // The radar: land and water inside its rim, and every mark in its own colour.
    ASSERT_TRUE(o.has_radar) << o.lines;
    EXPECT_GT(o.radar_x - o.radar_radius, 0.5 * img.width);
    EXPECT_GT(o.radar_y - o.radar_radius, 0.5 * img.height);
    Share land = share_of(img, int(o.radar_x - 0.5 * o.radar_radius), row_of(img, o.radar_y + 0.5 * o.radar_radius),
                          int(o.radar_x + 0.5 * o.radar_radius), row_of(img, o.radar_y - 0.5 * o.radar_radius));
    EXPECT_GT(land.grass + land.water + land.sand + land.rock, 0.5) << land;
    struct Kind {
        const char* kind;
        bool (*looks)(const unsigned char*);
        int at_least; // uncovered ones
    };
    // The crystals lie about the ship, whose mark may cover them all: theirs are judged where
    // they show, and some of their colour shows in the radar in any case.
    const Kind kinds[] = {{"player", radar_white, 1}, {"opponent", radar_red, 3}, {"ship", radar_lavender, 1},
                          {"crystal", overlay_tint, 0}};
    const std::vector<Mark> shown = uncovered(o.radar_marks);
    for (const Kind& k : kinds) {
        int judged = 0;
        for (const Mark& m : shown) {
            if (m.kind != k.kind) continue;
            ++judged;
            // The centre pixel and its four neighbours: inside a crystal's small diamond wherever
            // its centre falls within the pixel (the corners beyond may touch its dark rim).
            EXPECT_GT(ring_share(img, m.x, m.y, 0, 1.0, k.looks), 0.5) << k.kind << " " << m.x << " " << m.y << "\n"
                                                                      << o.lines;
        }
        EXPECT_GE(judged, k.at_least) << k.kind << "\n" << o.lines;
    }
    // An opponent standing beyond the tor in the same direction pins its red mark onto the
    // crystals' on the rim and hides them whole; the colour is looked for when one is clear of it.
    const auto clear_of_opponents = [&](const Mark& c) {
        for (const Mark& m : o.radar_marks)
            if (m.kind == "opponent" && std::hypot(c.x - m.x, c.y - m.y) < 0.5 * (c.size + m.size) + 1) return false;
        return true;
    };
    const bool a_crystal_clear = std::any_of(o.radar_marks.begin(), o.radar_marks.end(),
                                             [&](const Mark& m) { return m.kind == "crystal" && clear_of_opponents(m); });
    if (a_crystal_clear)
        EXPECT_GE(ring_share(img, o.radar_x, o.radar_y, 0, o.radar_radius,
                             [](const unsigned char* p) { return overlay_tint(p) && !radar_red(p); }) *
                      M_PI * o.radar_radius * o.radar_radius,
                  4)
            << o.lines;
}

TEST(RaceView, WithNoCrystalInViewAnArrowAtTheEdgePointsToTheNearestAndXPutsTheRadarAway)
{
    // The follow camera behind the player, facing away from the tor and its crystals. X goes
    // down through the X server, briefly enough that it acts once, until the game says it did.
    GameRun run = run_race_view({}, "wait_for 'starting main loop' && sleep 1 && "
                                             "for i in $(seq 1 40); do grep -q 'radar off' \"$log\" && break; "
                                             "hold x 0.2; sleep 0.3; done");
    ASSERT_TRUE(ran_cleanly(run));
    const Image& img = run.screenshot;
    const OverlayLog o = read_overlay(run.log);
    EXPECT_TRUE(o.markers.empty()) << o.lines;
    ASSERT_TRUE(o.has_arrow) << o.lines;
    const Mark& a = o.arrow;
    // Wholly inside the window at its left, right or bottom edge (behind or below the view: never
    // up), pointing out over that edge.
    const double reach = 0.6 * a.size + 4, c = std::cos(o.arrow_angle * M_PI / 180), s = std::sin(o.arrow_angle * M_PI / 180);
    const bool left = std::fabs(a.x - reach) < 1, right = std::fabs(a.x - (o.w - reach)) < 1, bottom = std::fabs(a.y - reach) < 1;
    EXPECT_TRUE(left || right || bottom) << o.lines;
    EXPECT_TRUE((left && c < -0.5) || (right && c > 0.5) || (bottom && s < -0.5)) << o.lines;
    EXPECT_GT(ring_share(img, a.x, a.y, 0, 1.5, overlay_tint), 0.4) << o.lines;
    // Its distance beside it, on the window's side, in the same colour (strokes of small glyphs).
    const int x0 = int(a.x - c * a.size - 2 * a.size), y0 = row_of(img, a.y - s * a.size + a.size);
    const int x1 = int(a.x - c * a.size + 2 * a.size), y1 = row_of(img, a.y - s * a.size - a.size);
    EXPECT_GE(fraction_where(img, x0, y0, x1, y1, overlay_tint) * (x1 - x0) * (y1 - y0), 6) << o.lines;

    // The radar is away: no radar in the report, and none of its marks (the opponents at least
    // stand on its rim) in the top-right corner.
    EXPECT_EQ(count_of(run.log, "radar off"), 1) << run.log;
    EXPECT_FALSE(o.has_radar) << o.lines;
    EXPECT_EQ(fraction_where(img, img.width * 2 / 3, 0, img.width, img.height / 2,
                             [](const unsigned char* p) { return overlay_tint(p) || radar_red(p); }),
              0.0);
}
