// Where the physics engine's errors, assertion violations and messages go.
#pragma once

#include "Physics/NxPhysics.h"

// The name printed for an error code: 1 "invalid parameter", 2 "invalid operation",
// 3 "out of memory", 205 "info", 206 "warning", any other "unknown error".
const char* error_code_name(int code);

class ErrorStream : public NxUserOutputStream {
public:
    void reportError(NxErrorCode code, const char* message, const char* file, int line) override;
    // Prints the violation and, with no dialog to ask, answers "continue".
    NxAssertResponse reportAssertViolation(const char* message, const char* file, int line) override;
    void print(const char* message) override;
};
