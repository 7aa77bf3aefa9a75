#include <cstddef>
#include <cstdint>
#include <vector>

#include "battle/battle_scenery.h"

// First byte picks the reader: even a sky picture, odd a tile or obstacle set.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::vector<uint8_t> bytes(data + 1, data + size);
    vorn1::Palette pal{};
    if (data[0] % 2 == 0) {
        const vorn1::Image img = vorn1::decode_bkg(bytes, pal);
        if (img.pixels.size() != static_cast<size_t>(img.width) * img.height * 4) __builtin_trap();
        return 0;
    }
    for (const vorn1::XtlImage& f : vorn1::decode_xtl(bytes, pal))
        if (f.img.pixels.size() != static_cast<size_t>(f.img.width) * f.img.height * 4) __builtin_trap();
    return 0;
}
