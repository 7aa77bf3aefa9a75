#include "assets/image.h"

namespace vorn1 {

Image::Image(int32_t w, int32_t h) {
    if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > kMaxImagePixels) return;
    width = w;
    height = h;
    pixels.assign(static_cast<std::size_t>(w) * h * 4, 0);
}

}  // namespace vorn1
