#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "assets/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vorn1::Palette pal{};
    try {
        vorn1::decode_bmp(std::vector<uint8_t>(data, data + size), pal);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
