#include "Common/TestSeams.h"

#include <cstdlib>
#include <cstring>

TestSeams test_seams;

bool parse_numbers(const char* text, double* out, int n)
{
    if (!text) return false;
    const char* p = text;
    for (int i = 0; i < n; ++i) {
        while (*p == ' ' || *p == '\t' || *p == ',') ++p;
        char* end = nullptr;
        out[i] = std::strtod(p, &end);
        if (end == p) return false;
        p = end;
    }
    while (*p == ' ' || *p == '\t' || *p == ',') ++p;
    return *p == 0;
}

bool parse_eye_pose(const char* text, EyePose& out)
{
    double v[5];
    if (!parse_numbers(text, v, 5)) return false;
    out = {v[0], v[1], v[2], v[3], v[4]};
    return true;
}

std::vector<std::string> parse_toggle_list(const char* text)
{
    std::vector<std::string> names;
    if (!text) return names;
    std::string current;
    for (const char* p = text;; ++p) {
        if (*p == ',' || *p == '\0') {
            if (!current.empty()) names.push_back(current);
            current.clear();
            if (!*p) break;
        } else if (*p != ' ' && *p != '\t') {
            current += *p;
        }
    }
    return names;
}

void read_test_seams()
{
    if (const char* v = std::getenv("MOORHOLD_FRAMES")) {
        char* end = nullptr;
        long n = std::strtol(v, &end, 10);
        if (end != v && n >= 0) test_seams.frames = n;
    }
    if (const char* v = std::getenv("MOORHOLD_SCREENSHOT")) test_seams.screenshot = v;
    if (const char* v = std::getenv("MOORHOLD_AUTOPILOT")) {
        test_seams.autopilot = v[0] == '1';
        test_seams.human_pilot = std::strcmp(v, "human") == 0;
    }
    if (const char* v = std::getenv("MOORHOLD_LOG_SCORES")) test_seams.log_scores = v[0] == '1';
    if (const char* v = std::getenv("MOORHOLD_LOG_PLAYER")) test_seams.log_player = v[0] == '1';
    if (const char* v = std::getenv("MOORHOLD_LOG_STEERING")) test_seams.log_steering = v[0] == '1';
    if (const char* v = std::getenv("MOORHOLD_FRAME_TIMES")) test_seams.frame_times = v[0] == '1';
    if (const char* v = std::getenv("MOORHOLD_EYE")) test_seams.has_eye = parse_eye_pose(v, test_seams.eye);
    if (const char* v = std::getenv("MOORHOLD_PLAYER_START"))
        test_seams.has_player_start = parse_numbers(v, test_seams.player_start, 3);
    if (const char* v = std::getenv("MOORHOLD_CLOCK_OFFSET")) {
        char* end = nullptr;
        double s = std::strtod(v, &end);
        if (end != v) test_seams.clock_offset = s;
    }
    if (const char* v = std::getenv("MOORHOLD_MEMORY_EVERY")) test_seams.memory_every = std::strtol(v, nullptr, 10);
    if (const char* v = std::getenv("MOORHOLD_PASS_TIMING")) test_seams.pass_timing = v[0] == '1';
    if (const char* v = std::getenv("MOORHOLD_TOGGLE")) test_seams.toggles = parse_toggle_list(v);
    if (const char* v = std::getenv("MOORHOLD_LOG_OVERLAY")) test_seams.log_overlay = v[0] == '1';
}
