#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/image.h"

namespace vorn1 {

// Throws std::runtime_error with a message starting "decode_png: " on bad input.
Image decode_png(const std::vector<uint8_t>& bytes);
// Reads the file and decodes it; throws on a missing file as on bad data.
Image load_png_file(const std::string& path);
// RGBA, 8 bits a channel, non-interlaced.
std::vector<uint8_t> encode_png(const Image& img);

}  // namespace vorn1
