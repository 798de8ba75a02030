// Every slice of a two-slice wave animation; a volume that loads is encoded and mipmapped as
// the texture's levels are.
#include "FuzzFile.h"
#include "Gfx/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_file("hm_1_von_16.bmp", data, size);
    fuzz_file("hm_2_von_16.bmp", data, size);
    HeightVolume volume;
    if (!decode_wave_volume((fuzz_dir() + "/hm_%d_von_16.bmp").c_str(), 2, volume)) return 0;
    require(volume.w > 0 && volume.h > 0 && volume.d == 2);
    require(volume.heights.size() == size_t(volume.w) * volume.h * 2);
    // The texture's chain, kept small: large volumes cost time, not coverage.
    if (size_t(volume.w) * volume.h > 1u << 16) return 0;
    for (int level = 0; level <= 4; ++level) {
        if (level > 0) volume = downsample_volume(volume);
        int lo = 0, hi = 0;
        std::vector<unsigned char> rgb = encode_gradients(volume, 1 << level, &lo, &hi);
        require(rgb.size() == size_t(volume.w) * volume.h * volume.d * 3);
        require(lo <= hi);
    }
    return 0;
}
