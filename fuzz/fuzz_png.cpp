#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "assets/png_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        vorn1::Image img = vorn1::decode_png(std::vector<uint8_t>(data, data + size));
        if (img.pixels.size() != static_cast<size_t>(img.width) * img.height * 4) __builtin_trap();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
