// The camera path through the file loader and the keyframe parser: one keyframe per started
// group of 13 numbers.
#include "Common/Camera.h"
#include "Common/ParameterFile.h"
#include "FuzzFile.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TextFile file(fuzz_file("camera_path.txt", data, size).c_str());
    std::list<CameraKeyframe> frames = parse_camera_path(file.text);
    size_t tokens = 0;
    const char* separators = " \t\n\r\v";
    for (const char* p = file.text; *p;) {
        p += std::strspn(p, separators);
        if (!*p) break;
        ++tokens;
        p += std::strcspn(p, separators);
    }
    require(frames.size() == (tokens + 12) / 13);
    return 0;
}
