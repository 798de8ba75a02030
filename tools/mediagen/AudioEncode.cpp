#include <algorithm>
#include <cmath>
#include <cstring>

#include <vorbis/vorbisenc.h>

#include "Sounds.h"

namespace {

void put_u32(std::vector<uint8_t>& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}
void put_u16(std::vector<uint8_t>& b, uint16_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put_tag(std::vector<uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

int16_t to_pcm(float x) { return int16_t(std::lround(std::clamp(x, -1.0f, 1.0f) * 32767.0f)); }

void append_page(std::vector<uint8_t>& out, const ogg_page& og)
{
    out.insert(out.end(), og.header, og.header + og.header_len);
    out.insert(out.end(), og.body, og.body + og.body_len);
}

} // namespace

std::vector<uint8_t> encode_wav(const Mix& m, bool stereo)
{
    const uint16_t channels = stereo ? 2 : 1;
    const uint32_t data = uint32_t(m.frames() * channels * 2);
    std::vector<uint8_t> b;
    put_tag(b, "RIFF");
    put_u32(b, 36 + data);
    put_tag(b, "WAVE");
    put_tag(b, "fmt ");
    put_u32(b, 16);
    put_u16(b, 1); // PCM
    put_u16(b, channels);
    put_u32(b, kSampleRate);
    put_u32(b, kSampleRate * channels * 2);
    put_u16(b, uint16_t(channels * 2));
    put_u16(b, 16);
    put_tag(b, "data");
    put_u32(b, data);
    for (size_t i = 0; i < m.frames(); ++i) {
        put_u16(b, uint16_t(to_pcm(m.left[i])));
        if (stereo)
            put_u16(b, uint16_t(to_pcm(m.right[i])));
    }
    return b;
}

std::vector<uint8_t> encode_ogg(const Mix& m, float quality)
{
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, kSampleRate, quality) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "ARTIST", "Moorhold");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x4D4F4F52); // fixed serial number: the same file on every run

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page og;
    while (ogg_stream_flush(&os, &og) != 0)
        append_page(out, og);

    auto drain = [&]() {
        ogg_packet op;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0)
                    append_page(out, og);
            }
        }
    };
    const size_t chunk = 4096;
    for (size_t i = 0; i < m.frames(); i += chunk) {
        size_t n = std::min(chunk, m.frames() - i);
        float** buf = vorbis_analysis_buffer(&vd, int(n));
        std::memcpy(buf[0], &m.left[i], n * sizeof(float));
        std::memcpy(buf[1], &m.right[i], n * sizeof(float));
        vorbis_analysis_wrote(&vd, int(n));
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);
    drain();
    while (ogg_stream_flush(&os, &og) != 0)
        append_page(out, og);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}
