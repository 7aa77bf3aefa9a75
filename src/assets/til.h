#pragma once
#include <cstdint>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"

namespace vorn1 {

struct TileSet {
    int width = 0;
    int height = 0;
    std::vector<Image> tiles;
};

// Throws std::runtime_error on malformed input.
TileSet decode_til(const std::vector<uint8_t>& bytes, const Palette& pal);

}  // namespace vorn1
