#pragma once
#include <cstdint>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"

namespace vorn1 {

// u16 magic 0x0021, u16 width, u16 height, then width*height palette indexes. Opaque.
// Throws std::runtime_error on bad input.
Image decode_bmp(const std::vector<uint8_t>& bytes, const Palette& pal);

}  // namespace vorn1
