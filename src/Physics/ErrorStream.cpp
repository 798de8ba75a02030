#include "Physics/ErrorStream.h"

#include <cstdio>

const char* error_code_name(int code)
{
    switch (code) {
    case NXE_INVALID_PARAMETER: return "invalid parameter";
    case NXE_INVALID_OPERATION: return "invalid operation";
    case NXE_OUT_OF_MEMORY: return "out of memory";
    case NXE_DB_INFO: return "info";
    case NXE_DB_WARNING: return "warning";
    default: return "unknown error";
    }
}

void ErrorStream::reportError(NxErrorCode code, const char* message, const char* file, int line)
{
    std::printf("%s (%d) :", file ? file : "unknown", line);
    std::printf("%s", error_code_name(code));
    std::printf(" : %s\n", message ? message : "");
}

NxAssertResponse ErrorStream::reportAssertViolation(const char* message, const char* file, int line)
{
    std::printf("access violation : %s (%s line %d)\n", message ? message : "", file ? file : "unknown", line);
    // No dialog exists here: its text goes to standard error and the answer is "continue".
    std::fprintf(stderr, "AssertViolation, see console for details.\n%s\n", message ? message : "");
    return NX_AR_CONTINUE;
}

void ErrorStream::print(const char* message)
{
    std::fputs(message ? message : "", stdout);
}
