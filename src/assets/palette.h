#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorn1 {

struct Color {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Color&) const = default;
};
using Palette = std::array<Color, 256>;
using PaletteRemap = std::array<uint8_t, 256>;

// Archive palettes hold 256 six-bit RGB triples; each byte is multiplied by 4 and capped at 255.
// Throws std::runtime_error for fewer than 768 bytes; extra bytes are ignored.
Palette load_palette(const std::vector<uint8_t>& bytes);

// Entry i of the result is entry table[i] of the input; an unchanged copy without a table.
Palette remap_palette(const Palette& pal, const std::optional<PaletteRemap>& table);

}  // namespace vorn1
