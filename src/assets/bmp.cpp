#include "assets/bmp.h"

#include <stdexcept>
#include <string>

namespace vorn1 {

Image decode_bmp(const std::vector<uint8_t>& bytes, const Palette& pal) {
    if (bytes.size() < 6) throw std::runtime_error("BMP file too small");
    const int magic = bytes[0] | bytes[1] << 8;
    const int w = bytes[2] | bytes[3] << 8;
    const int h = bytes[4] | bytes[5] << 8;
    if (magic != 0x0021) throw std::runtime_error("BMP bad magic " + std::to_string(magic));
    if (w == 0 || h == 0) throw std::runtime_error("BMP has zero size");
    const uint64_t n = static_cast<uint64_t>(w) * h;
    if (6 + n > bytes.size())
        throw std::runtime_error("BMP truncated: " + std::to_string(w) + "x" + std::to_string(h) + " needs " +
                                 std::to_string(6 + n) + " bytes, has " + std::to_string(bytes.size()));
    Image img(w, h);
    if (img.empty()) throw std::runtime_error("BMP too large");
    for (uint64_t i = 0; i < n; ++i) {
        const Color& c = pal[bytes[6 + i]];
        uint8_t* px = img.pixels.data() + i * 4;
        px[0] = c.r, px[1] = c.g, px[2] = c.b, px[3] = 255;
    }
    return img;
}

}  // namespace vorn1
