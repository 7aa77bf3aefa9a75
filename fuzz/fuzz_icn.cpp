#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "assets/icn.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vorn1::Palette pal{};
    vorn1::MonoMode mono;
    mono.frames = {1};
    try {
        vorn1::IcnFrames f = vorn1::decode_icn(std::vector<uint8_t>(data, data + size), pal, mono);
        if (f.frames.size() != f.headers.size()) __builtin_trap();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
