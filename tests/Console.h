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
    Printed p;
    p.out = testing::internal::GetCapturedStdout();
    p.err = testing::internal::GetCapturedStderr();
    return p;
}
