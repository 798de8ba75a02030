// The game's music and sound effects: two background tracks (a brassy mariachi romp and a
// cool piano jazz tune) and the three effects, synthesised and encoded as Ogg Vorbis and
// 16-bit PCM WAV.
#pragma once

#include <cstdint>
#include <vector>

#include "Synth.h"

Mix compose_tijuana();
Mix compose_peanuts();

Mix make_bling();  // pick-up chime
Mix make_walum();  // vanishing sweep
Mix make_yipiee(); // cheer

// 16-bit PCM WAV of the left channel (mono) or both channels.
std::vector<uint8_t> encode_wav(const Mix& m, bool stereo);
// Ogg Vorbis (variable bit rate at `quality`, fixed stream serial number).
std::vector<uint8_t> encode_ogg(const Mix& m, float quality);
