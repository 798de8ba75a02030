#include "Common/Screenshot.h"

#include "Common/Platform.h"

#include <GL/glew.h>
#include <stb_image_write.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct PngSink {
    FILE* file;
    bool failed;
};

void append_to_file(void* context, void* data, int size)
{
    PngSink& sink = *static_cast<PngSink*>(context);
    if (size > 0 && std::fwrite(data, 1, static_cast<size_t>(size), sink.file) != static_cast<size_t>(size))
        sink.failed = true;
}

// The PNG written under a temporary name and renamed into place: whatever stands at the
// name (a link, a pipe) is replaced, never written through or waited on.
bool write_png_file(const char* path, int width, int height, const unsigned char* rgb)
{
    const std::string native = native_path(path);
    std::string temporary;
    FILE* f = create_temporary_beside(native, temporary);
    if (!f) return false;
    PngSink sink{f, false};
    bool ok = stbi_write_png_to_func(append_to_file, &sink, width, height, 3, rgb, width * 3) != 0 && !sink.failed;
    ok = std::fclose(f) == 0 && ok;
    if (ok && replace_file(temporary, native)) return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace

bool write_screenshot(const char* path, int width, int height)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // GL rows run bottom-up, PNG rows top-down.
    stbi_flip_vertically_on_write(1);
    bool ok = write_png_file(path, width, height, pixels.data());
    if (ok)
        std::printf("screenshot written to %s\n", path);
    else
        std::fprintf(stderr, "could not write screenshot %s\n", path);
    return ok;
}
