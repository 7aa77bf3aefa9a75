#include "assets/til.h"

#include <stdexcept>
#include <string>

namespace vorn1 {

TileSet decode_til(const std::vector<uint8_t>& bytes, const Palette& pal) {
    if (bytes.size() < 6) throw std::runtime_error("TIL file too small");
    const uint64_t count = bytes[0] | bytes[1] << 8;
    const int w = bytes[2] | bytes[3] << 8;
    const int h = bytes[4] | bytes[5] << 8;
    TileSet set;
    if (count == 0) return set;
    if (w == 0 || h == 0) throw std::runtime_error("TIL tiles have zero size");
    const uint64_t per_tile = static_cast<uint64_t>(w) * h;
    if (6 + count * per_tile > bytes.size())
        throw std::runtime_error("TIL truncated: " + std::to_string(count) + " tiles of " + std::to_string(w) + "x" +
                                 std::to_string(h) + " need " + std::to_string(6 + count * per_tile) + " bytes, has " +
                                 std::to_string(bytes.size()));
    if (per_tile > static_cast<uint64_t>(kMaxImagePixels)) throw std::runtime_error("TIL tiles too large");
    set.width = w;
    set.height = h;
    set.tiles.reserve(count);
    const uint8_t* src = bytes.data() + 6;
    for (uint64_t t = 0; t < count; ++t) {
        Image img(w, h);
        for (uint64_t i = 0; i < per_tile; ++i) {
            const Color& c = pal[*src++];
            uint8_t* px = img.pixels.data() + i * 4;
            px[0] = c.r, px[1] = c.g, px[2] = c.b, px[3] = 255;
        }
        set.tiles.push_back(std::move(img));
    }
    return set;
}

}  // namespace vorn1
