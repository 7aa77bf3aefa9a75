#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorn1 {

// An RGBA picture, 4 bytes a pixel in the order R, G, B, A, row after row.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;

    Image() = default;
    Image(int32_t w, int32_t h);  // zero-filled (fully transparent); negative sizes give an empty image

    bool empty() const { return width <= 0 || height <= 0; }
    uint8_t* at(int32_t x, int32_t y) { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
    const uint8_t* at(int32_t x, int32_t y) const { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

// Largest picture any decoder will allocate (in pixels); guards against hostile sizes.
constexpr int64_t kMaxImagePixels = 16 * 1024 * 1024;

}  // namespace vorn1
