// What the code under test prints: standard output and standard error of `f`, kept apart.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct Printed {
    std::string out, err;
};

template <class F>
Printed printed(F&& f)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f();
    std::string out = testing::internal::GetCapturedStdout();
    return {out, testing::internal::GetCapturedStderr()};
}
