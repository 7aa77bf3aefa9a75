#include "assets/palette.h"

#include <algorithm>
#include <stdexcept>

namespace vorn1 {

Palette load_palette(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 768) throw std::runtime_error("palette too small: " + std::to_string(bytes.size()) + " bytes, need 768");
    Palette pal{};
    for (int i = 0; i < 256; ++i) {
        auto scale = [&](int k) { return static_cast<uint8_t>(std::min(255, bytes[i * 3 + k] * 4)); };
        pal[i] = Color{scale(0), scale(1), scale(2)};
    }
    return pal;
}

Palette remap_palette(const Palette& pal, const std::optional<PaletteRemap>& table) {
    if (!table) return pal;
    Palette out{};
    for (int i = 0; i < 256; ++i) out[i] = pal[(*table)[i]];
    return out;
}

}  // namespace vorn1
