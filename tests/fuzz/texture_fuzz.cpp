// A texture's texels and the sky's cube strip through SDL_image. The first byte picks the
// name's ending: SDL_image knows a TGA only by its name, and it decides the byte order.
#include "FuzzFile.h"
#include "Gfx/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    static const char* const endings[4] = {".jpg", ".png", ".bmp", ".tga"};
    const std::string path = fuzz_file(std::string("image") + endings[data[0] & 3], data + 1, size - 1);
    int w = 0, h = 0;
    unsigned char* texels = decode_rgba(path.c_str(), w, h);
    if (texels) {
        require(w > 0 && h > 0);
        // Every texel was written or zeroed: reading them all must stay inside the buffer.
        unsigned sum = 0;
        for (size_t i = 0; i < size_t(w) * h * 4; ++i) sum += texels[i];
        (void)sum;
        delete[] texels;
    }
    CubeStrip strip;
    if (decode_cube_strip(path.c_str(), strip))
        for (const auto& face : strip.faces)
            require(face.empty() || face.size() == size_t(strip.face.w) * strip.face.h * strip.bytes_per_pixel);
    return 0;
}
