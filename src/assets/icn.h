#pragma once
#include <cstdint>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"

namespace vorn1 {

struct SpriteHeader {
    int16_t x = 0;
    int16_t y = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t type = 0;
    uint32_t offset = 0;
};

// Frames painted black: every frame, listed frames, or every frame from `start` on.
struct MonoMode {
    bool all = false;
    std::vector<int> frames;
    uint32_t start = 0xFFFFFFFFu;
    bool selects(int frame) const;
};

struct IcnFrames {
    std::vector<SpriteHeader> headers;
    std::vector<Image> frames;  // one per header; empty for frames of width or height 0
};

// Throws std::runtime_error ("ICN file too small", ...) on malformed input.
IcnFrames decode_icn(const std::vector<uint8_t>& bytes, const Palette& pal, const MonoMode& mono = {});

}  // namespace vorn1
