#include "Gfx/ImageFile.h"

#include "Common/Platform.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <strings.h>
#include <new>
#include <string>

namespace {

class SurfaceLock {
public:
    explicit SurfaceLock(SDL_Surface* s) : surface(s)
    {
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    }
    ~SurfaceLock()
    {
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    }

private:
    SDL_Surface* surface;
};

// Valid while the surface is locked.
ImageRows rows_of(const SDL_Surface* s)
{
    ImageRows r;
    r.pixels = static_cast<const unsigned char*>(s->pixels);
    r.width = s->w;
    r.height = s->h;
    r.pitch = s->pitch;
    r.bits_per_pixel = s->format ? s->format->BitsPerPixel : 0;
    r.bytes_per_pixel = s->format ? s->format->BytesPerPixel : 0;
    return r;
}

bool ends_with(const char* path, const char* ending)
{
    const size_t n = std::strlen(path), k = std::strlen(ending);
    return n >= k && strcasecmp(path + n - k, ending) == 0;
}

// The decoders are handed only regular files whose header promises a picture the file can
// hold (a pipe or a device would hold them up for ever); a file that is not there is left
// to them, so that it fails with their own words.
bool header_plausible(const std::string& native)
{
    if (names_a_non_regular_file(native)) return false;
    FILE* f = open_file(native.c_str(), "rb");
    if (!f) return true;
    static unsigned char head[65536];
    const size_t n = std::fread(head, 1, sizeof head, f);
    long long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    std::fclose(f);
    return size < 0 || image_header_plausible(head, n, size, ends_with(native.c_str(), ".tga"));
}

SDL_Surface* load_any(const char* path)
{
    const std::string native = native_path(path);
    return header_plausible(native) ? IMG_Load(native.c_str()) : nullptr;
}

SDL_Surface* load_bmp(const char* path)
{
    const std::string native = native_path(path);
    if (!header_plausible(native)) return nullptr;
    SDL_RWops* stream = SDL_RWFromFile(native.c_str(), "rb");
    return stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
}

// The pattern's first "%d" replaced by `number`; the pattern itself is never used as a
// format string.
std::string slice_name(const char* pattern, int number)
{
    std::string name(pattern);
    size_t at = name.find("%d");
    if (at != std::string::npos) name.replace(at, 2, std::to_string(number));
    return name;
}

bool ends_with_bmp(const char* path)
{
    size_t n = std::strlen(path);
    return n >= 4 && (std::strcmp(path + n - 4, ".bmp") == 0 || std::strcmp(path + n - 4, ".BMP") == 0);
}

void print_allocation_failure(double bytes)
{
    std::fprintf(stderr, "failed to allocate %f MB for the 3D texture!\n", bytes / 1048576.0);
}

void print_load_failure(const char* path) { std::fprintf(stderr, "failed to load %s\n", path); }

} // namespace

unsigned char* decode_rgba(const char* path, int& w, int& h)
{
    std::printf("loading texture %s\n", path);
    SDL_Surface* surface = load_any(path);
    if (!surface) {
        print_load_failure(path);
        return nullptr;
    }
    unsigned char* buffer = nullptr;
    {
        SurfaceLock lock(surface);
        const ImageRows rows = rows_of(surface);
        if (!rows_readable(rows)) {
            print_load_failure(path);
        } else {
            const size_t texels = static_cast<size_t>(rows.width) * rows.height;
            // Zeroed, so an unsupported depth gives a blank image instead of stale memory.
            buffer = new (std::nothrow) unsigned char[texels * 4]();
            if (!buffer) {
                print_allocation_failure(static_cast<double>(texels));
            } else {
                w = rows.width;
                h = rows.height;
                if (!convert_to_rgba(rows.pixels, rows.width, rows.height, rows.pitch, rows.bytes_per_pixel,
                                     stores_bgr(path), buffer))
                    std::fprintf(stderr, "unsupported image-format!");
            }
        }
    }
    SDL_FreeSurface(surface);
    return buffer;
}

bool decode_cube_strip(const char* path, CubeStrip& out)
{
    std::printf("\n\tloading cubemap from %s\n", path);
    SDL_Surface* surface = load_any(path);
    if (!surface) {
        print_load_failure(path);
        return false;
    }
    bool ok = true;
    {
        SurfaceLock lock(surface);
        const ImageRows rows = rows_of(surface);
        out.face = cube_face_size(rows.width, rows.height);
        out.bytes_per_pixel = rows.bytes_per_pixel;
        std::printf("_texW=%d, _texH=%d\n", out.face.w, out.face.h);
        const int bpp = rows.bytes_per_pixel;
        if (!rows_readable(rows) || out.face.w <= 0) {
            print_load_failure(path);
            ok = false;
        } else if (bpp != 1 && bpp != 3 && bpp != 4) {
            std::fprintf(stderr, "unsupported image-format!");
        } else {
            for (int i = 0; i < 6; ++i) out.faces[i] = cut_cube_face(rows.pixels, rows.pitch, bpp, out.face, i);
        }
    }
    SDL_FreeSurface(surface);
    return ok;
}

bool decode_wave_volume(const char* pattern, int slice_count, HeightVolume& volume)
{
    const bool is_bmp = ends_with_bmp(pattern);
    std::printf("is_BMP = %d\n", is_bmp ? 1 : 0);
    bool sized = false;
    for (int s = 1; s <= slice_count; ++s) {
        std::string name = slice_name(pattern, s);
        SDL_Surface* surface = is_bmp ? load_bmp(name.c_str()) : load_any(name.c_str());
        if (!surface) {
            print_load_failure(name.c_str());
            continue;
        }
        bool out_of_memory = false;
        {
            SurfaceLock lock(surface);
            const ImageRows rows = rows_of(surface);
            // A slice whose rows cannot be read is no more use than one that does not load,
            // and must not size the volume either.
            if (!rows_readable(rows)) {
                print_load_failure(name.c_str());
            } else {
                if (!sized) {
                    // The first slice that loads sets the size; a missing one leaves zeros.
                    volume.w = rows.width;
                    volume.h = rows.height;
                    volume.d = slice_count;
                    std::printf("3D image will be %d x %d x %d\n", volume.w, volume.h, slice_count);
                    const size_t bytes = static_cast<size_t>(volume.w) * volume.h * slice_count;
                    try {
                        volume.heights.assign(bytes, 0);
                        sized = true;
                    } catch (const std::bad_alloc&) {
                        print_allocation_failure(static_cast<double>(bytes));
                        out_of_memory = true;
                    }
                }
                if (sized && (rows.width != volume.w || rows.height != volume.h))
                    std::printf("the dimensions of slice %d are not the same as the dimensions of the first "
                                "slice(s)\n", s);
                else if (sized && (rows.bits_per_pixel != 8 || !copy_wave_slice(rows, volume, s - 1)))
                    std::printf("please use 8 bit per pixel images only!\n");
            }
        }
        SDL_FreeSurface(surface);
        if (out_of_memory) {
            volume = HeightVolume();
            return false;
        }
    }
    return sized;
}
