// The palette reader and the palette remap on any bytes: a palette is made only from 768 bytes or
// more, each colour within the six-bit scale's range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "assets/palette.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorn1::Palette pal;
    try {
        pal = vorn1::load_palette(std::vector<uint8_t>(data, data + size));
    } catch (const std::runtime_error&) {
        if (size >= 768) std::abort();
        return 0;
    }
    if (size < 768) std::abort();
    for (int i = 0; i < 256; ++i) {
        const uint8_t want_r = data[3 * i] >= 64 ? 255 : static_cast<uint8_t>(data[3 * i] * 4);
        if (pal[i].r != want_r) std::abort();
    }
    // The input's tail doubles as a remap table.
    vorn1::PaletteRemap table;
    std::memcpy(table.data(), data + size - 256, 256);
    const vorn1::Palette out = vorn1::remap_palette(pal, table);
    for (int i = 0; i < 256; ++i)
        if (!(out[i] == pal[table[i]])) std::abort();
    return 0;
}
