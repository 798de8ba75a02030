#include "Common/Screenshot.h"

#include <GL/glew.h>
#include <stb_image_write.h>

#include <cstdio>
#include <vector>

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
    bool ok = stbi_write_png(path, width, height, 3, pixels.data(), width * 3) != 0;
    if (ok)
        std::printf("screenshot written to %s\n", path);
    else
        std::fprintf(stderr, "could not write screenshot %s\n", path);
    return ok;
}
