// A run's log read as a player's session: the hover's lines of MOORHOLD_LOG_PLAYER, the
// steered frames of MOORHOLD_LOG_STEERING, the marks the player's script left
// (tests/e2e/play-input.sh), and every other line, each placed among the hover's lines.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

// One line of MOORHOLD_LOG_PLAYER: "player: <game seconds> <x> <y> <z> <heading> <speed>".
struct PlayerLine {
    double t = 0, x = 0, y = 0, z = 0, heading = 0, speed = 0;
};

// One line of MOORHOLD_LOG_STEERING: "steering: <game seconds> <physics step> <flags...>".
struct SteeringLine {
    double t = 0, step = 0;
    std::string flags;
};

// A line of the log and where it fell: the index of the first player and steering lines
// after it, and its own line number.
struct LogEntry {
    std::string text;
    size_t player_index = 0;
    size_t steering_index = 0;
    double seconds = 0; // the marks' wall time (seconds since the epoch); 0 for other lines
    size_t line_number = 0;
};

struct PlayLog {
    std::vector<PlayerLine> player;
    std::vector<SteeringLine> steering;
    std::vector<LogEntry> marks; // "input: NAME <seconds>" as NAME
    std::vector<LogEntry> lines; // every other line of the log

    explicit PlayLog(const std::string& log)
    {
        std::istringstream in(log);
        size_t number = 0;
        for (std::string line; std::getline(in, line); ++number) {
            std::istringstream words(line);
            std::string tag, name;
            words >> tag;
            PlayerLine p;
            SteeringLine st;
            double seconds = 0;
            if (tag == "player:" && words >> p.t >> p.x >> p.y >> p.z >> p.heading >> p.speed) {
                player.push_back(p);
            } else if (tag == "steering:" && words >> st.t >> st.step) {
                std::getline(words, st.flags);
                steering.push_back(st);
            } else if (tag == "input:" && words >> name >> seconds) {
                marks.push_back(LogEntry{name, player.size(), steering.size(), seconds, number});
            } else {
                lines.push_back(LogEntry{line, player.size(), steering.size(), 0, number});
            }
        }
    }

    const LogEntry* mark(const std::string& name) const
    {
        for (const LogEntry& m : marks)
            if (m.text == name) return &m;
        return nullptr;
    }

    // The last player line before the mark `name` (the hover as the key found it).
    const PlayerLine* before(const std::string& name) const
    {
        const LogEntry* m = mark(name);
        return m && m->player_index > 0 ? &player[m->player_index - 1] : nullptr;
    }

    // The seconds of physics in which `flag` was on, between the marks `from` and `to`.
    double steered(const std::string& flag, const std::string& from, const std::string& to) const
    {
        const LogEntry *a = mark(from), *b = mark(to);
        double seconds = 0;
        for (size_t i = a ? a->steering_index : 0; a && b && i < b->steering_index; ++i)
            if ((steering[i].flags + " ").find(" " + flag + " ") != std::string::npos) seconds += steering[i].step;
        return seconds;
    }

    // The `nth` (from 1) line that begins with `text`, or null.
    const LogEntry* line(const std::string& text, int nth = 1) const
    {
        for (const LogEntry& l : lines)
            if (l.text.rfind(text, 0) == 0 && --nth == 0) return &l;
        return nullptr;
    }

    // Lines beginning with `text` after the entry `from` and before `to`.
    int count(const std::string& text, const LogEntry& from, const LogEntry& to) const
    {
        int n = 0;
        for (const LogEntry& l : lines)
            if (l.line_number > from.line_number && l.line_number < to.line_number && l.text.rfind(text, 0) == 0) ++n;
        return n;
    }
};

// The horizontal distance between two lines.
inline double moved(const PlayerLine& a, const PlayerLine& b) { return std::hypot(b.x - a.x, b.z - a.z); }

// The hover drove more than five physics units (of 32 graphics units) from `a` to `b`, and
// within 20 degrees of its nose's line at `a`.
inline ::testing::AssertionResult drove_along_its_nose(const PlayerLine& a, const PlayerLine& b)
{
    const double distance = moved(a, b), nose = a.heading * M_PI / 180.0;
    const double along = ((b.x - a.x) * std::cos(nose) - (b.z - a.z) * std::sin(nose)) / distance;
    if (distance > 5 * 32.0 && along > std::cos(20 * M_PI / 180.0)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << distance << " units, " << std::acos(std::min(1.0, along)) * 180 / M_PI
                                         << " degrees off its nose's line";
}

// The heading turned from line `from` to line `to` of one list, through every line between
// (degrees, a left turn positive).
inline double turned(const PlayerLine* from, const PlayerLine* to)
{
    double total = 0;
    for (const PlayerLine* p = from; p < to; ++p) total += std::remainder(p[1].heading - p[0].heading, 360.0);
    return total;
}
