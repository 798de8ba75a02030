// Encoding images into the files the game loads: JPEG and PNG through stb_image_write,
// and palettised 8-bit grey BMP (which SDL_LoadBMP keeps at 8 bits per pixel).
#pragma once

#include "Image.h"

#include <cstdint>
#include <string>
#include <vector>

class Output;

std::vector<uint8_t> encode_jpg(const Image& img, int quality = 92);
std::vector<uint8_t> encode_png(const Image& img);
// `img` must have one channel; written bottom-up with a 256-entry grey palette.
std::vector<uint8_t> encode_bmp8(const Image& img);

// Encode and write to the game directory; false (and a recorded failure) on any error.
bool write_jpg(Output& out, const std::string& rel, const Image& img, int quality = 92);
bool write_png(Output& out, const std::string& rel, const Image& img);
bool write_bmp8(Output& out, const std::string& rel, const Image& img);
