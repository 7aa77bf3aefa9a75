#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"

namespace vorn1 {

// A run of palette entries whose colours rotate (water, fire, sky).
struct CycleRange {
    int first = 0;
    int count = 0;
};

// The animated runs of the game palette; every cycle rotates these.
inline constexpr CycleRange kPaletteCycleRanges[] = {{214, 4}, {218, 4}, {231, 7}, {238, 4}};

// Phase of a cycle at an absolute millisecond count.
inline uint32_t cycle_phase(uint32_t ms, uint32_t period_ms) { return period_ms ? ms / period_ms : 0; }

// The palette at a phase: within each run, entry first + k takes the colour of entry
// first + (k + phase) mod count. Runs outside 0..255 are ignored.
Palette cycle_palette(const Palette& pal, std::span<const CycleRange> ranges, uint32_t phase);

// True when the entry lies in one of the runs.
bool in_cycle(int index, std::span<const CycleRange> ranges);

// The pixels of an RGBA picture that show a cycling entry, found by exact colour match.
// A colour that some fixed entry also has stays fixed; transparent pixels are never cycled.
struct CyclePixels {
    std::vector<uint32_t> offsets;  // pixel index (y * width + x)
    std::vector<uint8_t> indices;   // the palette entry each one shows
    bool empty() const { return offsets.empty(); }
};
CyclePixels find_cycle_pixels(const Image& img, const Palette& pal, std::span<const CycleRange> ranges);

// Writes the cycled colours into the listed pixels (alpha untouched).
void recolour(Image& img, const CyclePixels& px, const Palette& cycled);

}  // namespace vorn1
