#include "Sounds.h"

#include <cstdio>
#include <future>

#include "Generators.h"
#include "Output.h"

bool generate_sounds(Output& out)
{
    const int failures_before = out.failures;
    // the two tracks are independent: compose and encode them side by side
    auto second = std::async(std::launch::async, [] { return encode_ogg(compose_peanuts(), 0.4f); });
    std::vector<uint8_t> tijuana = encode_ogg(compose_tijuana(), 0.4f);
    std::vector<uint8_t> peanuts = second.get();
    if (tijuana.empty() || peanuts.empty())
        out.fail("the Vorbis encoder could not be set up");
    else {
        out.write("media/sound/tijuana.ogg", tijuana);
        out.write("media/sound/Peanuts.ogg", peanuts);
    }
    out.write("media/sound/bling.wav", encode_wav(make_bling(), false));
    out.write("media/sound/walum.wav", encode_wav(make_walum(), false));
    out.write("media/sound/yipiee.wav", encode_wav(make_yipiee(), false));
    return out.failures == failures_before;
}
